#pragma once
// Geometry for the surface's aliased drawing: the pixels of a thin line and the outline of a
// box with rounded corners, both in integer pixel coordinates.

#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <functional>

namespace tessel {

// Calls `plot(point, index)` for every pixel of the line from `from` towards `to` that lies
// inside `clip`: the start pixel is painted, the end pixel is not; `index` counts the pixels
// from the start (for dash patterns). Lines far outside the clip cost nothing.
void forEachLinePixel(QPoint from, QPoint to, const QRect& clip,
                      const std::function<void(int x, int y, long long index)>& plot);

// The closed outline through the centres of the outer pixels of `box`, with elliptic corner
// arcs of the given diameters (in pixels; at most the box's extents). The outline is exactly
// symmetric about the box's middle lines. Arc diameters of one or less give square corners;
// arcs as large as the box give the inscribed ellipse.
QPolygon roundedOutline(const QRect& box, int arcWidth, int arcHeight);

}  // namespace tessel
