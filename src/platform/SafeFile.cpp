#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessel::platform {

namespace {

bool writeAll(int fd, const char* data, qsizetype size) {
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

}  // namespace

bool writeFileSafely(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) return false;
    QByteArray pattern = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") +
                                           target.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return false;
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    mode_t mode = 0666;
    struct stat old {};
    if (::stat(QFile::encodeName(path).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;
    ok = ok && writeAll(fd, bytes.constData(), bytes.size());
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(pattern.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok) {
        ::unlink(pattern.constData());
        return false;
    }
    // Make the rename itself durable.
    const int dir = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace tessel::platform
