#include "recovery/RecoveryFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

namespace tessel::recovery {
namespace {

const QString kPrefix = QStringLiteral("tessel-");
const QString kPictureSuffix = QStringLiteral(".png");
const QString kLockSuffix = QStringLiteral(".lock");

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

QString lockPathOf(const QString& picturePath) {
    return picturePath.left(picturePath.size() - kPictureSuffix.size()) + kLockSuffix;
}

// The lock of a copy, taken without waiting; -1 while its owner runs (or another program has
// claimed it). `create`: make the lock file when it is missing.
int takeLock(const QString& lockPath, bool create) {
    const QByteArray name = encoded(lockPath);
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    // The file may have been removed (and made again) by the one who held it before: the lock
    // counts only on the file the name still gives.
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) != 0 || ::stat(name.constData(), &named) != 0 ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void removeFile(const QString& path) {
    ::unlink(encoded(path).constData());
}

// The copy a temporary file of the safe writer was to become: ".NAME.XXXXXX" gives NAME.
QString targetOfTemporary(const QString& fileName) {
    const int dot = fileName.lastIndexOf(u'.');
    if (!fileName.startsWith(u'.') || dot <= 1) return {};
    return fileName.mid(1, dot - 1);
}

// Temporary files and lock files that programs which have ended left without a copy.
void removeLeftovers(const QDir& dir) {
    const QStringList temporaries =
        dir.entryList({u'.' + kPrefix + u'*' + kPictureSuffix + QStringLiteral(".*")},
                      QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& temporary : temporaries) {
        const QString target = targetOfTemporary(temporary);
        if (!target.startsWith(kPrefix) || !target.endsWith(kPictureSuffix)) continue;
        const QString lockPath = lockPathOf(dir.filePath(target));
        if (QFileInfo::exists(lockPath)) {
            const int fd = takeLock(lockPath, false);
            if (fd < 0) continue;  // its writer is running
            removeFile(dir.filePath(temporary));
            ::close(fd);
        } else {
            removeFile(dir.filePath(temporary));
        }
    }
    const QStringList locks = dir.entryList({kPrefix + u'*' + kLockSuffix}, QDir::Files);
    for (const QString& lock : locks) {
        const QString lockPath = dir.filePath(lock);
        const QString picture =
            lockPath.left(lockPath.size() - kLockSuffix.size()) + kPictureSuffix;
        if (QFileInfo::exists(picture)) continue;
        const int fd = takeLock(lockPath, false);
        if (fd < 0) continue;
        if (!QFileInfo::exists(picture)) removeFile(lockPath);
        ::close(fd);
    }
}

}  // namespace

QString stateFolder() {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.isEmpty() && QDir::isAbsolutePath(state)) return state + QStringLiteral("/tessel");
    return QDir::homePath() + QStringLiteral("/.local/state/tessel");
}

// ---- this program's copy ---------------------------------------------------------------

OwnCopy::OwnCopy(const QString& folder)
    : folder_(folder),
      name_(kPrefix + QString::number(QCoreApplication::applicationPid()) + u'-' +
            QString::number(QDateTime::currentMSecsSinceEpoch())) {}

OwnCopy::~OwnCopy() {
    if (lockFd_ >= 0) ::close(lockFd_);
}

QString OwnCopy::picturePath() const {
    return folder_ + u'/' + name_ + kPictureSuffix;
}

QString OwnCopy::lockPath() const {
    return folder_ + u'/' + name_ + kLockSuffix;
}

bool OwnCopy::lock() {
    if (lockFd_ >= 0) return true;
    if (!QDir().mkpath(folder_)) return false;
    ::chmod(encoded(folder_).constData(), 0700);
    lockFd_ = takeLock(lockPath(), true);
    return lockFd_ >= 0;
}

void OwnCopy::remove() {
    removeFile(picturePath());
    if (lockFd_ < 0) return;
    removeFile(lockPath());
    ::close(lockFd_);
    lockFd_ = -1;
}

// ---- copies of programs that have ended ------------------------------------------------

ClaimedCopy::~ClaimedCopy() {
    release();
}

ClaimedCopy::ClaimedCopy(ClaimedCopy&& other) noexcept
    : path_(std::move(other.path_)), lockFd_(std::exchange(other.lockFd_, -1)) {}

ClaimedCopy& ClaimedCopy::operator=(ClaimedCopy&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        lockFd_ = std::exchange(other.lockFd_, -1);
    }
    return *this;
}

QString ClaimedCopy::lockPath() const {
    return lockPathOf(path_);
}

void ClaimedCopy::release() {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
}

void ClaimedCopy::remove() {
    if (lockFd_ < 0) return;
    removeFile(path_);
    removeFile(lockPath());
    release();
}

bool ClaimedCopy::handOver(OwnCopy& own) {
    if (lockFd_ < 0 || !own.lock()) return false;
    if (::rename(encoded(path_).constData(), encoded(own.picturePath()).constData()) != 0) {
        return false;
    }
    removeFile(lockPath());
    release();
    return true;
}

std::vector<ClaimedCopy> claimAbandonedCopies(const QString& folder) {
    std::vector<ClaimedCopy> claimed;
    const QDir dir(folder);
    if (!dir.exists()) return claimed;
    removeLeftovers(dir);
    const QFileInfoList copies =
        dir.entryInfoList({kPrefix + u'*' + kPictureSuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo& copy : copies) {
        const int fd = takeLock(lockPathOf(copy.filePath()), true);
        if (fd < 0) continue;
        if (!QFileInfo::exists(copy.filePath())) {  // recovered or removed meanwhile
            removeFile(lockPathOf(copy.filePath()));
            ::close(fd);
            continue;
        }
        claimed.emplace_back(copy.filePath(), fd);
    }
    return claimed;
}

}  // namespace tessel::recovery
