#pragma once
// Small pixel helpers shared by the surface tests.

#include <QRect>

#include "surface/Surface.h"

namespace tessel::testing {

inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kGreen = 0x00FF00;
inline constexpr Colour kBlue = 0xFF0000;

// A surface cleared to one colour.
inline Surface blankSurface(int width, int height, Colour colour = kWhite) {
    Surface surface(width, height);
    surface.setBackground(colour);
    surface.clear(colour);
    return surface;
}

// The smallest rectangle holding every pixel that differs from `colour` (empty when none).
inline QRect boundsOfPixelsOtherThan(const Surface& surface, Colour colour) {
    QRect bounds;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) != colour) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline int countPixels(const Surface& surface, Colour colour, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (surface.pixel(x, y) == colour) ++count;
    return count;
}

}  // namespace tessel::testing
