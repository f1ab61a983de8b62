#include "app/ViewCache.h"

#include <algorithm>

#include "app/UndoHistory.h"

namespace tessel {
namespace {

// The level of the mipmap to reduce from for a zoom below 1, and the scale left from there.
// A view pixel averages at least four by four pixels of that level: the level's pixels that the
// edge of a view pixel's area cuts through then weigh little, and the view stays as sharp as an
// average of the picture itself (from two by two on, it turned visibly softer).
std::pair<int, double> sourceFor(Zoom zoom) {
    const double shrink = double(zoom.den) / zoom.num;
    int k = 0;
    while (k < Mipmap::kLevels && double(8 << k) <= shrink) ++k;
    return {k, shrink / double(1 << k)};
}

}  // namespace

void ViewCache::clear() {
    mipmap_.clear();
    steps_.clear();
    at_ = 0;
    appliedWrites_ = 0;
    size_ = QSize();
    reduced_ = QImage();
    reducedZoom_ = Zoom{};
}

QRect ViewCache::sync(const UndoHistory& history) {
    if (!history.hasPicture()) {
        const bool had = !size_.isEmpty();
        clear();
        return had ? QRect(QPoint(0, 0), QSize(1, 1)) : QRect();
    }
    const Surface& current = history.current();
    const QImage& picture = current.image();
    const std::uint64_t state = history.stateId();
    const QRect dirty = current.dirtyRect();
    const std::uint64_t writes = current.writes();

    if (picture.size() != size_ || steps_.empty()) {
        rebuild(picture);
        steps_.push_back({state, dirty});
        at_ = 0;
        appliedWrites_ = writes;
        return picture.rect();
    }
    if (state == steps_[at_].state) {
        // The same level, perhaps drawn on since the last look, the same place included.
        if (writes == appliedWrites_ || dirty.isEmpty()) return QRect();
        steps_[at_].area |= dirty;
        appliedWrites_ = writes;
        changed(picture, dirty);
        return dirty;
    }
    // Another state seen before: the areas of the steps in between changed.
    const auto seen = std::find_if(steps_.begin(), steps_.end(),
                                   [state](const Step& s) { return s.state == state; });
    if (seen != steps_.end()) {
        const std::size_t to = std::size_t(seen - steps_.begin());
        QRect area;
        for (std::size_t i = std::min(at_, to) + 1; i <= std::max(at_, to); ++i) {
            area |= steps_[i].area;
        }
        area |= dirty;
        at_ = to;
        appliedWrites_ = writes;
        steps_[at_].area |= dirty;
        changed(picture, area);
        return area;
    }
    // A new level right above the one held: its change is the dirty record, or the whole
    // picture for a turn or a mirror (a quarter turn of a square picture keeps its size). The
    // levels are known by their state numbers, which stay when old levels are dropped and the
    // rest are numbered again.
    if (history.parentStateId() == steps_[at_].state) {
        const QRect area =
            history.levelTurn(history.level()) == Turn::None ? dirty : picture.rect();
        steps_.resize(at_ + 1);
        steps_.push_back({state, area});
        at_ = steps_.size() - 1;
        appliedWrites_ = writes;
        changed(picture, area);
        return area;
    }
    rebuild(picture);
    steps_.assign(1, Step{state, dirty});
    at_ = 0;
    appliedWrites_ = writes;
    return picture.rect();
}

void ViewCache::rebuild(const QImage& picture) {
    size_ = picture.size();
    steps_.clear();
    mipmap_.rebuild(picture);
    reduced_ = QImage();
    reducedZoom_ = Zoom{};
}

void ViewCache::changed(const QImage& picture, const QRect& area) {
    if (area.isEmpty()) return;
    mipmap_.update(picture, area);
    if (reduced_.isNull()) return;
    // The reduced pixels whose source areas meet the change, one more on each side.
    const double shrink = double(reducedZoom_.den) / reducedZoom_.num;
    const QRect target(QPoint(int(area.left() / shrink) - 1, int(area.top() / shrink) - 1),
                       QPoint(int(area.right() / shrink) + 1, int(area.bottom() / shrink) + 1));
    const auto [k, scale] = sourceFor(reducedZoom_);
    reduceArea(k == 0 ? picture : mipmap_.level(k), scale, reduced_, target);
}

const QImage& ViewCache::reduced(const QImage& picture, Zoom zoom) {
    if (zoom == reducedZoom_ && !reduced_.isNull()) return reduced_;
    if (mipmap_.isNull()) mipmap_.rebuild(picture);
    const QSize size = ViewTransform(zoom, QPoint()).contentSize(picture.size());
    reduced_ = QImage(size, QImage::Format_RGB32);
    reducedZoom_ = zoom;
    const auto [k, scale] = sourceFor(zoom);
    reduceArea(k == 0 ? picture : mipmap_.level(k), scale, reduced_, reduced_.rect());
    return reduced_;
}

}  // namespace tessel
