#pragma once
// The holiday file "Fiestas.log": a headerless sequence of 16-byte records, each four 32-bit
// little-endian numbers (day, month, colour, deleted). Only live records are written, so the
// deleted field on disk is always 0.

#include <QByteArray>
#include <QString>

#include "calendar/HolidayTable.h"

namespace tessel {

inline constexpr int kHolidayRecordBytes = 16;
inline const QString kHolidayFileName = QStringLiteral("Fiestas.log");

// Where the file lives: beside the executable when that folder is writable, otherwise in the
// user's data folder.
QString holidayFilePath(const QString& executableFolder, const QString& dataFolder);
// The same for this run of the program (QStandardPaths::AppDataLocation as the data folder).
QString defaultHolidayFilePath();

// True when a regular file stands at the path.
bool holidayFileExists(const QString& path);

// The records of the live slots in use, in slot order.
QByteArray encodeHolidays(const HolidayTable& table);

struct HolidayLoad {
    bool read = false;  // the file could be read
    QString problem;    // a message for the user, or empty
};

// Recreates the table from the file: one slot per whole record (a partial tail is ignored,
// records of days that do not exist are left out, records beyond kMaxHolidaySlots are refused
// with a message), then the colour map. A file that cannot be read leaves the table empty.
HolidayLoad loadHolidays(const QString& path, HolidayTable& table);
// Loads the bytes of a file (the same rules).
void decodeHolidays(const QByteArray& bytes, HolidayTable& table, QString* problem = nullptr);

// Writes the live slots as the whole new file through the safe writer (creating the folder
// when needed); false, with the old file left as it was, when that fails.
bool writeHolidays(const QString& path, const HolidayTable& table);
// Removes the file; true when no file is left at the path.
bool eraseHolidayFile(const QString& path);

// The user's messages for the file.
QString holidaySaveFailedMessage(const QString& path);
QString holidayEraseFailedMessage(const QString& path);

}  // namespace tessel
