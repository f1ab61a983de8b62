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

// Where the file is read from. An existing file beside the executable is read there, even when
// its folder cannot be written (unless a copy saved in its stead is in the data folder); else an
// existing file in the data folder; else, with no file anywhere, an installed program keeps it
// in the data folder and one run from its build or unpacked folder beside the executable.
QString holidayFilePath(const QString& executableFolder, const QString& dataFolder,
                        bool installed = false);
// The user's data folder (QStandardPaths::AppDataLocation).
QString holidayDataFolder();
// The same for this run of the program.
QString defaultHolidayFilePath();
// Where a save of the file at `path` goes: there when the safe writer may write it, otherwise
// into the data folder.
QString holidaySavePath(const QString& path, const QString& dataFolder);
// The message that says a save went to the data folder instead.
QString holidayMovedMessage(const QString& from, const QString& to);

// True when a regular file stands at the path.
bool holidayFileExists(const QString& path);

// The records of the live slots in use, in slot order, then the records kept aside, then the
// partial tail kept aside.
QByteArray encodeHolidays(const HolidayTable& table);

struct HolidayLoad {
    bool read = false;  // the file could be read
    QString problem;    // a message for the user, or empty
};

// Recreates the table from the file: one slot per whole record of a real calendar day, up to
// kMaxHolidaySlots, then the colour map. Records of days that do not exist and records beyond
// the limit are kept aside in the table (and written back by every save), with a message; a
// file of nothing but zero bytes is damaged; a partial tail is kept aside without a word. A
// file that cannot be read leaves the table empty.
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
