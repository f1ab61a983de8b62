#pragma once
// HEIF files (HEIC, and AVIF) read with libheif, which decodes both HEVC and AV1: the primary
// picture, turned, mirrored and cropped as the file's own transformations say.

#include <QByteArray>
#include <optional>

#include "imaging/DecodedPicture.h"

namespace tessel {

// True when libheif takes the bytes for a HEIF or AVIF file.
bool looksLikeHeif(const QByteArray& bytes);

// The primary picture (Format_ARGB32 when it has transparency, Format_RGB32 otherwise) with
// its colour profile. Its orientation is the one of the file's transformations (rotation and
// mirror boxes), applied here; the orientation an EXIF block in the file repeats is not applied
// again, as the format prescribes. Nothing when the file is damaged or incomplete, or when its
// picture declares more than maxPixels pixels (checked before any pixel memory is taken).
std::optional<DecodedPicture> decodeHeif(const QByteArray& bytes, qint64 maxPixels);

}  // namespace tessel
