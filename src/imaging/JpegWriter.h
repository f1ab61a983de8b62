#pragma once
// JPEG files at the highest quality keep their colour: quality 100 with every colour sample
// kept (no chroma subsampling), written with libjpeg.

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <limits>
#include <optional>

namespace tessel {

// The JPEG file of the picture (its alpha, if any, ignored), or nothing when encoding fails:
// when memory runs out, or when the file would take more than byteLimit bytes.
std::optional<QByteArray> encodeJpegFullColour(
    const QImage& picture, std::size_t byteLimit = std::numeric_limits<std::size_t>::max());

}  // namespace tessel
