#include "calendar/HolidayFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QtEndian>

#include "platform/Paths.h"
#include "platform/RegularFile.h"
#include "platform/SafeFile.h"

namespace tessel {

namespace {

void putNumber(char* at, std::int32_t value) {
    qToLittleEndian<std::int32_t>(value, at);
}
std::int32_t numberAt(const char* at) {
    return qFromLittleEndian<std::int32_t>(at);
}

// The largest file that is read: the whole file is needed, since a save writes back every
// record the table does not show. Far more than any list of holidays.
constexpr qint64 kMostBytesRead = qint64(4) * 1024 * 1024 * kHolidayRecordBytes;

QString tooManyMessage() {
    return QStringLiteral(
               "El fichero de dias festivos tiene demasiados registros: solo se leen los %1 "
               "primeros; los demas se conservan en el fichero ...")
        .arg(kMaxHolidaySlots);
}

QString damagedMessage(qsizetype records) {
    return QStringLiteral(
               "El fichero de dias festivos esta dañado: %1 registros no son dias del "
               "calendario; se conservan en el fichero sin mostrarse ...")
        .arg(records);
}

void putRecord(QByteArray& bytes, const Holiday& h, std::int32_t deleted) {
    char record[kHolidayRecordBytes];
    putNumber(record, h.day);
    putNumber(record + 4, h.month);
    putNumber(record + 8, h.colour);
    putNumber(record + 12, deleted);
    bytes.append(record, kHolidayRecordBytes);
}

QString unreadableMessage(const QString& path) {
    return QStringLiteral("No se puede leer el fichero de dias festivos ...\r\n") + path;
}

}  // namespace

QString holidayFilePath(const QString& executableFolder, const QString& dataFolder,
                        bool installed) {
    const QString dataFile = QDir(dataFolder).filePath(kHolidayFileName);
    const bool hasFolder = !executableFolder.isEmpty() && QFileInfo(executableFolder).isDir();
    const QString besideFile =
        hasFolder ? QDir(executableFolder).filePath(kHolidayFileName) : QString();
    if (hasFolder && holidayFileExists(besideFile)) {
        // Saves of a file that cannot be written where it is go to the data folder, so the
        // copy there is the newer one.
        if (!platform::isWritableTarget(besideFile) && holidayFileExists(dataFile)) return dataFile;
        return besideFile;
    }
    if (holidayFileExists(dataFile) || installed || !hasFolder) return dataFile;
    return besideFile;
}

QString holidayDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString defaultHolidayFilePath() {
    const QString folder = platform::executableFolder();
    return holidayFilePath(folder, holidayDataFolder(), platform::isInstalledProgramFolder(folder));
}

QString holidaySavePath(const QString& path, const QString& dataFolder) {
    const QString dataFile = QDir(dataFolder).filePath(kHolidayFileName);
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(dataFile).absoluteFilePath()) return path;
    return platform::isWritableTarget(path) ? path : dataFile;
}

QString holidayMovedMessage(const QString& from, const QString& to) {
    return QStringLiteral("No se puede grabar el fichero de dias festivos en\r\n") + from +
           QStringLiteral("\r\nSe ha grabado en\r\n") + to + QStringLiteral(" ...");
}

bool holidayFileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

QByteArray encodeHolidays(const HolidayTable& table) {
    QByteArray bytes;
    for (const Holiday& h : table.used()) {
        if (h.deleted == 0) putRecord(bytes, h, 0);
    }
    for (const Holiday& h : table.kept()) putRecord(bytes, h, h.deleted);
    bytes.append(table.keptTail());
    return bytes;
}

void decodeHolidays(const QByteArray& bytes, HolidayTable& table, QString* problem) {
    table.reset();
    const qsizetype records = bytes.size() / kHolidayRecordBytes;
    qsizetype damaged = 0;
    bool full = false;
    for (qsizetype n = 0; n < records; ++n) {
        const char* at = bytes.constData() + n * kHolidayRecordBytes;
        const Holiday h{numberAt(at), numberAt(at + 4), numberAt(at + 8), numberAt(at + 12)};
        if (!isCalendarDay(h.day, h.month)) {
            ++damaged;
            table.keep(h);
        } else if (full || !table.append(h)) {
            full = true;
            table.keep(h);
        }
    }
    table.keepTail(bytes.mid(records * kHolidayRecordBytes));
    table.rebuildColourMap();
    if (!problem) return;
    QStringList problems;
    if (damaged > 0) {
        problems << damagedMessage(damaged);
    } else if (!bytes.isEmpty() && bytes.count('\0') == bytes.size()) {
        problems << QStringLiteral(
            "El fichero de dias festivos esta dañado: no contiene ningun dia ...");
    }
    if (full) problems << tooManyMessage();
    *problem = problems.join(QStringLiteral("\r\n"));
}

HolidayLoad loadHolidays(const QString& path, HolidayTable& table) {
    table.reset();
    HolidayLoad result;
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, kMostBytesRead);
    if (!bytes) {
        result.problem = unreadableMessage(path);
        return result;
    }
    result.read = true;
    decodeHolidays(*bytes, table, &result.problem);
    return result;
}

bool writeHolidays(const QString& path, const HolidayTable& table) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) return false;
    return platform::writeFileSafely(path, encodeHolidays(table));
}

bool eraseHolidayFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return true;
    if (!info.isFile() && !info.isSymLink()) return false;
    // A file made read-only by hand is still the user's to remove.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return QFile::remove(path);
}

QString holidaySaveFailedMessage(const QString& path) {
    return QStringLiteral(
               "No se ha podido grabar el fichero de dias festivos; el anterior "
               "queda como estaba ...\r\n") +
           path;
}

QString holidayEraseFailedMessage(const QString& path) {
    return QStringLiteral("No se ha podido borrar el fichero de dias festivos ...\r\n") + path;
}

}  // namespace tessel
