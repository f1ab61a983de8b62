#pragma once
// The region a flood fill covers: the 4-connected pixels reachable from a start point, found
// scanline by scanline without recursion.

#include <QImage>
#include <QPoint>
#include <vector>

namespace tessel {

enum class FloodMode;

// One horizontal run of the region: the pixels first..last (inclusive) of row y.
struct FloodSpan {
    int y;
    int first;
    int last;
};

// Border mode: the region spreads over pixels whose colour differs from `boundary`.
// Surface mode: it spreads over pixels whose colour equals `boundary`.
// Colours are compared on red, green and blue only. A start outside the image, or on a pixel
// that does not belong to the region, gives an empty region. The spans do not overlap.
std::vector<FloodSpan> floodRegion(const QImage& image, QPoint start, QRgb boundary,
                                   FloodMode mode);

}  // namespace tessel
