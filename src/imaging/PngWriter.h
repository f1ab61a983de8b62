#pragma once
// Saving a picture as a PNG file at the speed of the disk: the rows are filtered and
// compressed with libdeflate in bands, one thread per band, and the chunks around the image
// data are written here.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

// libdeflate's level for the image data. On photographs it is the fastest and, with the
// adaptive row filters, no larger than levels 2 to 4; 5 and 6 save under 1 % at twice the time.
inline constexpr int kPngDeflateLevel = 1;

// The PNG file of an opaque picture (converted to Format_RGB32 first if it is in another
// format): 8-bit RGB (colour type 2), not interlaced, with the chunks Qt's writer would store
// besides the image data (PngMetadata.h), each row with its adaptive filter (PngRows.h).
// `bands` bands of rows are compressed on as many threads (0: one per processor core, fewer for
// a small picture; never more than the picture has rows). Nothing for an empty picture or when
// memory runs out.
std::optional<QByteArray> encodePng(const QImage& picture, int bands = 0);

}  // namespace tessel
