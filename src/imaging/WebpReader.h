#pragma once
// WebP files read with libwebp: still pictures, and the first frame of an animation as it is
// shown on its canvas.

#include <QByteArray>
#include <optional>

#include "imaging/DecodedPicture.h"

namespace tessel {

// True when the bytes begin as a WebP file does ("RIFF", a size, "WEBP").
bool looksLikeWebp(const QByteArray& bytes);

// The picture (Format_ARGB32 when it has transparency, Format_RGB32 otherwise) with its colour
// profile and EXIF orientation. Nothing when the file is damaged or incomplete, or when its
// canvas declares more than maxPixels pixels (checked before any pixel memory is taken).
std::optional<DecodedPicture> decodeWebp(const QByteArray& bytes, qint64 maxPixels);

}  // namespace tessel
