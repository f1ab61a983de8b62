#include "view/CanvasView.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tessel {
namespace {

constexpr int kDotPeriod = 6;  // the dotted pen: 3 pixels on, 3 off
constexpr int kDotOn = 3;

bool dotOn(long long index) {
    return ((index % kDotPeriod) + kDotPeriod) % kDotPeriod < kDotOn;
}

std::uint32_t* row(QImage& image, int y) {
    return reinterpret_cast<std::uint32_t*>(image.scanLine(y));
}

// Copies the picture (or the reduced picture) one for one: `shown` is the part of the view
// covered by it, in view pixels, `at` where view pixel (0, 0) lies in the source.
void copyPart(QImage& out, QPoint origin, const QImage& source, const QRect& shown, QPoint at) {
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(source.constScanLine(y + at.y()));
        std::memcpy(row(out, y - origin.y()) + (shown.left() - origin.x()),
                    from + shown.left() + at.x(), std::size_t(shown.width()) * 4);
    }
}

// Zoomed in: every view pixel takes the picture pixel the transform puts under it.
void blockPart(QImage& out, QPoint origin, const QImage& picture, const QRect& shown,
               const ViewTransform& t) {
    std::vector<int> columns(std::size_t(shown.width()));
    for (int x = shown.left(); x <= shown.right(); ++x) {
        columns[std::size_t(x - shown.left())] = std::min(t.pictureX(x), picture.width() - 1);
    }
    int previous = -1;
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        const int sourceY = std::min(t.pictureY(y), picture.height() - 1);
        std::uint32_t* to = row(out, y - origin.y()) + (shown.left() - origin.x());
        if (sourceY == previous) {
            std::memcpy(to, row(out, y - 1 - origin.y()) + (shown.left() - origin.x()),
                        std::size_t(shown.width()) * 4);
            continue;
        }
        const auto* from = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(sourceY));
        for (std::size_t i = 0; i < columns.size(); ++i) to[i] = from[columns[i]];
        previous = sourceY;
    }
}

void fillRect(QImage& out, const QRect& area, std::uint32_t rgb) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        std::fill_n(row(out, y) + area.left(), area.width(), rgb);
    }
}

}  // namespace

void renderView(QImage& out, QPoint origin, const ViewSource& source,
                const ViewTransform& transform, QPoint zero, const CutSettings& axes) {
    const QRect area(origin, out.size());
    const QImage* picture = source.picture && !source.picture->isNull() ? source.picture : nullptr;
    QRect shown;
    if (picture) {
        shown = QRect(-transform.scroll(), transform.contentSize(picture->size())) & area;
    }
    // Grey where the picture is not: above, below, left and right of the part shown.
    const std::uint32_t grey = toQRgb(kViewGround);
    if (shown.isEmpty()) {
        fillRect(out, out.rect(), grey);
    } else {
        const QRect s = shown.translated(-origin);
        fillRect(out, QRect(0, 0, out.width(), s.top()), grey);
        fillRect(out, QRect(0, s.bottom() + 1, out.width(), out.height() - s.bottom() - 1), grey);
        fillRect(out, QRect(0, s.top(), s.left(), s.height()), grey);
        fillRect(out, QRect(s.right() + 1, s.top(), out.width() - s.right() - 1, s.height()), grey);
        const Zoom zoom = transform.zoom();
        if (zoom.isActualSize()) {
            copyPart(out, origin, *picture, shown, transform.scroll());
        } else if (zoom.num > zoom.den) {
            blockPart(out, origin, *picture, shown, transform);
        } else if (source.reduced) {
            copyPart(out, origin, *source.reduced, shown, transform.scroll());
        }
    }

    // The axes, over the whole height and width of the view.
    const int axisX = transform.viewX(zero.x());
    if (axisX >= area.left() && axisX <= area.right()) {
        const std::uint32_t ink = toQRgb(axes.verticalAxisColour);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (dotOn((long long)y + transform.scroll().y())) {
                row(out, y - origin.y())[axisX - origin.x()] = ink;
            }
        }
    }
    const int axisY = transform.viewY(zero.y());
    if (axisY >= area.top() && axisY <= area.bottom()) {
        const std::uint32_t ink = toQRgb(axes.horizontalAxisColour);
        std::uint32_t* line = row(out, axisY - origin.y());
        for (int x = area.left(); x <= area.right(); ++x) {
            if (dotOn((long long)x + transform.scroll().x())) line[x - origin.x()] = ink;
        }
    }
}

QString zeroPositionCaption(QPoint zero) {
    return QStringLiteral("x : %1 y : %2").arg(zero.x()).arg(zero.y());
}

}  // namespace tessel
