#pragma once
// PNG files that Qt's reader draws wrongly, read with libpng instead: 16-bit colour or grey
// pictures with a transparent colour key. Everything else goes through Qt as before.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

// True when the bytes are a PNG whose header declares 16 bits per sample, colour type grey or
// RGB, and which has a transparent colour key before its image data.
bool pngNeedsOwnReader(const QByteArray& bytes);

// The picture as 8-bit ARGB (not premultiplied), the colour key turned into full transparency
// and 16-bit samples rounded to 8 bits. Nothing when the data is damaged, ends before the last
// row, or declares more than maxPixels pixels.
std::optional<QImage> readPngWithLibpng(const QByteArray& bytes, qint64 maxPixels);

}  // namespace tessel
