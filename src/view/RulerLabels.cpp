#include "view/RulerLabels.h"

#include <algorithm>

namespace tessel {
namespace {

// Room left between two labels along the strip.
constexpr int kLabelGap = 2;

}  // namespace

LabelPlacer::LabelPlacer(Surface& strip, Qt::Orientation orientation, const RulerRoom& room,
                         int markDepth)
    : strip_(strip), across_(orientation == Qt::Horizontal), room_(room), markDepth_(markDepth) {}

void LabelPlacer::print(QPoint at, int markAt, const QString& text) {
    const QSize size = strip_.measure(text);
    // Along and across the strip, whatever its orientation.
    const int length = across_ ? size.width() : size.height();
    const int thickness = across_ ? size.height() : size.width();
    int along = across_ ? at.x() : at.y();
    int beside = across_ ? at.y() : at.x();
    const int stripLength = across_ ? strip_.width() : strip_.height();
    const int depth = across_ ? strip_.height() : strip_.width();

    // A label whose mark the strip does not show is left out.
    if (markAt < 0 || markAt >= stripLength || markAt > room_.end) return;
    if (beside + thickness > depth) beside = depth - thickness;
    if (beside < markDepth_) return;

    int low = std::max(0, room_.begin);
    int high = std::min(stripLength, room_.end);
    // A covered part of the strip, where it lies across the label's band, closes the room on
    // the side of it away from the mark.
    const QRect& covered = room_.covered;
    if (!covered.isEmpty()) {
        const int coveredFrom = across_ ? covered.top() : covered.left();
        const int coveredTo = across_ ? covered.bottom() : covered.right();
        if (coveredFrom < beside + thickness && coveredTo >= beside) {
            const int start = across_ ? covered.left() : covered.top();
            const int end = across_ ? covered.right() : covered.bottom();
            if (markAt < start) {
                high = std::min(high, start);
            } else if (markAt > end) {
                low = std::max(low, end + 1);
            } else {
                return;
            }
        }
    }
    along = std::min(along, high - length);
    along = std::max(along, low);
    if (along + length > high) return;
    // Still next to its own mark.
    if (markAt < along - 1 || markAt > along + length) return;
    if (!labels_.empty()) {
        const QRect& previous = labels_.back().box;
        const int previousEnd = across_ ? previous.right() : previous.bottom();
        if (along <= previousEnd + kLabelGap) return;
    }

    strip_.moveTo(across_ ? along : beside, across_ ? beside : along);
    strip_.print(text);
    labels_.push_back({text, across_ ? QRect(along, beside, length, thickness)
                                     : QRect(beside, along, thickness, length)});
}

}  // namespace tessel
