#pragma once
// What the canvas control shows: the current picture's top-left 1200 x 900 pixels on a grey
// ground, with the two dotted axis lines of the zero position on top.

#include <QPoint>
#include <QString>

#include "cutting/CutSettings.h"
#include "surface/Surface.h"

namespace tessel {

inline constexpr int kViewWidth = 1200;
inline constexpr int kViewHeight = 900;
inline constexpr Colour kViewGround = 0x808080;

// Renders the view into the display buffer; picture may be null (no picture yet).
void renderView(Surface& buffer, const Surface* picture, QPoint zero, const CutSettings& axes);

// The caption read-out of the zero position: "x : 12 y : 34".
QString zeroPositionCaption(QPoint zero);

// The zero position coordinate for a trackbar position (ranges start at 1).
inline int zeroFromTrackbar(int position) { return position - 1; }

}  // namespace tessel
