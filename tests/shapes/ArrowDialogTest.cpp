// The "Insertar flechas" dialog: its lists, the settings written at once, millimetres to
// pixels, the size messages and the close box after a refused "Aceptar".

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/DrawingArea.h"
#include "shapes/ArrowDialog.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

const QString kBoth =
    QStringLiteral("No puedes rellenar tamaño en pixel y milimetros a la vez ...");
const QString kNone = QStringLiteral("Rellena Tamaño en pixeles o milimetros ...\r\nGracias !!");

QStringList entriesOf(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

class ArrowDialogTest : public ::testing::Test {
  protected:
    testing::ScriptedServices scripted;
    ArrowSettings settings;
    platform::CustomColours colours{};
};

TEST_F(ArrowDialogTest, ListsHoldTheDocumentedEntries) {
    ArrowDialog dialog(nullptr, settings, colours);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insertar flechas"));
    EXPECT_EQ(dialog.size(), QSize(613, 426));
    EXPECT_EQ(dialog.preview()->surface().size(), QSize(300, 300));
    EXPECT_EQ(dialog.swatch()->surface().size(), QSize(88, 24));
    const QStringList widths = entriesOf(dialog.widthList());
    ASSERT_EQ(widths.size(), 30);
    EXPECT_EQ(widths.front(), QStringLiteral("01 - Grosor lineas flecha"));
    EXPECT_EQ(widths.back(), QStringLiteral("30 - Grosor lineas flecha"));
    EXPECT_EQ(entriesOf(dialog.headsList()),
              QStringList({"0 - Cabezas en la flecha", "1 - Cabeza en la flecha",
                           "2 - Cabezas en la flecha"}));
    EXPECT_EQ(entriesOf(dialog.directionList()),
              QStringList({QStringLiteral("1 - 0º   Inclinacion Flecha"),
                           QStringLiteral("2 - 45º  Inclinacion Flecha"),
                           QStringLiteral("3 - 90º  Inclinacion Flecha"),
                           QStringLiteral("4 - 135º Inclinacion Flecha"),
                           QStringLiteral("5 - 180º Inclinacion Flecha"),
                           QStringLiteral("6 - 225º Inclinacion Flecha"),
                           QStringLiteral("7 - 270º Inclinacion Flecha"),
                           QStringLiteral("8 - 315º Inclinacion Flecha")}));
    EXPECT_EQ(dialog.closedCheck()->text(), QStringLiteral("Cabeza cerrada en forma de triangulo"));
}

TEST_F(ArrowDialogTest, MillimetresBecomePixelsOnAceptar) {
    ArrowDialog dialog(nullptr, settings, colours);
    dialog.show();
    dialog.pixelHeadBox()->clear();
    QTest::keyClicks(dialog.millimetreLengthBox(), QStringLiteral("10"));
    QTest::keyClicks(dialog.millimetreHeadBox(), QStringLiteral("3"));
    QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    // 10 x 3.779527559 = 37.80 and 3 x 3.779527559 = 11.34.
    EXPECT_EQ(settings.arrowLength, 38);
    EXPECT_EQ(settings.arrowHeadSize, 11);
    EXPECT_EQ(settings.arrowAccepted, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(scripted.messages.isEmpty());
}

TEST_F(ArrowDialogTest, RefusedSizesGiveTheirMessagesAndKeepTheDialogOpen) {
    settings.arrowLength = 77;
    struct Case {
        const char* pl;
        const char* ph;
        const char* ml;
        const char* mh;
        QStringList messages;
    } cases[] = {
        {"100", "10", "10", "3", {kBoth, kBoth}},
        {"100", "10", "10", "", {kBoth}},
        {"100", "", "", "", {kNone}},
        {"", "10", "", "", {kNone}},
        {"", "", "10", "", {kNone}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.pl << "/" << c.ph << "/" << c.ml << "/" << c.mh);
        scripted.messages.clear();
        settings.arrowHeadSize = 10;
        ArrowDialog dialog(nullptr, settings, colours);
        dialog.show();
        dialog.pixelHeadBox()->clear();
        QTest::keyClicks(dialog.pixelLengthBox(), QString::fromLatin1(c.pl));
        QTest::keyClicks(dialog.pixelHeadBox(), QString::fromLatin1(c.ph));
        QTest::keyClicks(dialog.millimetreLengthBox(), QString::fromLatin1(c.ml));
        QTest::keyClicks(dialog.millimetreHeadBox(), QString::fromLatin1(c.mh));
        QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
        EXPECT_EQ(scripted.messageTexts(), c.messages);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(settings.arrowLength, 77);
        dialog.close();
        EXPECT_EQ(settings.arrowAccepted, 0);
    }
}

TEST_F(ArrowDialogTest, CloseBoxAfterARefusedAceptarCountsAsCancelled) {
    settings.arrowAccepted = 1;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<ArrowDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->pixelLengthBox(), QStringLiteral("100"));
        QTest::keyClicks(dialog->millimetreLengthBox(), QStringLiteral("5"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
        ASSERT_TRUE(dialog->isVisible());
        dialog->close();
    });
    EXPECT_EQ(ShowArrowDialog(nullptr, settings, colours), 0);
    EXPECT_EQ(settings.arrowAccepted, 0);
    EXPECT_EQ(scripted.messageTexts(), QStringList({kBoth}));
}

TEST_F(ArrowDialogTest, EnterAcceptsAndEscapeCancels) {
    ArrowDialog dialog(nullptr, settings, colours);
    dialog.show();
    QTest::keyClicks(dialog.millimetreLengthBox(), QStringLiteral("10"));
    QTest::keyClicks(dialog.millimetreHeadBox(), QStringLiteral("3"));
    testing::expectEnterPresses(dialog, dialog.millimetreHeadBox(), dialog.acceptButton());
    ArrowDialog again(nullptr, settings, colours);
    again.show();
    testing::expectEscapeCancels(again, again.millimetreLengthBox());
}

}  // namespace
}  // namespace tessel
