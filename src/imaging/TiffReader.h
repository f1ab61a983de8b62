#pragma once
// Reading the first picture of a TIFF file with libtiff's own conversion to 8-bit RGBA, which
// knows every sample layout libtiff does: planar or interleaved samples, 1 to 16 bits, grey,
// palette, RGB, CMYK, YCbCr, with or without alpha, strips or tiles.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

// True when the bytes start as a TIFF file does (classic or big, either byte order).
bool looksLikeTiff(const QByteArray& bytes);

// The first picture of the file: Format_RGB32 without alpha, Format_ARGB32_Premultiplied with
// alpha (Format_ARGB32 for an extra sample the file leaves unexplained), rows in the order the
// file stores them, with its resolution and colour profile. Nothing when its declared size is
// beyond maxPixels (before any pixel memory is taken), when libtiff cannot convert its samples,
// or when any of its data is damaged or missing.
std::optional<QImage> decodeTiff(const QByteArray& bytes, qint64 maxPixels);

}  // namespace tessel
