#pragma once
// The ancillary chunks of a picture's PNG file: what Qt's PNG writer puts between the header
// and the image data.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

// The chunks Qt's writer puts after IHDR for an opaque 8-bit RGB picture, made by libpng from
// exactly the settings Qt gives it, so a file keeps what Qt would store: the colour space as an
// ICC profile (iCCP), the offset (oFFs), the resolution (pHYs) and the texts (tEXt, zTXt or
// iTXt). A text whose key libpng refuses is left out instead of failing the file. Nothing when
// libpng fails.
std::optional<QByteArray> pngAncillaryChunks(const QImage& picture);

}  // namespace tessel
