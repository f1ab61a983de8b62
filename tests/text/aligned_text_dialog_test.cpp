// The "Insertar texto alineado" dialog: layout, opening state, the options that act at once,
// and the acceptance rule with its message.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "support/ScriptedServices.h"
#include "text/AlignedTextDialog.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

const QString kRefusal =
    QStringLiteral("Datos Incorrectos ...\r\nTamaño demasiado grande o faltan datos ...");

class AlignedTextDialogTest : public ::testing::Test {
  protected:
    // Fills the boxes and presses "Aceptar" on an open dialog.
    void submit(AlignedTextDialog& dialog, const QString& width, const QString& height,
                const QString& text) {
        dialog.widthBox()->setText(width);
        dialog.heightBox()->setText(height);
        dialog.textBox()->setPlainText(text);
        QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    }

    testing::ScriptedServices scripted;
    AlignedTextSettings settings;
};

TEST_F(AlignedTextDialogTest, LaidOutAtItsPlaces) {
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 900, 700);
    mainWindow.show();
    AlignedTextDialog dialog(&mainWindow, settings);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insertar texto alineado"));
    EXPECT_EQ(dialog.size(), QSize(493, 381));
    EXPECT_EQ(dialog.geometry().topLeft(), mainWindow.mapToGlobal(QPoint(105, 114)));
    const char16_t* texts[] = {u"Alinear a la Izquierda", u"Alinear a la Derecha",
                               u"Alinear al Centro", u"Alinear Justificado"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog.alignmentOption(i)->geometry(), QRect(24, 24 + 24 * i, 232, 24));
        EXPECT_EQ(dialog.alignmentOption(i)->text(), QString::fromUtf16(texts[i]));
    }
    EXPECT_EQ(dialog.widthBox()->geometry(), QRect(312, 64, 48, 24));
    EXPECT_EQ(dialog.heightBox()->geometry(), QRect(384, 64, 48, 24));
    EXPECT_EQ(dialog.textBox()->geometry(), QRect(8, 144, 480, 184));
    EXPECT_EQ(dialog.cancelButton()->geometry(), QRect(8, 344, 80, 24));
    EXPECT_EQ(dialog.acceptButton()->geometry(), QRect(408, 344, 80, 24));
    // The size boxes keep what is typed: a letter never joins the digits around it.
    dialog.widthBox()->clear();
    QTest::keyClicks(dialog.widthBox(), QStringLiteral("4a0-0"));
    EXPECT_EQ(dialog.widthBox()->text(), QStringLiteral("4a0-0"));
}

TEST_F(AlignedTextDialogTest, OpensOnTheSettings) {
    AlignedTextDialog fresh(nullptr, settings);
    EXPECT_EQ(fresh.widthBox()->text(), QStringLiteral("0"));
    EXPECT_EQ(fresh.heightBox()->text(), QStringLiteral("0"));
    EXPECT_TRUE(fresh.alignmentOption(0)->isChecked());
    EXPECT_TRUE(fresh.textBox()->toPlainText().isEmpty());

    settings = AlignedTextSettings{};
    settings.left = 0;
    settings.centre = 1;
    settings.text = QStringLiteral("hola mundo");
    settings.areaWidth = 320;
    settings.areaHeight = 40;
    AlignedTextDialog dialog(nullptr, settings);
    EXPECT_TRUE(dialog.alignmentOption(2)->isChecked());
    EXPECT_EQ(dialog.widthBox()->text(), QStringLiteral("320"));
    EXPECT_EQ(dialog.heightBox()->text(), QStringLiteral("40"));
    EXPECT_EQ(dialog.textBox()->toPlainText(), QStringLiteral("hola mundo"));
}

TEST_F(AlignedTextDialogTest, AnOptionTakesEffectAtOnceEvenWhenCancelled) {
    AlignedTextDialog dialog(nullptr, settings);
    dialog.show();
    QTest::mouseClick(dialog.alignmentOption(1), Qt::LeftButton);
    EXPECT_EQ(settings.left, 0);
    EXPECT_EQ(settings.right, 1);
    QTest::mouseClick(dialog.alignmentOption(3), Qt::LeftButton);
    EXPECT_EQ(settings.right, 0);
    EXPECT_EQ(settings.justified, 1);
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(settings.accepted, 0);
    EXPECT_EQ(settings.left + settings.right + settings.centre + settings.justified, 1);
    EXPECT_EQ(settings.justified, 1);
    EXPECT_EQ(settings.alignment, 0);  // only "Aceptar" sets the code
}

TEST_F(AlignedTextDialogTest, LargestAreaIsAcceptedWithTheAlignmentCode) {
    AlignedTextDialog dialog(nullptr, settings);
    dialog.show();
    QTest::mouseClick(dialog.alignmentOption(3), Qt::LeftButton);
    submit(dialog, QStringLiteral("1200"), QStringLiteral("900"), QStringLiteral("uno\ndos\ntres"));
    EXPECT_TRUE(scripted.messages.isEmpty());
    EXPECT_EQ(settings.accepted, 1);
    EXPECT_EQ(settings.alignment, 134);
    EXPECT_EQ(settings.areaWidth, 1200);
    EXPECT_EQ(settings.areaHeight, 900);
    EXPECT_EQ(settings.text, QStringLiteral("uno dos tres"));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(AlignedTextDialogTest, EachAlignmentGivesItsCode) {
    const int codes[] = {131, 132, 133, 134};
    for (int i = 0; i < 4; ++i) {
        AlignedTextDialog dialog(nullptr, settings);
        dialog.show();
        QTest::mouseClick(dialog.alignmentOption(i), Qt::LeftButton);
        submit(dialog, QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("x"));
        EXPECT_EQ(settings.alignment, codes[i]);
    }
}

TEST_F(AlignedTextDialogTest, RefusesOversizeZeroOrEmptyAndKeepsWhatWasRead) {
    struct Case {
        const char* width;
        const char* height;
        const char* text;
    };
    const Case refused[] = {{"1201", "900", "texto"},
                            {"1200", "901", "texto"},
                            {"0", "100", "texto"},
                            {"100", "", "texto"},
                            {"100", "100", ""},
                            {"99999", "100", "texto"},
                            // Not whole numbers: never read as 125 or 19.
                            {"12,5", "100", "texto"},
                            {"100", "1e9", "texto"}};
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height + " '" + c.text + "'");
        scripted.messages.clear();
        AlignedTextDialog dialog(nullptr, settings);
        dialog.show();
        submit(dialog, QString::fromLatin1(c.width), QString::fromLatin1(c.height),
               QString::fromLatin1(c.text));
        ASSERT_EQ(scripted.messages.size(), 1);
        EXPECT_EQ(scripted.messages[0].caption, QStringLiteral("Programador"));
        EXPECT_EQ(scripted.messages[0].text, kRefusal);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(settings.accepted, 1);
        // The values just read stay in the settings.
        EXPECT_EQ(settings.areaWidth, std::min(32767, QString::fromLatin1(c.width).toInt()));
        EXPECT_EQ(settings.areaHeight, QString::fromLatin1(c.height).toInt());
        EXPECT_EQ(settings.text, QString::fromLatin1(c.text));
        // The boxes still hold what was typed.
        EXPECT_EQ(dialog.widthBox()->text(), QString::fromLatin1(c.width));
    }
}

TEST_F(AlignedTextDialogTest, EnterMakesLinesInTheTextAndAcceptsElsewhere) {
    AlignedTextDialog dialog(nullptr, settings);
    dialog.show();
    QTest::keyClicks(dialog.textBox(), QStringLiteral("uno"));
    QTest::keyClick(dialog.textBox(), Qt::Key_Return);
    QTest::keyClicks(dialog.textBox(), QStringLiteral("dos"));
    EXPECT_EQ(dialog.textBox()->toPlainText(), QStringLiteral("uno\ndos"));
    EXPECT_TRUE(dialog.isVisible());
    testing::expectEnterPresses(dialog, dialog.widthBox(), dialog.acceptButton());
    AlignedTextDialog again(nullptr, settings);
    again.show();
    testing::expectEscapeCancels(again, again.textBox());
}

}  // namespace
}  // namespace tessel
