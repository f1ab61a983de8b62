#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
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

// The temporary file `prefix` + six random letters, created for writing with the permissions a
// new file gets: the system applies the process's file-creation mask (or the folder's default
// access list) itself, so the mask is never read by changing it, which would change it for
// every thread of the process. -1 when it cannot be created.
int createTemporary(const QByteArray& prefix, QByteArray& name) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix;
        for (int i = 0; i < 6; ++i) {
            name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
        }
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// A file being replaced keeps its permissions; a new one keeps those it was created with.
bool keepPermissions(int fd, const QByteArray& target) {
    struct stat old {};
    if (::stat(target.constData(), &old) != 0) return true;
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// The file really written: the end of a chain of symbolic links (which need not exist yet: a
// link to a missing file is written through to that file, as the shell's ">" does), or the path
// itself. Empty for a chain that loops or is longer than the system follows.
QString resolvedTarget(const QString& path) {
    QFileInfo info(path);
    for (int links = 0; info.isSymLink(); ++links) {
        if (links >= 40) return {};
        info = QFileInfo(info.symLinkTarget());
    }
    return info.absoluteFilePath();
}

// A folder entry this user may replace: writable for the user, as the system's own check says
// (permissions, access lists, read-only mounts), and not marked read-only by its mode. The
// second rule keeps a file or folder made read-only with chmod read-only for root as well, who
// passes every access check: only a deliberate chmod makes it writable again.
bool mayWrite(const QByteArray& name) {
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) return false;
    const int wanted = S_ISDIR(info.st_mode) ? (W_OK | X_OK) : W_OK;
    return ::faccessat(AT_FDCWD, name.constData(), wanted, AT_EACCESS) == 0 &&
           (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

}  // namespace

bool isWritableTarget(const QString& path) {
    const QString resolved = resolvedTarget(path);
    if (resolved.isEmpty()) return false;
    const QFileInfo target(resolved);
    if (target.exists() && !mayWrite(QFile::encodeName(target.absoluteFilePath()))) return false;
    return mayWrite(QFile::encodeName(target.absolutePath()));
}

void setWriteFault(std::function<bool(WriteStep)> replacement) {
    fault() = std::move(replacement);
}

bool writeFileSafely(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
    const QString resolved = resolvedTarget(path);
    if (resolved.isEmpty()) return false;
    const QFileInfo target(resolved);
    if (target.exists() && !target.isFile()) return false;
    if (target.fileName().isEmpty()) return false;
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    // The rename below would get round the permissions of the file and of its folder.
    if (!isWritableTarget(target.absoluteFilePath())) return false;
    // A shortened name keeps the temporary name within the file system's limit.
    const QByteArray prefix = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") +
                                                target.fileName().left(64) + QStringLiteral("."));
    if (!allowed(WriteStep::Create)) return false;
    QByteArray temporary;
    const int fd = createTemporary(prefix, temporary);
    if (fd < 0) return false;
    bool ok = keepPermissions(fd, targetName);
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
