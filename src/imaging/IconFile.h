#pragma once
// Reading an icon file (.ico): the largest of the images its directory lists, chosen by the
// sizes the directory declares, so that only that one image is decoded.

#include <QImage>
#include <QString>
#include <optional>

namespace tessel {

// Directory entries beyond this many are not considered.
inline constexpr int kMaxIconEntries = 256;

// The largest image (the most declared pixels, then the most bits per pixel, then the first)
// with its transparency, as ARGB32. Nothing when the path is no regular file, holds no icon
// directory, or the chosen image lies beyond the file or does not decode completely.
std::optional<QImage> readIconFile(const QString& fileName);

}  // namespace tessel
