#pragma once
// The ten speech-bubble shapes, each a vector path of its own, and the routines that draw a
// bubble (with its optional shadow) on a surface.
//
// A bubble of P points is as high as the em of a P-point font: P * dpi / 72 pixels, rounded;
// its width follows from the shape's proportions. Its bounding box's top-left corner is the
// given point.

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <array>

#include "surface/Colour.h"
#include "text/BubbleSettings.h"

class QPainter;

namespace tessel {

class Surface;

// The keys of the ten shapes, in the dialog's order.
inline constexpr std::array<char, 10> kBubbleGlyphs = {'(', ')', '*', '[', ']',
                                                       '^', '_', '{', '}', 'Y'};

// The Spanish name of a shape, for tooltips.
QString bubbleName(const QString& glyph);

// A shape's outline in its own units, with its bounding box at (0, 0); an unknown key gives
// the first shape.
QPainterPath bubbleOutline(const QString& glyph);

// The pixel height of a bubble of the given points at the screen's logical DPI.
int bubblePixelHeight(int points);

// The box a shape of the given height with its top-left at topLeft paints in: nothing of it,
// smoothing included, falls outside. Empty for a height of 0 or less.
QRectF bubbleBox(const QString& glyph, QPointF topLeft, qreal height);

// Paints the shape with its bounding box's top-left at topLeft, the given height in pixels,
// filled solid and edged with a thin line of the outline colour (antialiased).
void paintBubbleShape(QPainter& painter, const QString& glyph, QPointF topLeft, qreal height,
                      const QColor& fill, const QColor& outline);

// One bubble shape of the given points at (x, y), filled with the colour and edged in a darker
// shade of it.
void drawBubbleGlyph(Surface& surface, Colour colour, const QString& glyph, int points, int x,
                     int y);

// The bubble of the settings at (x, y): with the shadow set, first the same shape 5 points
// larger in black at the same top-left, then the bubble.
void drawBubble(Surface& surface, int x, int y, const BubbleSettings& settings);

}  // namespace tessel
