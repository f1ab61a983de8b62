#pragma once
// The one writer every file of the program goes through: the bytes go to a temporary file in
// the target's folder, are written, flushed and synced with every step checked, and only then
// renamed over the target. Any failure removes the temporary file and leaves the old target
// byte for byte.

#include <QByteArray>
#include <QString>

namespace tessel::platform {

// True when the target now holds exactly these bytes.
bool writeFileSafely(const QString& path, const QByteArray& bytes);

}  // namespace tessel::platform
