#pragma once
// Reading a whole file that must be a regular file: a named pipe, a device or a folder is
// refused at once instead of blocking the program.

#include <QByteArray>
#include <QString>
#include <optional>

namespace tessel::platform {

// The largest file the program reads whole.
inline constexpr qint64 kMaxReadBytes = 512LL * 1024 * 1024;

// True when the path names a regular file (after following symbolic links).
bool isRegularFile(const QString& path);

// The whole contents, or nothing when the path is no regular file, is larger than maxBytes or
// cannot be read to its end.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes = kMaxReadBytes);

}  // namespace tessel::platform
