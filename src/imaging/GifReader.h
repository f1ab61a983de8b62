#pragma once
// Reading the first picture of a GIF file through giflib, which reports a file whose data ends
// before its pixels do instead of leaving them unset.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

// The first picture at the size of the file's logical screen (ARGB32): the frame's pixels with
// its transparent colour transparent, the screen outside the frame transparent. Nothing when
// the bytes hold no complete first picture or when its size exceeds maxPixels.
std::optional<QImage> decodeGif(const QByteArray& bytes, qint64 maxPixels);

}  // namespace tessel
