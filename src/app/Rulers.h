#pragma once
// The two ruler strips along the view: marks and labels in pixels or in millimetres.

#include <Qt>

#include "surface/Surface.h"

namespace tessel {

enum class RulerUnit { Pixels, Millimetres };

inline constexpr Colour kRulerGround = 0xC0C0C0;

// A pixel ruler over `length` pixels (1200 across, 900 down): a mark every 5 pixels, 10 long on
// multiples of 10, red with a label on multiples of 50.
void drawPixelRuler(Surface& strip, Qt::Orientation orientation, int length);

// A millimetre ruler at the given pixels per inch, as long as the strip: grey millimetre marks,
// black half-centimetre marks, red centimetre marks with their labels.
void drawMillimetreRuler(Surface& strip, Qt::Orientation orientation, int pixelsPerInch);

// Where the millimetre mark i stands: ppi * i / 25.4 (the divisor in single precision), rounded.
int millimetreMark(int pixelsPerInch, int millimetre);

}  // namespace tessel
