#pragma once
// What the canvas view shows: the part of the current picture under the view at its zoom and
// scroll, on a grey ground, with the two dotted axis lines of the zero position on top. At
// "Tamaño real" without scroll that is the picture's top-left corner, one pixel for one.

#include <QImage>
#include <QPoint>
#include <QString>

#include "view/ViewTransform.h"
#include "cutting/CutSettings.h"
#include "surface/Surface.h"

namespace tessel {

// The view's start size, and the extent the zero position ranges over without a picture.
inline constexpr int kViewWidth = 1200;
inline constexpr int kViewHeight = 900;
inline constexpr Colour kViewGround = 0x808080;

// The pictures the view is drawn from: the picture itself, and when zoomed out the picture
// already reduced to the zoom (ViewCache). Either may be null without a picture.
struct ViewSource {
    const QImage* picture = nullptr;
    const QImage* reduced = nullptr;
};

// Draws the view pixels from `origin` on (the size of `out`) into `out`: grey ground, the
// picture at the transform's zoom and scroll (pixel blocks zoomed in, the reduced picture zoomed
// out), and the axes: one pixel wide, dotted 3 on and 3 off counted from the picture's edge, the
// vertical one first, the horizontal one over it.
void renderView(QImage& out, QPoint origin, const ViewSource& source,
                const ViewTransform& transform, QPoint zero, const CutSettings& axes);

// The caption read-out of the zero position: "x : 12 y : 34".
QString zeroPositionCaption(QPoint zero);

// The zero position coordinate for a trackbar position (ranges start at 1).
inline int zeroFromTrackbar(int position) {
    return position - 1;
}

}  // namespace tessel
