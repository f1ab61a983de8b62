#pragma once
// The two ruler strips along the view: marks and labels in pixels or in millimetres.

#include <Qt>

#include <QRect>

#include "view/RulerLabels.h"
#include "view/ViewTransform.h"
#include "surface/Surface.h"

namespace tessel {

enum class RulerUnit { Pixels, Millimetres };

inline constexpr Colour kRulerGround = 0xC0C0C0;

// A pixel ruler over `length` pixels (1200 across, 900 down): a mark every 5 pixels, 10 long on
// multiples of 10, red with a label on multiples of 50. Marks and labels keep to `room`; the
// labels printed are returned.
RulerLabels drawPixelRuler(Surface& strip, Qt::Orientation orientation, int length,
                           const RulerRoom& room = {});

// A millimetre ruler at the given pixels per inch, as long as the strip: grey millimetre marks,
// black half-centimetre marks, red centimetre marks with their labels. Marks and labels keep to
// `room`; the labels printed are returned.
RulerLabels drawMillimetreRuler(Surface& strip, Qt::Orientation orientation, int pixelsPerInch,
                                const RulerRoom& room = {});

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
    // The picture's length along the strip in picture pixels; 0 without a picture, when the
    // ruler runs the strip's whole length.
    int pictureLength = 0;
    // The part of the strip (in view pixels) that the other strip lies over.
    QRect covered{};

    bool operator==(const RulerSpan&) const = default;
};

// The strip under (or beside) the view, in picture pixels or millimetres of the picture. At
// "Tamaño real" without scroll it is the ruler drawn above. Otherwise the labels stand at steps
// of 1, 2 or 5 times a power of ten, the smallest whose labels keep clear of each other, with
// finer marks between, and a small triangle marks the zero position. It ends with the picture:
// no mark beyond its far edge, and every label whole inside the strip and the picture's length
// (moved in, or left out). Returns the labels printed.
RulerLabels drawViewRuler(Surface& strip, Qt::Orientation orientation, RulerUnit unit,
                          const RulerSpan& span);

// Where the millimetre mark i stands: ppi * i / 25.4 (the divisor in single precision), rounded.
int millimetreMark(int pixelsPerInch, int millimetre);

}  // namespace tessel
