#pragma once
// GIF encoding: the palette of at most 256 colours and the dithered remapping come from
// libimagequant at its best quality, the file itself from giflib.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

// The picture as the bytes of a single-frame GIF file, or nothing when it cannot be encoded
// (a null picture, or a failure of the quantizer or of the encoder).
std::optional<QByteArray> encodeGif(const QImage& picture);

}  // namespace tessel
