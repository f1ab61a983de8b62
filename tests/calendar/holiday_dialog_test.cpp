// The "Configurador Dias Festivos" dialog: opening with and without the file, inserting with
// its checks, deleting, saving, erasing, the owner-drawn rows, taking a row's colour and the
// question on leaving.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "calendar/CalendarTestHelpers.h"
#include "calendar/HolidayDialog.h"
#include "calendar/HolidayFile.h"
#include "calendar/HolidayList.h"
#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

using testing::readBytes;
using testing::recordBytes;
using testing::writeBytes;

constexpr Colour kRed = 0x0000FF;
constexpr Colour kDarkGreen = 0x008B00;
const QString kInvalid = QStringLiteral(
    "Tienes que seleccionar mes, escribir dia y seleccionar un color, todo correctamente ...");

class HolidayDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        path = folder.filePath(QStringLiteral("Fiestas.log"));
    }

    std::unique_ptr<HolidayDialog> open(QDate today = QDate(2026, 6, 15)) {
        auto dialog = std::make_unique<HolidayDialog>(nullptr, table, path, colours, today);
        dialog->show();
        return dialog;
    }

    static void enter(HolidayDialog& dialog, int day, int month) {
        dialog.dayBox()->clear();
        if (day > 0) QTest::keyClicks(dialog.dayBox(), QString::number(day));
        dialog.monthList()->setCurrentIndex(month - 1);
        QTest::mouseClick(dialog.insertButton(), Qt::LeftButton);
    }

    static QStringList rows(const HolidayDialog& dialog) {
        QStringList texts;
        for (int i = 0; i < dialog.list()->count(); ++i) texts << dialog.list()->item(i)->text();
        return texts;
    }

    QTemporaryDir folder;
    QString path;
    testing::ScriptedServices scripted;
    HolidayTable table;
    platform::CustomColours colours{};
};

bool swatchIs(platform::DrawingArea* swatch, Colour colour) {
    const Surface& s = swatch->surface();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != colour) return false;
    return true;
}

TEST_F(HolidayDialogTest, LayoutAndOpeningWithoutTheFile) {
    ASSERT_TRUE(table.append({1, 1, kRed, 0}));  // left over from an earlier opening
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Configurador Dias Festivos"));
    EXPECT_EQ(dialog->size(), QSize(746, 197));
    EXPECT_EQ(dialog->dayBox()->geometry(), QRect(8, 32, 32, 32));
    EXPECT_EQ(dialog->monthList()->geometry(), QRect(48, 32, 192, 24));
    EXPECT_EQ(dialog->insertButton()->geometry(), QRect(552, 88, 184, 32));
    EXPECT_EQ(dialog->exitButton()->text(), QStringLiteral("Salir"));
    EXPECT_EQ(dialog->hint()->geometry(), QRect(92, 112, 190, 75));
    const QRect list = dialog->list()->geometry();
    EXPECT_EQ(list.topLeft(), QPoint(288, 8));
    EXPECT_LE(list.bottom(), 197);  // inside the dialog
    // Six rows show, each 14 pixels taller than the font's line.
    EXPECT_EQ(dialog->list()->rowHeight(), QFontMetrics(dialog->list()->font()).height() + 14);
    EXPECT_EQ(dialog->list()->viewport()->height() / dialog->list()->rowHeight(), 6);

    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(dialog->list()->count(), 0);
    EXPECT_FALSE(dialog->eraseFileButton()->isEnabled());
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    EXPECT_FALSE(dialog->deleteButton()->isEnabled());
    EXPECT_TRUE(dialog->insertButton()->isEnabled());
    ASSERT_EQ(dialog->monthList()->count(), 12);
    EXPECT_EQ(dialog->monthList()->itemText(0), QStringLiteral("01 - Enero"));
    EXPECT_EQ(dialog->monthList()->itemText(11), QStringLiteral("12 - Diciembre"));
    EXPECT_EQ(dialog->monthList()->currentIndex(), -1);
    EXPECT_EQ(dialog->currentColour(), kDarkGreen);
    EXPECT_TRUE(swatchIs(dialog->swatch(), kDarkGreen));
    EXPECT_EQ(dialog->changes(), HolidayChanges::None);

    enter(*dialog, 1, 5);
    EXPECT_EQ(rows(*dialog), QStringList{QStringLiteral("000 dia 1 de Mayo")});
    EXPECT_TRUE(dialog->saveButton()->isEnabled());
    EXPECT_TRUE(dialog->deleteButton()->isEnabled());
    EXPECT_FALSE(dialog->eraseFileButton()->isEnabled());
    EXPECT_EQ(dialog->changes(), HolidayChanges::Unsaved);
    EXPECT_FALSE(QFileInfo::exists(path));  // inserting never touches the file
}

TEST_F(HolidayDialogTest, InsertRefusesWhatIsNotADayOfTheCurrentYear) {
    auto dialog = open(QDate(2023, 3, 1));
    dialog->dayBox()->clear();
    QTest::mouseClick(dialog->insertButton(), Qt::LeftButton);  // nothing at all
    enter(*dialog, 0, 5);                                       // no day
    dialog->monthList()->setCurrentIndex(-1);
    QTest::keyClicks(dialog->dayBox(), QStringLiteral("5"));
    QTest::mouseClick(dialog->insertButton(), Qt::LeftButton);  // no month
    enter(*dialog, 31, 4);
    enter(*dialog, 29, 2);  // 2023 is no leap year
    // Typed characters are kept, never dropped to join the digits around them ("1,5" is not 15).
    for (const QString& typed : {QStringLiteral("1,5"), QStringLiteral("1a")}) {
        dialog->dayBox()->clear();
        QTest::keyClicks(dialog->dayBox(), typed);
        dialog->monthList()->setCurrentIndex(4);
        QTest::mouseClick(dialog->insertButton(), Qt::LeftButton);
    }
    EXPECT_EQ(scripted.messageTexts(), QStringList(7, kInvalid));
    for (const auto& m : scripted.messages) EXPECT_EQ(m.caption, QStringLiteral("Programador"));
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(dialog->changes(), HolidayChanges::None);
    // The day box takes two characters, as typed.
    dialog->dayBox()->clear();
    QTest::keyClicks(dialog->dayBox(), QStringLiteral("a1-234"));
    EXPECT_EQ(dialog->dayBox()->text(), QStringLiteral("a1"));
}

TEST_F(HolidayDialogTest, TwentyNinthOfFebruaryFollowsTheLeapYears) {
    for (const auto& [year, accepted] :
         {std::pair{2000, true}, {2024, true}, {1900, false}, {2100, false}}) {
        scripted.messages.clear();
        auto dialog = open(QDate(year, 1, 10));
        enter(*dialog, 29, 2);
        EXPECT_EQ(table.count(), accepted ? 1 : 0) << year;
        EXPECT_EQ(scripted.messages.size(), accepted ? 0 : 1) << year;
    }
}

TEST_F(HolidayDialogTest, DuplicatesAreRefusedUntilTheFirstIsDeleted) {
    auto dialog = open();
    enter(*dialog, 25, 12);
    enter(*dialog, 25, 12);
    EXPECT_EQ(scripted.messageTexts(),
              QStringList{QStringLiteral("Este dia ya esta en la lista de festivos ...")});
    EXPECT_EQ(table.count(), 1);
    dialog->list()->setCurrentRow(0);
    QTest::mouseClick(dialog->deleteButton(), Qt::LeftButton);
    enter(*dialog, 25, 12);
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(rows(*dialog),
              (QStringList{QStringLiteral("000 "), QStringLiteral("001 dia 25 de Diciembre")}));
}

TEST_F(HolidayDialogTest, InsertDeleteSaveWritesTheLiveRecords) {
    auto dialog = open();
    scripted.colourAnswers.push_back(kRed);
    QTest::mouseClick(dialog->colourButton(), Qt::LeftButton);
    enter(*dialog, 1, 5);
    scripted.colourAnswers.push_back(rgb(0, 0, 200));
    QTest::mouseClick(dialog->colourButton(), Qt::LeftButton);
    enter(*dialog, 6, 1);
    enter(*dialog, 25, 12);
    dialog->list()->setCurrentRow(1);
    QTest::mouseClick(dialog->deleteButton(), Qt::LeftButton);
    const QStringList shown = rows(*dialog);
    ASSERT_EQ(shown.size(), 3);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("000 dia")));
    EXPECT_EQ(shown[1], QStringLiteral("001 "));
    EXPECT_TRUE(shown[2].startsWith(QStringLiteral("002 dia")));
    EXPECT_EQ(table.slot(1).colour, 0);
    EXPECT_EQ(dialog->changes(), HolidayChanges::Unsaved);

    QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
    const QByteArray expected = recordBytes({{1, 5, kRed, 0}, {25, 12, rgb(0, 0, 200), 0}});
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(readBytes(path).size(), 32);
    EXPECT_EQ(scripted.messageTexts(),
              QStringList{QStringLiteral("Termine de grabar colores dias festivos ...")});
    EXPECT_TRUE(dialog->eraseFileButton()->isEnabled());
    EXPECT_EQ(dialog->changes(), HolidayChanges::Saved);
}

TEST_F(HolidayDialogTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    ASSERT_TRUE(QDir().mkpath(path));  // a folder stands where the file goes
    auto dialog = open();
    enter(*dialog, 1, 5);
    QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
    ASSERT_EQ(scripted.messages.size(), 1);
    EXPECT_TRUE(scripted.messages[0].text.startsWith(
        QStringLiteral("No se ha podido grabar el fichero de dias festivos")));
    EXPECT_EQ(dialog->changes(), HolidayChanges::Unsaved);
    EXPECT_FALSE(dialog->eraseFileButton()->isEnabled());
    EXPECT_TRUE(QFileInfo(path).isDir());

    // Leaving: Yes, the write fails again, the dialog stays open with its changes.
    scripted.yesNoAnswers = {true};
    QTest::mouseClick(dialog->exitButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(scripted.messages.size(), 3);
    EXPECT_EQ(table.count(), 1);
    // No: it closes without writing.
    scripted.yesNoAnswers = {false};
    QTest::mouseClick(dialog->exitButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(HolidayDialogTest, OpeningWithAFileListsItsHolidaysAndSelectsTheLastOfMany) {
    ASSERT_TRUE(
        writeBytes(path, recordBytes({{1, 5, kRed, 0}, {25, 12, kRed, 0}, {6, 1, kRed, 0}})));
    {
        auto dialog = open();
        EXPECT_EQ(rows(*dialog), (QStringList{QStringLiteral("000 dia 1 de Mayo"),
                                              QStringLiteral("001 dia 25 de Diciembre"),
                                              QStringLiteral("002 dia 6 de Enero")}));
        EXPECT_TRUE(dialog->eraseFileButton()->isEnabled());
        EXPECT_TRUE(dialog->saveButton()->isEnabled());
        EXPECT_TRUE(dialog->deleteButton()->isEnabled());
        EXPECT_TRUE(dialog->list()->selectedItems().isEmpty());  // six or fewer: no selection
        for (int day = 1; day <= 3; ++day) enter(*dialog, day, 2);
        EXPECT_TRUE(dialog->list()->selectedItems().isEmpty());
        enter(*dialog, 4, 2);  // the seventh row
        ASSERT_EQ(dialog->list()->count(), 7);
        EXPECT_EQ(dialog->list()->currentRow(), 6);
        EXPECT_TRUE(dialog->list()->item(6)->isSelected());
        dialog->list()->setCurrentRow(0);
        QTest::mouseClick(dialog->deleteButton(), Qt::LeftButton);
        EXPECT_EQ(dialog->list()->currentRow(), 6);  // refilled: the last again
        scripted.yesNoAnswers = {false};
    }
    // Unsaved changes are lost when the dialog opens again.
    auto again = open();
    EXPECT_EQ(again->list()->count(), 3);
}

TEST_F(HolidayDialogTest, RowsInTheirColourOnBlackAndSelectedInHighlight) {
    ASSERT_TRUE(writeBytes(path, recordBytes({{1, 5, kRed, 0}, {2, 5, kRed, 0}})));
    auto dialog = open();
    HolidayList* list = dialog->list();
    const QRect row = list->visualItemRect(list->item(0));
    ASSERT_EQ(row.height(), list->rowHeight());
    QImage shot = list->viewport()->grab().toImage();
    const int middle = row.center().y();
    EXPECT_EQ(shot.pixelColor(row.right() - 2, middle), QColor(Qt::black));
    int red = 0;
    for (int x = row.left(); x < row.left() + 120; ++x) {
        for (int y = row.top(); y <= row.bottom(); ++y) {
            const QColor c = shot.pixelColor(x, y);
            if (c != QColor(Qt::black)) {
                EXPECT_EQ(c.green(), 0);
                EXPECT_EQ(c.blue(), 0);
                red += c.red() == 255;
            }
        }
    }
    EXPECT_GT(red, 0);

    list->setCurrentRow(0);
    shot = list->viewport()->grab().toImage();
    const QColor highlight = list->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(shot.pixelColor(row.right() - 2, middle), highlight);
    // The black separator along the row's last line, selected or not.
    for (int x = row.left(); x <= row.right(); x += 7) {
        EXPECT_EQ(shot.pixelColor(x, row.bottom()), QColor(Qt::black)) << x;
    }
    EXPECT_EQ(shot.pixelColor(row.right() - 2, row.bottom() - 1), highlight);
}

TEST_F(HolidayDialogTest, DoubleClickTakesTheRowsColour) {
    ASSERT_TRUE(writeBytes(path, recordBytes({{1, 5, kRed, 0}, {2, 5, rgb(1, 2, 3), 0}})));
    auto dialog = open();
    HolidayList* list = dialog->list();
    const QPoint at = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(dialog->currentColour(), rgb(1, 2, 3));
    EXPECT_TRUE(swatchIs(dialog->swatch(), rgb(1, 2, 3)));
    enter(*dialog, 3, 5);
    EXPECT_EQ(table.slot(2).colour, rgb(1, 2, 3));

    // Without a selection, double click and delete do nothing.
    list->clearSelection();
    QTest::mouseClick(dialog->deleteButton(), Qt::LeftButton);
    for (int i = 0; i < table.count(); ++i) EXPECT_EQ(table.slot(i).deleted, 0);
}

TEST_F(HolidayDialogTest, ColourChooserCancelledChangesNothing) {
    auto dialog = open();
    scripted.colourAnswers.push_back(std::nullopt);
    QTest::mouseClick(dialog->colourButton(), Qt::LeftButton);
    EXPECT_EQ(scripted.colourChooserOpenings, 1);
    EXPECT_EQ(dialog->currentColour(), kDarkGreen);
    EXPECT_TRUE(swatchIs(dialog->swatch(), kDarkGreen));
}

TEST_F(HolidayDialogTest, LeavingAsksOnlyAboutUnsavedChanges) {
    {
        auto dialog = open();
        QTest::mouseClick(dialog->exitButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(scripted.messages.isEmpty());
    }
    {
        auto dialog = open();
        enter(*dialog, 1, 5);
        scripted.yesNoAnswers = {false};
        QTest::mouseClick(dialog->exitButton(), Qt::LeftButton);
        ASSERT_EQ(scripted.messages.size(), 1);
        EXPECT_TRUE(scripted.messages[0].yesNo);
        EXPECT_EQ(scripted.messages[0].text,
                  QStringLiteral(
                      "Ha realizado cambios en dias festivos ...\r\nDesea grabar los cambios ?"));
        EXPECT_FALSE(QFileInfo::exists(path));
    }
    {
        scripted.messages.clear();
        auto dialog = open();
        enter(*dialog, 25, 12);
        scripted.yesNoAnswers = {true};
        QTest::keyClick(dialog.get(), Qt::Key_Escape);  // leaving by the keyboard asks too
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(scripted.messages.size(), 1);  // no message after the write
        EXPECT_EQ(readBytes(path), recordBytes({{25, 12, kDarkGreen, 0}}));
    }
    {
        scripted.messages.clear();
        auto dialog = open();
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->exitButton(), Qt::LeftButton);
        EXPECT_EQ(scripted.messages.size(), 1);  // saved: no question
    }
}

TEST_F(HolidayDialogTest, EraseFileRemovesTheFileButNotTheList) {
    ASSERT_TRUE(writeBytes(path, recordBytes({{1, 5, kRed, 0}})));
    auto dialog = open();
    QTest::mouseClick(dialog->eraseFileButton(), Qt::LeftButton);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(scripted.messageTexts(), QStringList{QStringLiteral("Fichero borrado ...")});
    EXPECT_EQ(dialog->list()->count(), 1);
    EXPECT_EQ(table.count(), 1);
}

TEST_F(HolidayDialogTest, TheTableGrowsPast401SlotsAndRefusesBeyondItsLimit) {
    QByteArray deleted;
    for (int i = 0; i < 401; ++i) deleted += recordBytes({{1, 1, 0, 1}});
    ASSERT_TRUE(writeBytes(path, deleted));
    {
        auto dialog = open();
        ASSERT_EQ(table.count(), 401);
        enter(*dialog, 1, 1);
        EXPECT_EQ(table.count(), 402);
        EXPECT_EQ(dialog->list()->item(401)->text(), QStringLiteral("401 dia 1 de Enero"));
        EXPECT_TRUE(scripted.messages.isEmpty());
        scripted.yesNoAnswers = {false};
    }
    QByteArray full;
    for (int i = 0; i < kMaxHolidaySlots; ++i) full += recordBytes({{1, 1, 0, 1}});
    ASSERT_TRUE(writeBytes(path, full));
    auto dialog = open();
    ASSERT_EQ(table.count(), kMaxHolidaySlots);
    enter(*dialog, 1, 1);
    EXPECT_EQ(table.count(), kMaxHolidaySlots);
    ASSERT_EQ(scripted.messages.size(), 1);
    EXPECT_TRUE(scripted.messages[0].text.startsWith(QStringLiteral("No caben mas dias festivos")));
}

TEST_F(HolidayDialogTest, AFileThatCannotBeWrittenWhereItIsIsSavedInTheDataFolderAndSaysSo) {
    // The user's data folder inside the test's folder.
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.filePath(QStringLiteral("datos"))));
    const QString program = folder.filePath(QStringLiteral("programa"));
    ASSERT_TRUE(QDir().mkpath(program));
    path = QDir(program).filePath(QStringLiteral("Fiestas.log"));
    const QByteArray old = recordBytes({{1, 5, kRed, 0}});
    ASSERT_TRUE(writeBytes(path, old));
    ASSERT_EQ(::chmod(QFile::encodeName(program).constData(), 0555), 0);
    const QString saved = QDir(holidayDataFolder()).filePath(QStringLiteral("Fiestas.log"));
    ASSERT_TRUE(saved.startsWith(folder.path()));
    {
        auto dialog = open();
        ASSERT_EQ(table.count(), 1);  // read where it is
        enter(*dialog, 25, 12);
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
        ASSERT_EQ(scripted.messages.size(), 2);
        EXPECT_TRUE(scripted.messages[0].text.contains(path));
        EXPECT_TRUE(scripted.messages[0].text.contains(saved));
        EXPECT_EQ(scripted.messages[1].text,
                  QStringLiteral("Termine de grabar colores dias festivos ..."));
        // A second save goes to the same place without a word more.
        enter(*dialog, 6, 1);
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
        EXPECT_EQ(scripted.messages.size(), 3);
    }
    EXPECT_EQ(readBytes(saved),
              recordBytes({{1, 5, kRed, 0}, {25, 12, kDarkGreen, 0}, {6, 1, kDarkGreen, 0}}));
    EXPECT_EQ(holidayFilePath(program, holidayDataFolder()), saved);
    ::chmod(QFile::encodeName(program).constData(), 0755);
    EXPECT_EQ(readBytes(path), old);
    if (oldDataHome.isEmpty()) {
        qunsetenv("XDG_DATA_HOME");
    } else {
        qputenv("XDG_DATA_HOME", oldDataHome);
    }
}

TEST_F(HolidayDialogTest, EnterInsertsTheTypedHolidayAndEscapeLeaves) {
    auto dialog = open();
    dialog->monthList()->setCurrentIndex(4);
    QTest::keyClicks(dialog->dayBox(), QStringLiteral("1"));
    testing::expectEnterPresses(*dialog, dialog->dayBox(), dialog->insertButton());
    EXPECT_EQ(rows(*dialog).size(), 1);
    EXPECT_TRUE(dialog->isVisible());
    scripted.yesNoAnswers = {false};  // leave without saving
    testing::expectEscapeCancels(*dialog, dialog->dayBox());
}

}  // namespace
}  // namespace tessel
