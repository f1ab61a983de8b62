#pragma once
// The two ruler strips along the view: marks and labels in pixels or in millimetres.

#include <Qt>

#include "app/ViewTransform.h"
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

// The part of the picture a ruler strip lies along: the view's zoom and scroll along the strip,
// the view's length, where the zero position is (picture pixels) and the colour it is marked in.
struct RulerSpan {
    Zoom zoom;
    int scroll = 0;
    int viewLength = 0;
    int zero = 0;
    int pixelsPerInch = 96;
    Colour zeroColour = 0x0000FF;
    // Device pixels per view pixel: on a screen of pixel ratio 2 the strip has twice the pixels
    // each way and the marks and labels are drawn at that resolution.
    int scale = 1;

    bool operator==(const RulerSpan&) const = default;
};

// The strip under (or beside) the view, in picture pixels or millimetres of the picture. At
// "Tamaño real" without scroll it is the ruler drawn above. Otherwise the labels stand at steps
// of 1, 2 or 5 times a power of ten, the smallest whose labels keep clear of each other, with
// finer marks between, and a small triangle marks the zero position.
void drawViewRuler(Surface& strip, Qt::Orientation orientation, RulerUnit unit,
                   const RulerSpan& span);

// Where the millimetre mark i stands: ppi * i / 25.4 (the divisor in single precision), rounded.
int millimetreMark(int pixelsPerInch, int millimetre);

}  // namespace tessel
