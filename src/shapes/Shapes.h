#pragma once
// Drawing of the rectangles, ellipses and arrows.

#include <array>

#include <QPoint>

#include "shapes/ArrowSettings.h"
#include "shapes/ShapeSettings.h"
#include "surface/Surface.h"

namespace tessel {

// The rectangle (square or rounded corners) or ellipse of the settings in the box
// (x, y)-(x + width, y + height), in the settings' line style and width. The gaps of styled
// lines and hatch fills let the surface show through; a transparent interior leaves the pixels
// inside untouched. The surface's pen and background are as before afterwards.
void drawShape(Surface& surface, int x, int y, int width, int height,
               const ShapeSettings& settings);
// The same with the settings' own shapeWidth x shapeHeight and its top-left corner at (x, y).
void drawShape(Surface& surface, int x, int y, const ShapeSettings& settings);
// The dialog's preview: the surface cleared to the background colour, the shape on
// (30, 30)-(120, 120).
void drawShapePreview(Surface& surface, const ShapeSettings& settings, Colour background);

// The five points of an arrow with its tail at (x, y): tip T, tip barbs A and B, tail barbs C
// and D. Direction 1 points up, each next one 45 degrees further clockwise; any other
// direction counts as 1.
struct ArrowPoints {
    QPoint tip, barbA, barbB, tailC, tailD;
};
ArrowPoints arrowPoints(int direction, int x, int y, int length, int headSize);

// The arrow of straight segments with its tail at (x, y), shaft length L and head size H: the
// shaft, then (heads >= 1) the tip barbs, closed into a triangle when asked, then (heads = 2)
// the tail barbs. Every segment's end points are painted. Solid pen of the given width.
void drawArrow(Surface& surface, int x, int y, int length, int headSize, Colour colour, int width,
               bool closed, int heads, int direction);
// The same with the settings' length, head size and the rest.
void drawArrow(Surface& surface, int x, int y, const ArrowSettings& settings);
// The dialog's preview: the surface cleared to the background colour and the arrow drawn with
// its tail at (150, 150) and L = 100.
void drawArrowPreview(Surface& surface, const ArrowSettings& settings, Colour background);

}  // namespace tessel
