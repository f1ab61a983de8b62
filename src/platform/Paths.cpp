#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef TESSEL_INSTALL_BINDIR
#define TESSEL_INSTALL_BINDIR "/usr/local/bin"
#endif

namespace tessel::platform {

namespace {

// The folder with its links resolved, so that /bin and /usr/bin (one folder on most systems)
// compare equal; the cleaned path when it does not exist.
QString resolvedFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

}  // namespace

QString executableFolder() {
    return QCoreApplication::applicationDirPath();
}

QString installedProgramFolder() {
    return QStringLiteral(TESSEL_INSTALL_BINDIR);
}

bool isInstalledProgramFolder(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QString resolved = resolvedFolder(folder);
    for (const QString& place :
         {installedProgramFolder(), QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin")}) {
        if (resolved == resolvedFolder(place)) return true;
    }
    return false;
}

}  // namespace tessel::platform
