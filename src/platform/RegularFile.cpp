#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>

namespace tessel::platform {

bool isRegularFile(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes) {
    if (path.isEmpty()) return std::nullopt;
    // Non-blocking, so that opening a named pipe cannot wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<QByteArray> result;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
        qsizetype done = 0;
        bool failed = false;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                failed = true;  // the file shrank or could not be read
                break;
            }
            done += got;
        }
        if (!failed) result = std::move(bytes);
    }
    ::close(fd);
    return result;
}

}  // namespace tessel::platform
