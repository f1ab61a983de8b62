// The text properties: the style word, and the dialog's commit and cancel rules, lists and
// sample.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolTip>

#include "platform/DrawingArea.h"
#include "platform/Fonts.h"
#include "support/ScriptedServices.h"
#include "text/FontFamilyList.h"
#include "text/TextPropertiesDialog.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

TEST(StyleBits, EachFlagHasItsBitAndCountsOnlyWhenExactlyOne) {
    const int bits[] = {1, 2, 4, 8, 16};
    for (int i = 0; i < 5; ++i) {
        TextStyleFlags flags;
        int* fields[] = {&flags.bold, &flags.italic, &flags.underline, &flags.strikeout,
                         &flags.leading};
        *fields[i] = 1;
        EXPECT_EQ(styleBits(flags), bits[i]) << i;
        for (int notOne : {2, -1, 255}) {
            *fields[i] = notOne;
            EXPECT_EQ(styleBits(flags), 0) << i << " " << notOne;
        }
    }
    EXPECT_EQ(styleBits(TextStyleFlags{1, 1, 1, 1, 1}), 31);
    EXPECT_EQ(styleBits(TextStyleFlags{1, 0, 3, 1, 0}), 1 + 8);
}

class TextPropertiesDialogTest : public ::testing::Test {
  protected:
    std::unique_ptr<TextPropertiesDialog> open() {
        auto dialog = std::make_unique<TextPropertiesDialog>(nullptr, properties, colours);
        dialog->show();
        return dialog;
    }

    static int darkPixels(const platform::DrawingArea* area) {
        const Surface& s = area->surface();
        int n = 0;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) {
                const Colour c = s.pixel(x, y);
                n += redOf(c) + greenOf(c) + blueOf(c) < 200;
            }
        return n;
    }

    static bool filledWith(const platform::DrawingArea* area, Colour colour) {
        const Surface& s = area->surface();
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.pixel(x, y) != colour) return false;
        return true;
    }

    testing::ScriptedServices scripted;
    TextProperties properties;
    platform::CustomColours colours{};
};

TEST_F(TextPropertiesDialogTest, ControlsAtTheirPlaces) {
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Propiedades Texto"));
    EXPECT_EQ(dialog->size(), QSize(442, 392));
    EXPECT_EQ(dialog->fontList()->geometry(), QRect(8, 24, 304, 24));
    EXPECT_EQ(dialog->sizeList()->geometry(), QRect(314, 24, 120, 24));
    const char* names[] = {"Negrita", "Italica", "Subrayado", "Tachado", "Leading"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(dialog->styleBox(i)->text(), QString::fromLatin1(names[i]));
        EXPECT_EQ(dialog->styleBox(i)->geometry(), QRect(32, 72 + 24 * i, 96, 24));
    }
    EXPECT_EQ(dialog->sample()->geometry(), QRect(152, 64, 280, 136));
    EXPECT_EQ(dialog->foreLabel()->geometry(), QRect(0, 257, 152, 24));
    EXPECT_EQ(dialog->angleBox()->geometry(), QRect(5, 350, 60, 24));
    // 10, 14 and 18 points bold: 13, 18 and 24 pixels.
    EXPECT_EQ(dialog->acceptButton()->font().pixelSize(), 13);
    EXPECT_EQ(dialog->backLabel()->font().pixelSize(), 18);
    EXPECT_EQ(dialog->foreButton()->font().pixelSize(), 24);
    EXPECT_TRUE(dialog->styleBox(0)->font().bold());
}

TEST_F(TextPropertiesDialogTest, SizeListHoldsSixToNinetyAndOpensOnTheCommittedSize) {
    EXPECT_EQ(textSizeEntries().size(), 85);
    auto dialog = open();
    QComboBox* sizes = dialog->sizeList();
    EXPECT_EQ(sizes->count(), 85);
    EXPECT_EQ(sizes->itemText(0), QStringLiteral("06"));
    EXPECT_EQ(sizes->itemText(3), QStringLiteral("09"));
    EXPECT_EQ(sizes->itemText(4), QStringLiteral("10"));
    EXPECT_EQ(sizes->itemText(84), QStringLiteral("90"));
    EXPECT_EQ(sizes->currentText(), QStringLiteral("10"));
    dialog.reset();
    properties.pointSize = 6;
    EXPECT_EQ(open()->sizeList()->currentText(), QStringLiteral("06"));
}

TEST_F(TextPropertiesDialogTest, FontListHoldsEveryFamilySortedAndShowsTheDrawnFace) {
    auto dialog = open();
    QComboBox* fonts = dialog->fontList();
    // Every family once: Qt lists a family of several foundries as "Family [Foundry]".
    QSet<QString> families;
    for (QString family : QFontDatabase::families())
        families.insert(
            family.remove(QRegularExpression(QStringLiteral(" \\[[^]]*\\]$"))).toLower());
    EXPECT_EQ(fonts->count(), families.size());
    for (int i = 1; i < fonts->count(); ++i) {
        EXPECT_LE(QString::compare(fonts->itemText(i - 1), fonts->itemText(i), Qt::CaseInsensitive),
                  0);
    }
    // "Times New Roman" is drawn with its installed twin.
    EXPECT_EQ(fonts->currentText(), QStringLiteral("Liberation Serif"));
    dialog.reset();
    properties.fontName = QStringLiteral("DejaVu Sans Mono");
    EXPECT_EQ(open()->fontList()->currentText(), QStringLiteral("DejaVu Sans Mono"));
}

TEST_F(TextPropertiesDialogTest, AcceptWithoutChangesKeepsEveryField) {
    properties.angleDegrees = 45;
    properties.backColour = 0x123456;
    const TextProperties before = properties;
    auto dialog = open();
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(properties.fontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(properties.pointSize, 10);
    EXPECT_EQ(styleBits(properties.styles), 0);
    EXPECT_EQ(properties.foreColour, before.foreColour);
    EXPECT_EQ(properties.backColour, 0x123456);
    EXPECT_EQ(properties.angleDegrees, 45);
    EXPECT_EQ(properties.angled, 0);
    EXPECT_EQ(properties.transparentBackground, 0);
}

TEST_F(TextPropertiesDialogTest, BoldThenCancelCommitsNothing) {
    auto dialog = open();
    const QImage plainSample = dialog->sample()->surface().image();
    const int plainInk = darkPixels(dialog->sample());
    QTest::mouseClick(dialog->styleBox(0), Qt::LeftButton);
    EXPECT_GT(darkPixels(dialog->sample()), plainInk);  // the sample is redrawn in bold
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(properties.styles.bold, 0);
    dialog.reset();

    dialog = open();
    EXPECT_FALSE(dialog->styleBox(0)->isChecked());
    EXPECT_EQ(dialog->sample()->surface().image(), plainSample);
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(properties.styles.bold, 0);
}

TEST_F(TextPropertiesDialogTest, TransparentSurvivesCancelAndIsCommittedNextTime) {
    auto dialog = open();
    QTest::mouseClick(dialog->transparentBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog->backButton()->isEnabled());
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(properties.transparentBackground, 1);
    EXPECT_EQ(properties.savedBackColour, 0xFFFFFF);
    EXPECT_EQ(properties.backColour, 0xFFFFFF);
    dialog.reset();

    dialog = open();
    EXPECT_TRUE(dialog->transparentBox()->isChecked());
    EXPECT_FALSE(dialog->backLabel()->isEnabled());
    EXPECT_FALSE(dialog->backButton()->isEnabled());
    EXPECT_FALSE(dialog->backSwatch()->isEnabled());
    EXPECT_TRUE(filledWith(dialog->backSwatch(), 0xFFFFFF));
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(properties.backColour, kTransparent);
}

TEST_F(TextPropertiesDialogTest, UntickingTransparentRestoresTheSwatchColour) {
    properties.backColour = 0xFF0000;
    auto dialog = open();
    QTest::mouseClick(dialog->transparentBox(), Qt::LeftButton);
    EXPECT_EQ(properties.savedBackColour, 0xFF0000);
    QTest::mouseClick(dialog->transparentBox(), Qt::LeftButton);
    EXPECT_EQ(properties.transparentBackground, 0);
    EXPECT_TRUE(dialog->backButton()->isEnabled());
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(properties.backColour, 0xFF0000);

    // While transparent the swatch keeps showing the saved colour.
    properties.backColour = kTransparent;
    properties.transparentBackground = 1;
    properties.savedBackColour = 0x00FF00;
    dialog = open();
    EXPECT_TRUE(filledWith(dialog->backSwatch(), 0x00FF00));
    QTest::mouseClick(dialog->transparentBox(), Qt::LeftButton);
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(properties.backColour, 0x00FF00);
}

TEST_F(TextPropertiesDialogTest, SlantIsWrittenAtOnceAndTheAngleReadOnAccept) {
    properties.angleDegrees = 15;
    auto dialog = open();
    EXPECT_EQ(dialog->angleBox()->text(), QStringLiteral("15"));
    EXPECT_FALSE(dialog->angleBox()->isEnabled());
    dialog->angleBox()->setText(QStringLiteral("30"));
    QTest::mouseClick(dialog->angledBox(), Qt::LeftButton);
    EXPECT_EQ(properties.angled, 1);
    EXPECT_EQ(properties.angleDegrees, 30);
    EXPECT_TRUE(dialog->angleBox()->isEnabled());
    // Digits only: a letter is not taken, and the box says so under itself.
    QTest::keyClicks(dialog->angleBox(), QStringLiteral("a"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Aquí solo se pueden escribir cifras."));
    QTest::keyClicks(dialog->angleBox(), QStringLiteral("5"));
    EXPECT_EQ(dialog->angleBox()->text(), QStringLiteral("305"));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(properties.angled, 1);
    EXPECT_EQ(properties.angleDegrees, 30);

    dialog = open();
    dialog->angleBox()->clear();
    QTest::mouseClick(dialog->angledBox(), Qt::LeftButton);  // untick: the box is disabled
    EXPECT_EQ(properties.angled, 0);
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(properties.angleDegrees, 0);  // read from the (empty) box all the same
}

TEST_F(TextPropertiesDialogTest, ColourChoosersChangeTheWorkingCopyOnly) {
    scripted.colourAnswers = {0x0000FF, std::nullopt, 0x00FF00};
    auto dialog = open();
    QTest::mouseClick(dialog->foreButton(), Qt::LeftButton);
    EXPECT_TRUE(filledWith(dialog->foreSwatch(), 0x0000FF));
    QTest::mouseClick(dialog->backButton(), Qt::LeftButton);  // cancelled
    EXPECT_TRUE(filledWith(dialog->backSwatch(), 0xFFFFFF));
    EXPECT_EQ(properties.foreColour, 0);
    // The sample shows the red text.
    bool red = false;
    const Surface& sample = dialog->sample()->surface();
    for (int y = 0; y < sample.height(); ++y)
        for (int x = 0; x < sample.width(); ++x) red = red || sample.pixel(x, y) == 0x0000FF;
    EXPECT_TRUE(red);
    QTest::mouseClick(dialog->backButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(properties.foreColour, 0x0000FF);
    EXPECT_EQ(properties.backColour, 0x00FF00);
    EXPECT_EQ(scripted.colourChooserOpenings, 3);
}

TEST_F(TextPropertiesDialogTest, ConfirmedSizeAndFontAreCommittedOnAccept) {
    auto dialog = open();
    const int inkAt10 = darkPixels(dialog->sample());
    dialog->sizeList()->setFocus();
    for (int i = 0; i < 10; ++i) QTest::keyClick(dialog->sizeList(), Qt::Key_Down);
    EXPECT_EQ(dialog->sizeList()->currentText(), QStringLiteral("20"));
    EXPECT_GT(darkPixels(dialog->sample()), inkAt10);
    const int index = dialog->fontList()->findText(QStringLiteral("DejaVu Sans"));
    ASSERT_GE(index, 0);
    dialog->fontList()->setCurrentIndex(index);
    EXPECT_EQ(properties.fontName, QStringLiteral("Times New Roman"));
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(properties.pointSize, 20);
    EXPECT_EQ(properties.fontName, QStringLiteral("DejaVu Sans"));
}

TEST(FontEntries, EachIsDrawnInItsOwnFaceAtTwelvePoints) {
    const QFont font = FontFamilyList::listFont(QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(font.pixelSize(), 16);  // 12 * 96 / 72
    EXPECT_FALSE(font.bold());

    // Selected entries of the open list in the highlight colours, others in the window colours.
    FontFamilyList list(nullptr);
    FontEntryDelegate delegate;
    for (bool selected : {true, false}) {
        QImage image(200, FontFamilyList::entryHeight(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QStyleOptionViewItem option;
        option.rect = image.rect();
        option.palette = list.palette();
        option.state = selected ? QStyle::State_Selected : QStyle::State_None;
        QPainter painter(&image);
        const int entry = list.findText(QStringLiteral("DejaVu Sans"));
        ASSERT_GE(entry, 0);
        delegate.paint(&painter, option, list.model()->index(entry, 0));
        painter.end();
        const QColor ground = list.palette().color(selected ? QPalette::Highlight : QPalette::Base);
        // Beyond the name's end, inside the focus rectangle.
        EXPECT_EQ(image.pixelColor(180, image.height() / 2), ground) << selected;
        EXPECT_EQ(image.pixelColor(180, 2), ground) << selected;
        // The name itself is drawn in the text colour.
        const QColor text =
            list.palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
        bool textSeen = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 2; x < 100; ++x) textSeen = textSeen || image.pixelColor(x, y) == text;
        EXPECT_TRUE(textSeen) << selected;
    }
}

TEST(FontEntries, EachFamilyIsListedOnceWhateverItsFoundries) {
    // Qt names a family that several foundries offer once per foundry.
    const QStringList names = FontFamilyList::familyNames(
        {QStringLiteral("Z003 [urw]"), QStringLiteral("Liberation Sans"),
         QStringLiteral("Z003 [UKWN]"), QStringLiteral("Nimbus Sans [URW ]"),
         QStringLiteral("Nimbus Sans [urw]"), QStringLiteral("DejaVu Sans"),
         QStringLiteral("Nimbus Sans [UKWN]"), QStringLiteral("dejavu Sans Mono")});
    EXPECT_EQ(names, (QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("dejavu Sans Mono"),
                                  QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                                  QStringLiteral("Z003")}));
    // The list itself: no entry twice, none with a foundry.
    FontFamilyList list(nullptr);
    QSet<QString> seen;
    for (int i = 0; i < list.count(); ++i) {
        const QString entry = list.itemText(i);
        EXPECT_FALSE(seen.contains(entry.toLower())) << entry.toStdString();
        EXPECT_FALSE(entry.endsWith(u']')) << entry.toStdString();
        seen.insert(entry.toLower());
    }
}

TEST(FontEntries, ANameItsFaceCannotShowIsDrawnInTheDialogFace) {
    EXPECT_TRUE(FontFamilyList::showsOwnName(QStringLiteral("DejaVu Sans")));
    EXPECT_TRUE(FontFamilyList::showsOwnName(QStringLiteral("Liberation Serif")));
    // A face that is not installed is drawn in a fallback face, which shows the name.
    EXPECT_TRUE(FontFamilyList::showsOwnName(QStringLiteral("No Such Face At All")));
    auto drawn = [](const QString& face) {
        QImage image(300, FontFamilyList::entryHeight(), QImage::Format_RGB32);
        QPainter painter(&image);
        drawFontEntry(painter, image.rect(), face, Qt::white, Qt::black, false);
        return image;
    };
    // Every symbol face installed (dingbats, emoji ...) shows its name as the dialogs' face
    // would draw it; a face that shows its own name is drawn differently.
    const QString dialogFace = platform::substituteFace(QStringLiteral("MS Sans Serif"));
    auto inDialogFace = [&](const QString& name) {
        QImage image(300, FontFamilyList::entryHeight(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(FontFamilyList::listFont(dialogFace));
        painter.setPen(Qt::black);
        painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
        return image;
    };
    EXPECT_NE(drawn(QStringLiteral("DejaVu Serif")), inDialogFace(QStringLiteral("DejaVu Serif")));
    for (const QString& family : FontFamilyList::familyNames(QFontDatabase::families())) {
        if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol)) continue;
        EXPECT_FALSE(FontFamilyList::showsOwnName(family)) << family.toStdString();
        EXPECT_EQ(drawn(family), inDialogFace(family)) << family.toStdString();
    }
}

TEST(FontEntries, ClosedFieldShowsItsEntryInTheWindowColours) {
    FontFamilyList list(nullptr);
    list.setGeometry(0, 0, 304, 24);
    list.selectFace(QStringLiteral("Times New Roman"));
    list.show();
    const QImage shot = list.grab().toImage();
    const QColor window = list.palette().color(QPalette::Base);
    const QColor highlight = list.palette().color(QPalette::Highlight);
    int windowPixels = 0, highlightPixels = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            windowPixels += shot.pixelColor(x, y) == window;
            highlightPixels += shot.pixelColor(x, y) == highlight;
        }
    EXPECT_GT(windowPixels, 304 * 24 / 3);
    EXPECT_EQ(highlightPixels, 0);
}

TEST_F(TextPropertiesDialogTest, EnterAcceptsAndEscapeCancels) {
    auto dialog = open();
    testing::expectEnterPresses(*dialog, dialog->angleBox(), dialog->acceptButton());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    auto again = open();
    testing::expectEscapeCancels(*again, again->angleBox());
}

}  // namespace
}  // namespace tessel
