#include "surface/RasterGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "surface/Numbers.h"

namespace tessel {

void forEachLinePixel(QPoint from, QPoint to, const QRect& clip,
                      const std::function<void(int x, int y, long long index)>& plot) {
    const long long dx = (long long)to.x() - from.x();
    const long long dy = (long long)to.y() - from.y();
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long major = xMajor ? dx : dy;
    const long long minor = xMajor ? dy : dx;
    const long long steps = std::llabs(major);
    if (steps == 0 || clip.isEmpty()) return;
    const long long majorStart = xMajor ? from.x() : from.y();
    const long long minorStart = xMajor ? from.y() : from.x();
    const long long majorStep = major > 0 ? 1 : -1;
    // Only the steps whose major coordinate lies inside the clip can paint.
    const long long low = xMajor ? clip.left() : clip.top();
    const long long high = xMajor ? clip.right() : clip.bottom();
    long long first = majorStep > 0 ? low - majorStart : majorStart - high;
    long long last = majorStep > 0 ? high - majorStart : majorStart - low;
    first = std::max(first, 0LL);
    last = std::min(last, steps - 1);
    for (long long i = first; i <= last; ++i) {
        // The minor coordinate nearest to the ideal line (halves away from the start).
        const long long numerator = 2 * i * std::llabs(minor) + steps;
        const long long offset = numerator / (2 * steps);
        const long long m = minorStart + (minor >= 0 ? offset : -offset);
        const long long a = majorStart + majorStep * i;
        const long long x = xMajor ? a : m;
        const long long y = xMajor ? m : a;
        if (clip.contains(int(x), int(y))) plot(int(x), int(y), i);
    }
}

QPolygon roundedOutline(const QRect& box, int arcWidth, int arcHeight) {
    const int left = box.left(), top = box.top(), right = box.right(), bottom = box.bottom();
    const long double rx = std::max(0, std::min(arcWidth, box.width()) - 1) / 2.0L;
    const long double ry = std::max(0, std::min(arcHeight, box.height()) - 1) / 2.0L;
    if (rx <= 0 || ry <= 0) {
        return QPolygon(
            {QPoint(left, top), QPoint(right, top), QPoint(right, bottom), QPoint(left, bottom)});
    }
    // The top-left arc from its left end up to its top end; the other three corners are its
    // mirror images, so the outline is symmetric whatever the rounding.
    const int steps = std::max(4, int(std::ceil(rx + ry)));
    QPolygon arc;
    for (int k = 0; k <= steps; ++k) {
        const long double t = std::numbers::pi_v<long double> / 2 * k / steps;
        const QPoint point(int(roundToInt(left + rx * (1 - std::cos(t)))),
                           int(roundToInt(top + ry * (1 - std::sin(t)))));
        if (arc.isEmpty() || arc.last() != point) arc << point;
    }
    const int mirrorX = left + right;
    const int mirrorY = top + bottom;
    QPolygon outline;
    auto add = [&outline](const QPoint& p) {
        if (outline.isEmpty() || outline.last() != p) outline << p;
    };
    for (int i = 0; i < arc.size(); ++i) add(arc[i]);  // top-left
    for (int i = arc.size() - 1; i >= 0; --i) add(QPoint(mirrorX - arc[i].x(), arc[i].y()));
    for (int i = 0; i < arc.size(); ++i) add(QPoint(mirrorX - arc[i].x(), mirrorY - arc[i].y()));
    for (int i = arc.size() - 1; i >= 0; --i) add(QPoint(arc[i].x(), mirrorY - arc[i].y()));
    if (outline.size() > 1 && outline.first() == outline.last()) outline.removeLast();
    return outline;
}

}  // namespace tessel
