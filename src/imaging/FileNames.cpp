#include "imaging/FileNames.h"

#include <QFileInfo>

namespace tessel {

namespace {

// The index of the "." that starts the file name's extension, or -1.
qsizetype extensionStart(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return dot > slash ? dot : -1;
}

}  // namespace

QString TrimExtension(const QString& path) {
    const qsizetype dot = extensionStart(path);
    return dot < 0 ? path : path.left(dot);
}

QString ExtensionOf(const QString& path) {
    const qsizetype dot = extensionStart(path);
    return dot < 0 ? QString() : path.mid(dot);
}

bool FileIsPresent(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

}  // namespace tessel
