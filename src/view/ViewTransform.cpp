#include "view/ViewTransform.h"

#include <algorithm>
#include <numeric>

namespace tessel {

Zoom Zoom::of(long long num, long long den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    if (num <= 0 || den == 0) return Zoom{};
    const long long g = std::gcd(num, den);
    num /= g;
    den /= g;
    // Keep the terms small enough for the arithmetic of the mapping.
    while (num > 1000000 || den > 1000000) {
        num = (num + 1) / 2;
        den = (den + 1) / 2;
    }
    return Zoom{int(num), int(den)};
}

const std::vector<Zoom>& zoomLadder() {
    static const std::vector<Zoom> ladder = {{1, 16}, {1, 12}, {1, 8}, {1, 6}, {1, 4},
                                             {1, 3},  {1, 2},  {2, 3}, {1, 1}, {2, 1},
                                             {3, 1},  {4, 1},  {6, 1}, {8, 1}};
    return ladder;
}

namespace {
bool less(Zoom a, Zoom b) {
    return (long long)a.num * b.den < (long long)b.num * a.den;
}
}  // namespace

Zoom zoomStepIn(Zoom zoom) {
    for (const Zoom step : zoomLadder()) {
        if (less(zoom, step)) return step;
    }
    return zoom;
}

Zoom zoomStepOut(Zoom zoom) {
    const std::vector<Zoom>& ladder = zoomLadder();
    for (auto step = ladder.rbegin(); step != ladder.rend(); ++step) {
        if (less(*step, zoom)) return *step;
    }
    return zoom;
}

Zoom fitZoom(QSize viewport, QSize picture) {
    if (picture.isEmpty() || viewport.isEmpty()) return Zoom{};
    // viewport.w / picture.w against viewport.h / picture.h: the smaller one.
    const long long across = (long long)viewport.width() * picture.height();
    const long long down = (long long)viewport.height() * picture.width();
    const Zoom fit = across <= down ? Zoom::of(viewport.width(), picture.width())
                                    : Zoom::of(viewport.height(), picture.height());
    const Zoom top = zoomLadder().back();
    return less(top, fit) ? top : fit;
}

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

long long ceilDiv(long long a, long long b) {
    return -floorDiv(-a, b);
}

QPoint ViewTransform::clampedScroll(QPoint scroll, QSize viewport, QSize picture) const {
    const QSize content = contentSize(picture);
    const int maxX = std::max(0, content.width() - viewport.width());
    const int maxY = std::max(0, content.height() - viewport.height());
    return {std::clamp(scroll.x(), 0, maxX), std::clamp(scroll.y(), 0, maxY)};
}

ViewTransform ViewTransform::scaled(Zoom ratio) const {
    const Zoom zoom = Zoom::of((long long)zoom_.num * ratio.num, (long long)zoom_.den * ratio.den);
    const auto times = [ratio](int v) {
        return int(floorDiv((long long)v * ratio.num, ratio.den));
    };
    return ViewTransform(zoom, QPoint(times(scroll_.x()), times(scroll_.y())));
}

}  // namespace tessel
