#pragma once
// How the view shows the picture: a zoom factor and a scroll offset. Every place that turns a
// picture pixel into a view pixel or back (the drawing of the view, the axes, the rulers, a click
// in the view) goes through this one value type, so they always agree.
//
// The zoom is an exact fraction. View pixel v (counted from the view's edge) shows the picture
// pixel whose area holds the centre of v: floor((v + scroll + 1/2) / zoom). The same rule picks
// the pixel a click lands on and the pixel drawn there when zoomed in.

#include <QPoint>
#include <QSize>
#include <vector>

namespace tessel {

struct Zoom {
    int num = 1;
    int den = 1;

    double factor() const { return double(num) / den; }
    bool isActualSize() const { return num == den; }
    bool operator==(const Zoom&) const = default;
    // A fraction in lowest terms with a positive denominator.
    static Zoom of(long long num, long long den);
};

// The zoom steps of "Acercar" and "Alejar": 1/16 ... 1/2, 2/3, 1, 2, 3, 4, 6, 8.
const std::vector<Zoom>& zoomLadder();
// The next step of the ladder above (or below) the zoom; the zoom itself at the ladder's end.
Zoom zoomStepIn(Zoom zoom);
Zoom zoomStepOut(Zoom zoom);
// The largest zoom at which the whole picture fits in the viewport, at most the ladder's top.
Zoom fitZoom(QSize viewport, QSize picture);

long long floorDiv(long long a, long long b);
long long ceilDiv(long long a, long long b);

class ViewTransform {
  public:
    ViewTransform() = default;
    ViewTransform(Zoom zoom, QPoint scroll) : zoom_(zoom), scroll_(scroll) {}

    Zoom zoom() const { return zoom_; }
    QPoint scroll() const { return scroll_; }
    void setZoom(Zoom zoom) { zoom_ = zoom; }
    void setScroll(QPoint scroll) { scroll_ = scroll; }

    // The picture pixel shown at view pixel `view` (may lie outside the picture).
    int pictureX(int viewX) const { return sample(viewX + scroll_.x()); }
    int pictureY(int viewY) const { return sample(viewY + scroll_.y()); }
    QPoint pictureAt(QPoint view) const { return {pictureX(view.x()), pictureY(view.y())}; }

    // Where picture column x (row y) is in the view. Zoomed in, the first view column (row) that
    // shows it: the pixel covers the columns from viewX(x) up to viewX(x + 1). Zoomed out, the
    // view column whose area holds the centre of x: the one that shows x when any does, and a
    // column of the picture for every x, its last one included.
    int viewX(int pictureX) const { return int(place(pictureX) - scroll_.x()); }
    int viewY(int pictureY) const { return int(place(pictureY) - scroll_.y()); }
    QPoint viewAt(QPoint picture) const { return {viewX(picture.x()), viewY(picture.y())}; }

    // Size in view pixels of the whole picture at this zoom. Zoomed out, a last view pixel that
    // is only partly covered by the picture counts (it shows what there is).
    QSize contentSize(QSize picture) const {
        return {int(extent(picture.width())), int(extent(picture.height()))};
    }
    // The scroll offset kept within the content: 0 .. content - viewport along each axis.
    QPoint clampedScroll(QPoint scroll, QSize viewport, QSize picture) const;

    // The same view measured in device pixels of a screen with the given pixel ratio
    // (a fraction such as 2/1): zoom and scroll multiplied by it.
    ViewTransform scaled(Zoom ratio) const;

    bool operator==(const ViewTransform&) const = default;

  private:
    // floor((z + 1/2) * den / num) for the zoomed coordinate z.
    int sample(long long z) const {
        return int(floorDiv((2 * z + 1) * zoom_.den, 2LL * zoom_.num));
    }
    // The least zoomed coordinate z whose sample is p or more.
    long long firstShowing(long long p) const {
        return ceilDiv(2 * p * zoom_.num - zoom_.den, 2LL * zoom_.den);
    }

    long long place(long long p) const {
        if (zoom_.num < zoom_.den) return floorDiv((2 * p + 1) * zoom_.num, 2LL * zoom_.den);
        return firstShowing(p);
    }

    long long extent(long long length) const {
        return zoom_.num < zoom_.den ? ceilDiv(length * zoom_.num, zoom_.den)
                                     : firstShowing(length);
    }

    Zoom zoom_;
    QPoint scroll_;
};

}  // namespace tessel
