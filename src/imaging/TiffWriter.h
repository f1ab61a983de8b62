#pragma once
// TIFF files written with libtiff: 8-bit RGB, LZW with the horizontal predictor, which keeps
// photographs well below their raw size and loses nothing.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

// The TIFF file of the picture (its alpha, if any, ignored), or nothing when encoding fails.
std::optional<QByteArray> encodeTiff(const QImage& picture);

}  // namespace tessel
