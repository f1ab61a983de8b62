#pragma once
// The one writer every file of the program goes through: the bytes go to a temporary file in
// the target's folder, are written, flushed and synced with every step checked, and only then
// renamed over the target. Any failure removes the temporary file and leaves the old target
// byte for byte.

#include <QByteArray>
#include <QString>
#include <functional>

namespace tessel::platform {

// True when the target now holds exactly these bytes. A target that is a symbolic link is
// written through to the file it names (created when missing); a target that exists but is no
// regular file, or that the user may not write (isWritableTarget), is refused.
bool writeFileSafely(const QString& path, const QByteArray& bytes);

// True when the safe writer may put a file at the path: an existing file must be writable by
// the user and not made read-only by its mode (which holds for root too), and so must its
// folder. A read-only file stays as it is, byte for byte.
bool isWritableTarget(const QString& path);

// The steps of a safe write, in order.
enum class WriteStep { Create, Write, Sync, Close, Rename };

// A fault seam for tests: while installed, the step for which it answers true fails as the
// device would. An empty function removes it.
void setWriteFault(std::function<bool(WriteStep)> fault);

}  // namespace tessel::platform
