#pragma once
// The rows of a PNG file's image data: a picture's pixels as 8-bit RGB, each row preceded by
// the filter that predicts it best.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessel {

// The bytes of one filtered row: the filter type, then width * 3 bytes.
inline std::size_t pngRowBytes(int width) {
    return 1 + std::size_t(width) * 3;
}

// Writes the filtered rows first .. last - 1 of an image of Format_RGB32 to `out`, which holds
// (last - first) * pngRowBytes(width) bytes. Each row takes the filter (none, sub, up, average
// or Paeth) whose output has the smallest sum of magnitudes as signed bytes, the choice libpng
// makes; the row above the first is the picture's row first - 1, or zeros for the top row, so
// bands filtered separately join into exactly the rows of the whole picture. False when the
// working memory cannot be had.
bool filterPngRows(const QImage& picture, int first, int last, std::uint8_t* out);

}  // namespace tessel
