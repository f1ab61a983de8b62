// The holiday table and its file: the 16-byte record format, loading sound and damaged files,
// the colour map, the safe write and where the file lives.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>

#include "calendar/CalendarTestHelpers.h"
#include "calendar/HolidayFile.h"
#include "platform/Paths.h"

namespace tessel {
namespace {

using testing::readBytes;
using testing::recordBytes;
using testing::writeBytes;

constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x008B00;
constexpr Colour kBlue = 0xFF0000;

class HolidayFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        path = folder.filePath(QStringLiteral("Fiestas.log"));
    }
    QTemporaryDir folder;
    QString path;
    HolidayTable table;
};

TEST_F(HolidayFileTest, WritesLiveSlotsAsLittleEndianRecordsInSlotOrder) {
    ASSERT_TRUE(table.append({25, 12, 0x00123456, 0}));
    ASSERT_TRUE(table.append({1, 5, kRed, 0}));
    ASSERT_TRUE(table.append({6, 1, kBlue, 0}));
    ASSERT_TRUE(table.remove(1));
    ASSERT_TRUE(writeHolidays(path, table));
    const QByteArray expected = recordBytes({{25, 12, 0x00123456, 0}, {6, 1, kBlue, 0}});
    ASSERT_EQ(expected.size(), 32);
    EXPECT_EQ(readBytes(path), expected);
    // The first record's colour byte by byte: red 0x56, green 0x34, blue 0x12, top 0.
    const QByteArray bytes = readBytes(path);
    EXPECT_EQ(bytes.mid(8, 4), QByteArray("\x56\x34\x12\x00", 4));
}

TEST_F(HolidayFileTest, WhatIsWrittenReadsBackIdentically) {
    for (int m = 1; m <= 12; ++m) ASSERT_TRUE(table.append({m, m, rgb(m * 20, 255 - m, m), 0}));
    ASSERT_TRUE(writeHolidays(path, table));
    const QByteArray first = readBytes(path);
    HolidayTable again;
    const HolidayLoad load = loadHolidays(path, again);
    EXPECT_TRUE(load.read);
    EXPECT_TRUE(load.problem.isEmpty());
    ASSERT_EQ(again.count(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(again.slot(i).day, i + 1);
        EXPECT_EQ(again.slot(i).month, i + 1);
        EXPECT_EQ(again.slot(i).colour, rgb((i + 1) * 20, 255 - (i + 1), i + 1));
        EXPECT_EQ(again.slot(i).deleted, 0);
    }
    ASSERT_TRUE(writeHolidays(path, again));
    EXPECT_EQ(readBytes(path), first);
}

TEST_F(HolidayFileTest, FortyEightBytesAreThreeHolidaysAndFillTheColourMap) {
    ASSERT_TRUE(
        writeBytes(path, recordBytes({{1, 5, kRed, 0}, {25, 12, kGreen, 0}, {1, 5, kBlue, 0}})));
    ASSERT_TRUE(holidayFileExists(path));
    const HolidayLoad load = loadHolidays(path, table);
    EXPECT_TRUE(load.read);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.slot(1).day, 25);
    // A later record of the same day overwrites an earlier one.
    EXPECT_EQ(table.mapColour(1, 5), kBlue);
    EXPECT_EQ(table.mapColour(25, 12), kGreen);
    EXPECT_EQ(table.mapColour(2, 5), 0);
    EXPECT_EQ(table.mapColour(0, 5), 0);
    EXPECT_EQ(table.mapColour(1, 13), 0);
}

TEST_F(HolidayFileTest, InsertingAndDeletingLeaveTheColourMapAsLoaded) {
    ASSERT_TRUE(writeBytes(path, recordBytes({{1, 5, kRed, 0}})));
    loadHolidays(path, table);
    ASSERT_TRUE(table.append({2, 5, kGreen, 0}));
    ASSERT_TRUE(table.remove(0));
    EXPECT_EQ(table.mapColour(1, 5), kRed);
    EXPECT_EQ(table.mapColour(2, 5), 0);
    EXPECT_EQ(table.slot(0).colour, 0);
    EXPECT_EQ(table.slot(0).deleted, 1);
}

TEST_F(HolidayFileTest, DamagedFiles) {
    // A partial tail is left out of the table without a word, and kept: a save writes it back
    // last, after a holiday added meanwhile.
    QByteArray bytes = recordBytes({{1, 5, kRed, 0}, {2, 5, kRed, 0}});
    const QByteArray tail("\x07\x00\x00\x00\x03\x00\x00", 7);
    ASSERT_TRUE(writeBytes(path, bytes + tail));
    EXPECT_TRUE(loadHolidays(path, table).problem.isEmpty());
    EXPECT_EQ(table.count(), 2);
    ASSERT_TRUE(table.append({3, 5, kGreen, 0}));
    ASSERT_TRUE(writeHolidays(path, table));
    EXPECT_EQ(readBytes(path), bytes + recordBytes({{3, 5, kGreen, 0}}) + tail);

    // Days and months that do not exist stay out of the table and of the colour map.
    ASSERT_TRUE(writeBytes(path, recordBytes({{0, 5, kRed, 0},
                                              {32, 1, kRed, 0},
                                              {31, 4, kRed, 0},
                                              {30, 2, kRed, 0},
                                              {10, 0, kRed, 0},
                                              {10, 13, kRed, 0},
                                              {-3, -7, kRed, 0},
                                              {29, 2, kGreen, 0}})));
    loadHolidays(path, table);
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.slot(0).day, 29);
    EXPECT_EQ(table.mapColour(29, 2), kGreen);
    EXPECT_EQ(table.mapColour(31, 4), 0);
    EXPECT_EQ(table.mapColour(30, 2), 0);

    // Random bytes load without a crash, and whatever loads is a real day.
    QByteArray noise;
    std::uint32_t state = 12345;
    for (int i = 0; i < 16 * 500 + 9; ++i) {
        state = state * 1103515245u + 12345u;
        noise.append(char(state >> 24));
    }
    ASSERT_TRUE(writeBytes(path, noise));
    loadHolidays(path, table);
    for (int i = 0; i < table.count(); ++i) {
        EXPECT_TRUE(isCalendarDay(table.slot(i).day, table.slot(i).month));
    }
}

TEST_F(HolidayFileTest, MoreThan401RecordsGrowTheTableUpToItsLimit) {
    QByteArray bytes;
    for (int i = 0; i < 500; ++i) bytes += recordBytes({{1 + i % 28, 1 + i % 12, i + 1, 0}});
    ASSERT_TRUE(writeBytes(path, bytes));
    HolidayLoad load = loadHolidays(path, table);
    EXPECT_TRUE(load.problem.isEmpty());
    ASSERT_EQ(table.count(), 500);
    EXPECT_EQ(table.slot(499).colour, 500);
    ASSERT_TRUE(writeHolidays(path, table));
    EXPECT_EQ(readBytes(path), bytes);  // nothing lost

    // Beyond the limit the extra records are refused with a message.
    bytes.clear();
    for (int i = 0; i < kMaxHolidaySlots + 5; ++i) bytes += recordBytes({{1, 1, i + 1, 0}});
    ASSERT_TRUE(writeBytes(path, bytes));
    load = loadHolidays(path, table);
    EXPECT_TRUE(load.read);
    EXPECT_FALSE(load.problem.isEmpty());
    EXPECT_EQ(table.count(), kMaxHolidaySlots);
    EXPECT_FALSE(table.append({2, 2, 1, 0}));
}

TEST_F(HolidayFileTest, DeletedFlagIsKeptAsStoredAndNeverWritten) {
    ASSERT_TRUE(writeBytes(path, recordBytes({{1, 5, kRed, 1}, {2, 5, kGreen, 0}})));
    loadHolidays(path, table);
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.slot(0).deleted, 1);
    EXPECT_EQ(table.mapColour(1, 5), 0);
    EXPECT_FALSE(table.isDuplicate(1, 5));
    EXPECT_TRUE(table.isDuplicate(2, 5));
    ASSERT_TRUE(writeHolidays(path, table));
    EXPECT_EQ(readBytes(path), recordBytes({{2, 5, kGreen, 0}}));
}

TEST_F(HolidayFileTest, AFailedWriteKeepsTheOldFile) {
    const QByteArray old = recordBytes({{1, 5, kRed, 0}});
    ASSERT_TRUE(writeBytes(path, old));
    ASSERT_TRUE(table.append({25, 12, kGreen, 0}));
    // A folder where the file should be cannot be replaced.
    const QString blocked = folder.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/Fiestas.log")));
    EXPECT_FALSE(writeHolidays(blocked + QStringLiteral("/Fiestas.log"), table));
    // A folder that cannot be made (a file stands in its place).
    EXPECT_FALSE(writeHolidays(path + QStringLiteral("/Fiestas.log"), table));
    EXPECT_EQ(readBytes(path), old);
    // A file made read-only stays as it is (for root too).
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    EXPECT_FALSE(writeHolidays(path, table));
    EXPECT_EQ(readBytes(path), old);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(HolidayFileTest, MissingOrUnreadableFiles) {
    EXPECT_FALSE(holidayFileExists(path));
    ASSERT_TRUE(table.append({1, 1, kRed, 0}));
    HolidayLoad load = loadHolidays(path, table);
    EXPECT_FALSE(load.read);
    EXPECT_EQ(table.count(), 0);

    ASSERT_TRUE(QDir().mkpath(path));  // a folder, not a file
    EXPECT_FALSE(holidayFileExists(path));
    load = loadHolidays(path, table);
    EXPECT_FALSE(load.read);
    EXPECT_FALSE(load.problem.isEmpty());
}

TEST_F(HolidayFileTest, EraseRemovesTheFileAndAMissingFileIsNoError) {
    ASSERT_TRUE(writeBytes(path, recordBytes({{1, 5, kRed, 0}})));
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    EXPECT_TRUE(eraseHolidayFile(path));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(eraseHolidayFile(path));
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_FALSE(eraseHolidayFile(path));  // a folder of that name is not removed
}

TEST_F(HolidayFileTest, LivesBesideTheExecutableWhenThatFolderIsWritable) {
    const QString data = folder.filePath(QStringLiteral("data"));
    EXPECT_EQ(holidayFilePath(folder.path(), data), QDir(folder.path()).filePath("Fiestas.log"));
    const QString missing = folder.filePath(QStringLiteral("no-such-folder"));
    EXPECT_EQ(holidayFilePath(missing, data), QDir(data).filePath("Fiestas.log"));
    EXPECT_EQ(holidayFilePath(QString(), data), QDir(data).filePath("Fiestas.log"));

    // Saving into the data folder makes it.
    ASSERT_TRUE(table.append({1, 5, kRed, 0}));
    ASSERT_TRUE(writeHolidays(holidayFilePath(missing, data), table));
    EXPECT_EQ(readBytes(QDir(data).filePath("Fiestas.log")).size(), 16);
}

TEST_F(HolidayFileTest, ASaveKeepsEveryRecordTheTableCannotShow) {
    // 1,200 real days: the first 1,000 are shown, the other 200 are written back untouched.
    QByteArray records;
    for (int i = 0; i < 1200; ++i) records += recordBytes({{1 + i % 28, 1 + i % 12, i + 1, 0}});
    ASSERT_TRUE(writeBytes(path, records));
    HolidayLoad load = loadHolidays(path, table);
    EXPECT_TRUE(load.problem.contains(QStringLiteral("demasiados registros")));
    ASSERT_EQ(table.count(), kMaxHolidaySlots);
    ASSERT_TRUE(writeHolidays(path, table));
    EXPECT_EQ(readBytes(path), records);
    // Deleting the first holiday drops that record only.
    ASSERT_TRUE(table.remove(0));
    ASSERT_TRUE(writeHolidays(path, table));
    EXPECT_EQ(readBytes(path), records.mid(16));

    // Days that do not exist stay in the file, after the holidays of the table.
    const QByteArray bad = recordBytes({{0, 5, kRed, 0}, {10, 13, kBlue, 0}, {30, 2, kGreen, 1}});
    ASSERT_TRUE(writeBytes(
        path, recordBytes(
                  {{0, 5, kRed, 0}, {25, 12, kGreen, 0}, {10, 13, kBlue, 0}, {30, 2, kGreen, 1}})));
    load = loadHolidays(path, table);
    EXPECT_TRUE(load.problem.startsWith(QStringLiteral("El fichero de dias festivos esta dañado")));
    EXPECT_TRUE(load.problem.contains(QStringLiteral(" 3 registros")));
    ASSERT_EQ(table.count(), 1);
    ASSERT_TRUE(table.append({1, 1, kRed, 0}));
    ASSERT_TRUE(writeHolidays(path, table));
    EXPECT_EQ(readBytes(path), recordBytes({{25, 12, kGreen, 0}, {1, 1, kRed, 0}}) + bad);
}

TEST_F(HolidayFileTest, AFileOfZeroBytesIsDamagedNotTooLong) {
    for (const qsizetype size : {qsizetype(5), qsizetype(16), qsizetype(16) * 1500 + 3}) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(writeBytes(path, QByteArray(size, '\0')));
        const HolidayLoad load = loadHolidays(path, table);
        EXPECT_TRUE(load.read);
        EXPECT_TRUE(
            load.problem.startsWith(QStringLiteral("El fichero de dias festivos esta dañado")));
        EXPECT_FALSE(load.problem.contains(QStringLiteral("demasiados")));
        EXPECT_EQ(table.count(), 0);
    }
}

TEST_F(HolidayFileTest, AnInstalledProgramKeepsTheFileInTheDataFolder) {
    const QString program = folder.filePath(QStringLiteral("bin"));
    const QString data = folder.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(program));
    const QString beside = QDir(program).filePath("Fiestas.log");
    const QString inData = QDir(data).filePath("Fiestas.log");
    // No file anywhere: installed in the data folder, from a build folder beside the program.
    EXPECT_EQ(holidayFilePath(program, data, true), inData);
    EXPECT_EQ(holidayFilePath(program, data, false), beside);
    // A file beside the program is read there, installed or not.
    ASSERT_TRUE(writeBytes(beside, recordBytes({{1, 5, kRed, 0}})));
    EXPECT_EQ(holidayFilePath(program, data, true), beside);
    EXPECT_EQ(holidayFilePath(program, data, false), beside);
    EXPECT_EQ(holidaySavePath(beside, data), beside);
    // A file in the data folder is read from a build folder that holds none.
    ASSERT_TRUE(QFile::remove(beside));
    ASSERT_TRUE(QDir().mkpath(data));
    ASSERT_TRUE(writeBytes(inData, recordBytes({{2, 5, kRed, 0}})));
    EXPECT_EQ(holidayFilePath(program, data, false), inData);

    EXPECT_TRUE(platform::isInstalledProgramFolder(platform::installedProgramFolder()));
    EXPECT_TRUE(platform::isInstalledProgramFolder(QStringLiteral("/usr/bin")));
    EXPECT_FALSE(platform::isInstalledProgramFolder(program));
}

TEST_F(HolidayFileTest, AFileBesideAProgramInAFolderThatCannotBeWrittenIsReadAndSavedElsewhere) {
    const QString program = folder.filePath(QStringLiteral("bin"));
    const QString data = folder.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(program));
    const QString beside = QDir(program).filePath("Fiestas.log");
    const QByteArray old = recordBytes({{1, 5, kRed, 0}, {25, 12, kGreen, 0}});
    ASSERT_TRUE(writeBytes(beside, old));
    const QByteArray folderName = QFile::encodeName(program);
    ASSERT_EQ(::chmod(folderName.constData(), 0555), 0);
    for (const bool installed : {false, true}) {
        EXPECT_EQ(holidayFilePath(program, data, installed), beside);
    }
    ASSERT_EQ(loadHolidays(beside, table).read, true);
    EXPECT_EQ(table.count(), 2);
    const QString target = holidaySavePath(beside, data);
    EXPECT_EQ(target, QDir(data).filePath("Fiestas.log"));
    ASSERT_TRUE(table.append({6, 1, kBlue, 0}));
    ASSERT_TRUE(writeHolidays(target, table));
    // The saved copy is read from then on; the one beside the program is left as it was.
    EXPECT_EQ(holidayFilePath(program, data, false), target);
    EXPECT_EQ(readBytes(target), old + recordBytes({{6, 1, kBlue, 0}}));
    ::chmod(folderName.constData(), 0755);
    EXPECT_EQ(readBytes(beside), old);
}

}  // namespace
}  // namespace tessel
