// The "Insertar cuadrados y circulos" dialog: its lists, the enabling rule, the transparent
// interior, its own custom colours and the size rules of "Aceptar".

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/DrawingArea.h"
#include "shapes/ShapeDialog.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

const QString kBoth =
    QStringLiteral("No puedes rellenar tamaño en pixel y milimetros a la vez ...");
const QString kNone = QStringLiteral("Rellena Tamaño en pixeles o milimetros ...\r\nGracias !!");

Colour centreOf(platform::DrawingArea* area) {
    const Surface& s = area->surface();
    return s.pixel(s.width() / 2, s.height() / 2);
}

void clickOption(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

QStringList entriesOf(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

class ShapeDialogTest : public ::testing::Test {
  protected:
    testing::ScriptedServices scripted;
    ShapeSettings settings;
};

TEST_F(ShapeDialogTest, ListsHoldTheDocumentedEntries) {
    ShapeDialog dialog(nullptr, settings);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insertar cuadrados y circulos"));
    EXPECT_EQ(dialog.size(), QSize(358, 616));
    EXPECT_EQ(dialog.preview()->surface().size(), QSize(160, 152));
    EXPECT_EQ(dialog.rectangleOption()->text(), QStringLiteral("Insertar Cuadrado o Rectangulo"));
    EXPECT_EQ(
        entriesOf(dialog.fillStyleList()),
        QStringList({"0 - Solido", "1 - Lineas Horizontales", "2 - Lineas Verticales",
                     "3 - Lineas Diagonales hacia arriba", "4 - Lineas Diagonales hacia abajo",
                     "5 - Cruce de Lineas", "6 - Cruce de Lineas Diagonales"}));
    EXPECT_EQ(entriesOf(dialog.lineStyleList()),
              QStringList(
                  {"0 - Solido", "1 - Raya", "2 - Punto", "3 - RayaPunto", "4 - RayaPuntoPunto"}));
    const QStringList widths = entriesOf(dialog.widthList());
    ASSERT_EQ(widths.size(), 15);
    EXPECT_EQ(widths.front(), QStringLiteral("01 - Grosor de linea"));
    EXPECT_EQ(widths.at(8), QStringLiteral("09 - Grosor de linea"));
    EXPECT_EQ(widths.back(), QStringLiteral("15 - Grosor de linea"));
}

TEST_F(ShapeDialogTest, EnablingRuleFollowsShapeAndRoundedCheck) {
    ShapeDialog dialog(nullptr, settings);
    dialog.show();
    EXPECT_TRUE(dialog.roundedCheck()->isEnabled());
    EXPECT_FALSE(dialog.roundingBox()->isEnabled());

    clickOption(dialog.ellipseOption());
    EXPECT_EQ(settings.shapeKind, ShapeKind::Ellipse);
    EXPECT_FALSE(dialog.roundedCheck()->isEnabled());
    EXPECT_FALSE(dialog.roundingBox()->isEnabled());

    clickOption(dialog.rectangleOption());
    EXPECT_EQ(settings.shapeKind, ShapeKind::Rectangle);
    EXPECT_TRUE(dialog.roundedCheck()->isEnabled());
    EXPECT_FALSE(dialog.roundingBox()->isEnabled());

    clickOption(dialog.roundedCheck());
    EXPECT_EQ(settings.shapeRounded, 1);
    EXPECT_TRUE(dialog.roundingBox()->isEnabled());
    dialog.roundingBox()->clear();
    QTest::keyClicks(dialog.roundingBox(), QStringLiteral("35"));
    EXPECT_EQ(settings.shapeCornerPercent, 35);

    clickOption(dialog.ellipseOption());
    EXPECT_FALSE(dialog.roundingBox()->isEnabled());
    clickOption(dialog.rectangleOption());
    EXPECT_TRUE(dialog.roundingBox()->isEnabled());  // the check is still ticked
}

TEST_F(ShapeDialogTest, TransparentInteriorRemembersAndRestoresTheColour) {
    scripted.colourAnswers = {0x00FFFF};
    ShapeDialog dialog(nullptr, settings);
    dialog.show();
    QTest::mouseClick(dialog.interiorButton(), Qt::LeftButton);
    EXPECT_EQ(settings.shapeFillColour, 0x00FFFF);
    EXPECT_EQ(centreOf(dialog.interiorSwatch()), 0x00FFFF);

    clickOption(dialog.transparentCheck());
    EXPECT_EQ(settings.shapeTransparent, 1);
    EXPECT_EQ(settings.shapeFillColour, kTransparent);
    EXPECT_EQ(settings.shapeSavedFillColour, 0x00FFFF);
    EXPECT_FALSE(dialog.interiorButton()->isEnabled());
    // The preview's interior shows the preview background, not the colour.
    const Surface& preview = dialog.preview()->surface();
    EXPECT_EQ(preview.pixel(75, 75), preview.pixel(5, 5));

    clickOption(dialog.transparentCheck());
    EXPECT_EQ(settings.shapeTransparent, 0);
    EXPECT_EQ(settings.shapeFillColour, 0x00FFFF);
    EXPECT_TRUE(dialog.interiorButton()->isEnabled());
    EXPECT_EQ(centreOf(dialog.interiorSwatch()), 0x00FFFF);
    EXPECT_EQ(preview.pixel(75, 75), 0x00FFFF);
}

TEST_F(ShapeDialogTest, ColourChooserUsesTheDialogsOwnSlots) {
    // A chooser that changes the slots it is given: only the shapes' own table changes.
    struct SlotWriter : platform::ColourChooser {
        std::optional<Colour> choose(QWidget*, platform::CustomColours& table) override {
            table[0] = 0x010203;
            return 0x0000FF;
        }
    } writer;
    platform::Services replacement;
    replacement.colours = &writer;
    platform::installServices(replacement);
    const platform::CustomColours programBefore = platform::programColours();
    {
        ShapeDialog dialog(nullptr, settings);
        dialog.show();
        QTest::mouseClick(dialog.borderButton(), Qt::LeftButton);
        EXPECT_EQ(centreOf(dialog.borderSwatch()), 0x0000FF);
    }
    platform::installServices({nullptr, &scripted, nullptr});
    EXPECT_EQ(settings.shapeBorderColour, 0x0000FF);
    EXPECT_EQ(settings.customColours[0], 0x010203);
    EXPECT_EQ(platform::programColours(), programBefore);
}

TEST_F(ShapeDialogTest, MillimetresBecomePixelsOnAceptar) {
    ShapeDialog dialog(nullptr, settings);
    dialog.show();
    QTest::keyClicks(dialog.millimetreWidthBox(), QStringLiteral("20"));
    QTest::keyClicks(dialog.millimetreHeightBox(), QStringLiteral("10"));
    QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    // 20 x 3.779527559 = 75.59 and 10 x 3.779527559 = 37.80.
    EXPECT_EQ(settings.shapeWidth, 76);
    EXPECT_EQ(settings.shapeHeight, 38);
    EXPECT_EQ(settings.shapeAccepted, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(scripted.messages.isEmpty());
}

TEST_F(ShapeDialogTest, RefusedSizesGiveTheirMessagesAndKeepTheDialogOpen) {
    settings.shapeWidth = 7;
    settings.shapeHeight = 8;
    struct Case {
        const char* pw;
        const char* ph;
        const char* mw;
        const char* mh;
        QStringList messages;
    } cases[] = {
        {"10", "10", "10", "10", {kBoth, kBoth}},
        {"10", "10", "5", "", {kBoth}},
        {"", "3", "10", "10", {kBoth}},
        {"10", "", "", "", {kNone}},
        {"", "", "", "", {kNone}},
        {"10", "", "", "4", {kNone}},
        // A box that holds no whole number refuses the entry (never 125 or 19).
        {"12,5", "10", "", "", {kNone}},
        {"10", "10", "1e9", "", {kNone}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.pw << "/" << c.ph << "/" << c.mw << "/" << c.mh);
        scripted.messages.clear();
        ShapeDialog dialog(nullptr, settings);
        dialog.show();
        QTest::keyClicks(dialog.pixelWidthBox(), QString::fromLatin1(c.pw));
        QTest::keyClicks(dialog.pixelHeightBox(), QString::fromLatin1(c.ph));
        QTest::keyClicks(dialog.millimetreWidthBox(), QString::fromLatin1(c.mw));
        QTest::keyClicks(dialog.millimetreHeightBox(), QString::fromLatin1(c.mh));
        QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
        EXPECT_EQ(scripted.messageTexts(), c.messages);
        for (const auto& m : scripted.messages) EXPECT_EQ(m.caption, QStringLiteral("Programador"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(settings.shapeWidth, 7);
        EXPECT_EQ(settings.shapeHeight, 8);
        dialog.close();
        EXPECT_EQ(settings.shapeAccepted, 0);
    }
}

TEST_F(ShapeDialogTest, EnterAcceptsAndEscapeCancels) {
    ShapeDialog dialog(nullptr, settings);
    dialog.show();
    testing::expectEnterPresses(dialog, dialog.millimetreWidthBox(), dialog.acceptButton());
    ShapeDialog again(nullptr, settings);
    again.show();
    testing::expectEscapeCancels(again, again.millimetreWidthBox());
}

}  // namespace
}  // namespace tessel
