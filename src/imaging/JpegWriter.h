#pragma once
// JPEG files at the highest quality keep their colour: quality 100 with every colour sample
// kept (no chroma subsampling), written with libjpeg.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

// The JPEG file of the picture (its alpha, if any, ignored), or nothing when encoding fails.
std::optional<QByteArray> encodeJpegFullColour(const QImage& picture);

}  // namespace tessel
