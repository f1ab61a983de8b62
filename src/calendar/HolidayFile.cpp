#include "calendar/HolidayFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include "platform/Paths.h"
#include "platform/SafeFile.h"

namespace tessel {

namespace {

void putNumber(char* at, std::int32_t value) {
    qToLittleEndian<std::int32_t>(value, at);
}
std::int32_t numberAt(const char* at) {
    return qFromLittleEndian<std::int32_t>(at);
}

// The most of a file that is read: far more records than the table takes, so that a table
// full of records of days that do not exist is still noticed.
constexpr qint64 kMostBytesRead = qint64(16) * kMaxHolidaySlots * kHolidayRecordBytes;

QString tooManyMessage() {
    return QStringLiteral(
               "El fichero de dias festivos tiene demasiados registros: solo se leen los %1 "
               "primeros ...")
        .arg(kMaxHolidaySlots);
}

QString unreadableMessage(const QString& path) {
    return QStringLiteral("No se puede leer el fichero de dias festivos ...\r\n") + path;
}

}  // namespace

QString holidayFilePath(const QString& executableFolder, const QString& dataFolder) {
    const QFileInfo folder(executableFolder);
    if (!executableFolder.isEmpty() && folder.isDir() && folder.isWritable()) {
        return QDir(executableFolder).filePath(kHolidayFileName);
    }
    return QDir(dataFolder).filePath(kHolidayFileName);
}

QString defaultHolidayFilePath() {
    return holidayFilePath(platform::executableFolder(),
                           QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool holidayFileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

QByteArray encodeHolidays(const HolidayTable& table) {
    QByteArray bytes;
    for (const Holiday& h : table.used()) {
        if (h.deleted != 0) continue;
        char record[kHolidayRecordBytes];
        putNumber(record, h.day);
        putNumber(record + 4, h.month);
        putNumber(record + 8, h.colour);
        putNumber(record + 12, 0);
        bytes.append(record, kHolidayRecordBytes);
    }
    return bytes;
}

void decodeHolidays(const QByteArray& bytes, HolidayTable& table, QString* problem) {
    table.reset();
    const qsizetype records = bytes.size() / kHolidayRecordBytes;
    for (qsizetype n = 0; n < records; ++n) {
        const char* at = bytes.constData() + n * kHolidayRecordBytes;
        const Holiday h{numberAt(at), numberAt(at + 4), numberAt(at + 8), numberAt(at + 12)};
        if (!isCalendarDay(h.day, h.month)) continue;
        if (!table.append(h)) {
            if (problem) *problem = tooManyMessage();
            break;
        }
    }
    table.rebuildColourMap();
}

HolidayLoad loadHolidays(const QString& path, HolidayTable& table) {
    table.reset();
    HolidayLoad result;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        result.problem = unreadableMessage(path);
        return result;
    }
    const QByteArray bytes = file.read(kMostBytesRead);
    if (file.error() != QFileDevice::NoError) {
        result.problem = unreadableMessage(path);
        return result;
    }
    result.read = true;
    decodeHolidays(bytes, table, &result.problem);
    if (result.problem.isEmpty() && file.size() > kMostBytesRead) result.problem = tooManyMessage();
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
