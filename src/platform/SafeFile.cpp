#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace tessel::platform {

namespace {

std::function<bool(WriteStep)>& fault() {
    static std::function<bool(WriteStep)> installed;
    return installed;
}

// True when the step may go on: no fault is injected there.
bool allowed(WriteStep step) {
    const auto& f = fault();
    if (f && f(step)) {
        errno = EIO;
        return false;
    }
    return true;
}

bool writeAll(int fd, const char* data, qsizetype size) {
    if (!allowed(WriteStep::Write)) return false;
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// The permissions of the file being replaced; a new file gets the usual ones.
mode_t modeFor(const QByteArray& target) {
    struct stat old {};
    if (::stat(target.constData(), &old) == 0) return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file really written: the end of a chain of symbolic links, or the path itself.
QString resolvedTarget(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink()) return info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

void setWriteFault(std::function<bool(WriteStep)> replacement) {
    fault() = std::move(replacement);
}

bool writeFileSafely(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
    const QFileInfo target(resolvedTarget(path));
    if (target.exists() && !target.isFile()) return false;
    if (target.fileName().isEmpty()) return false;
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    // A shortened name keeps the temporary name within the file system's limit.
    QByteArray temporary =
        QFile::encodeName(target.absolutePath() + QStringLiteral("/.") +
                          target.fileName().left(64) + QStringLiteral(".XXXXXX"));
    if (!allowed(WriteStep::Create)) return false;
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, modeFor(targetName)) == 0;
    ok = ok && writeAll(fd, bytes.constData(), bytes.size());
    ok = ok && allowed(WriteStep::Sync) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    ok = ok && closed && allowed(WriteStep::Close);
    ok = ok && allowed(WriteStep::Rename) &&
         ::rename(temporary.constData(), targetName.constData()) == 0;
    if (!ok) {
        ::unlink(temporary.constData());
        return false;
    }
    // Make the rename itself durable.
    const int dir = ::open(QFile::encodeName(target.absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace tessel::platform
