// The element of an open insertion dialog, shown on the picture while its settings change and
// placed by clicking in the view: what "Aceptar" commits, what cancelling leaves behind.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/CommandIds.h"
#include "app/PlaceDialog.h"
#include "app/MainWindow.h"
#include "calendar/MonthDialog.h"
#include "calendar/MonthSheet.h"
#include "platform/BuiltinPictures.h"
#include "platform/Fonts.h"
#include "progress/ProgressBar.h"
#include "progress/ProgressDialog.h"
#include "shapes/ArrowDialog.h"
#include "shapes/ShapeDialog.h"
#include "shapes/Shapes.h"
#include "support/NoisePicture.h"
#include "support/ScriptedServices.h"
#include "text/AlignedText.h"
#include "text/AlignedTextDialog.h"
#include "text/BubbleDialog.h"
#include "text/BubbleShapes.h"
#include "text/FxText.h"
#include "text/FxTextDialog.h"
#include "text/LineText.h"
#include "text/LineTextDialogs.h"

namespace tessel {
namespace {

template <typename Dialog>
Dialog* shownDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

class LivePreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(window.initialise());
        // A picture of random colours smaller than the view, shown at its own size.
        const QImage picture = testing::noisePicture(700, 500, 3);
        const QString path = folder.filePath(QStringLiteral("foto.png"));
        ASSERT_TRUE(picture.save(path));
        services.fileAnswers.push_back(path);
        window.command(command::ReadPicture);
        ASSERT_TRUE(state().history.hasPicture());
        window.command(command::ActualSize);
        window.canvasControl()->scrollTo(QPoint(0, 0));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        state().zero = QPoint(40, 30);
    }

    AppState& state() { return window.state(); }
    QImage picture() const { return std::as_const(window.state().history.current()).image(); }
    // A click in the view on picture pixel `at` (the view shows the picture at its own size).
    void clickAt(QPoint at) {
        QTest::mouseClick(window.canvasControl(), Qt::LeftButton, {},
                          window.canvasControl()->transform().viewAt(at));
    }

    // Runs `command`; while its dialog is open, `act` changes it and closes it.
    template <typename Dialog>
    void whileOpen(int command, std::function<void(Dialog*)> act) {
        bool acted = false;
        QTimer::singleShot(0, [&] {
            Dialog* dialog = shownDialog<Dialog>();
            ASSERT_NE(dialog, nullptr);
            acted = true;
            act(dialog);
        });
        window.command(command);
        EXPECT_TRUE(acted);
    }

    // The dialog of `command` is filled in; the element shows on the picture, moves with a
    // click and is accepted. The picture then holds, in one new level, exactly what the
    // element's own routine draws at that place on the picture as it was.
    template <typename Dialog>
    void placeByClickAndAccept(int command, std::function<void(Dialog*)> fill,
                               std::function<void(Dialog*)> accept,
                               std::function<void(Surface&, QPoint)> draw) {
        const QImage before = picture();
        const int level = state().history.level();
        const QPoint place(200 + 7 * level, 150 + 3 * level);
        whileOpen<Dialog>(command, [&](Dialog* dialog) {
            fill(dialog);
            EXPECT_NE(picture(), before) << "shown while the dialog is open";
            clickAt(place);
            EXPECT_EQ(state().zero, place);
            // The caption follows the zero position; an element being placed is not yet work
            // to save.
            const QString readOut = QStringLiteral("x : %1 y : %2").arg(place.x()).arg(place.y());
            EXPECT_EQ(window.windowTitle(), level == 0 ? readOut : u'*' + readOut);
            EXPECT_TRUE(dialog->isVisible());
            accept(dialog);
        });
        Surface expected(before.copy());
        draw(expected, place);
        EXPECT_EQ(picture(), std::as_const(expected).image());
        EXPECT_EQ(state().history.level(), level + 1);
        EXPECT_FALSE(state().history.inTrial());
        EXPECT_FALSE(window.previewing());
    }

    QTemporaryDir folder;
    testing::ScriptedServices services;
    MainWindow window;
};

TEST_F(LivePreviewTest, EachTextLineCommitsWhatItsRoutineDrawsWhereTheClickPutIt) {
    TextProperties& p = state().text;
    p.pointSize = 48;
    placeByClickAndAccept<AngularTextDialog>(
        command::InsertAngularText,
        [](AngularTextDialog* d) { QTest::keyClicks(d->textBox(), QStringLiteral("Vacaciones")); },
        [](AngularTextDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            drawLevelText(canvas, at.x(), at.y(), p.foreColour, p.backColour,
                          QStringLiteral("Vacaciones"), p.fontName, p.pointSize,
                          styleBits(p.styles));
        });
    placeByClickAndAccept<LineTextDialog>(
        command::InsertHollowText,
        [](LineTextDialog* d) {
            d->textBox()->clear();
            QTest::keyClicks(d->textBox(), QStringLiteral("Hueca"));
        },
        [](LineTextDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            drawHollowText(canvas, QStringLiteral("Hueca"), at.x(), at.y(), p);
        });
    placeByClickAndAccept<LineTextDialog>(
        command::InsertTextureText,
        [](LineTextDialog* d) {
            d->textBox()->clear();
            QTest::keyClicks(d->textBox(), QStringLiteral("Textura"));
        },
        [](LineTextDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            drawTexturedText(canvas, QStringLiteral("Textura"), at.x(), at.y(), p,
                             platform::texturePicture(state().paper.textureNumber));
        });
    placeByClickAndAccept<FxTextDialog>(
        command::InsertFxText,
        [](FxTextDialog* d) {
            QTest::keyClicks(d->textBox(), QStringLiteral("Relieve"));
            QTest::mouseClick(d->raisedOption(), Qt::LeftButton);
        },
        [](FxTextDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            drawReliefText(canvas, QStringLiteral("Relieve"), kReliefRaised, levelFont(p),
                           p.foreColour, at.x(), at.y());
        });
}

TEST_F(LivePreviewTest, BlocksBubblesShapesArrowsBarsAndMonthsCommitWhatTheirRoutinesDraw) {
    const TextProperties& p = state().text;
    placeByClickAndAccept<AlignedTextDialog>(
        command::InsertAlignedText,
        [](AlignedTextDialog* d) {
            QTest::keyClicks(d->textBox(), QStringLiteral("Un bloque de texto alineado"));
            d->widthBox()->setText(QStringLiteral("120"));
            d->heightBox()->setText(QStringLiteral("80"));
            QTest::mouseClick(d->alignmentOption(2), Qt::LeftButton);
        },
        [](AlignedTextDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            drawAlignedText(canvas, QStringLiteral("Un bloque de texto alineado"), kAlignCentre,
                            120, at.x(), at.y(), platform::resolveFont(levelFont(p)), p.foreColour,
                            p.backColour);
        });
    placeByClickAndAccept<BubbleDialog>(
        command::InsertBubble,
        [](BubbleDialog* d) { QTest::mouseClick(d->largerButton(), Qt::LeftButton); },
        [](BubbleDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) { drawBubble(canvas, at.x(), at.y(), state().bubble); });
    placeByClickAndAccept<ShapeDialog>(
        command::InsertShapes,
        [](ShapeDialog* d) {
            QTest::keyClicks(d->pixelWidthBox(), QStringLiteral("90"));
            QTest::keyClicks(d->pixelHeightBox(), QStringLiteral("40"));
        },
        [](ShapeDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            ShapeSettings shape = state().shapes;
            EXPECT_EQ(shape.shapeWidth, 90);
            EXPECT_EQ(shape.shapeHeight, 40);
            drawShape(canvas, at.x(), at.y(), shape);
        });
    placeByClickAndAccept<ArrowDialog>(
        command::InsertArrows,
        [](ArrowDialog* d) { QTest::keyClicks(d->pixelLengthBox(), QStringLiteral("60")); },
        [](ArrowDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            EXPECT_EQ(state().arrows.arrowLength, 60);
            drawArrow(canvas, at.x(), at.y(), state().arrows);
        });
    placeByClickAndAccept<ProgressDialog>(
        command::InsertProgressBar,
        [](ProgressDialog* d) {
            d->percentBox()->setText(QStringLiteral("62.5"));
            d->widthBox()->setText(QStringLiteral("150"));
        },
        [](ProgressDialog* d) { QTest::mouseClick(d->createButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            const ProgressSettings& bar = state().progress;
            EXPECT_EQ(bar.barWidth, 150);
            drawProgressBar(canvas, at.x(), at.y(), barText(bar.barPercent), bar, p);
        });
    placeByClickAndAccept<MonthDialog>(
        command::InsertMonth, [](MonthDialog* d) { d->yearBox()->setText(QStringLiteral("2027")); },
        [](MonthDialog* d) { QTest::mouseClick(d->acceptButton(), Qt::LeftButton); },
        [&](Surface& canvas, QPoint at) {
            MonthSettings month = state().calendar.month;
            EXPECT_EQ(month.monthYear, 2027);
            drawMonthOnCanvas(canvas, at, month, state().calendar.holidays, p);
        });
}

// A picture, an icon or the clipboard's picture has no settings: it shows on the picture at the
// zero position with a small window beside it, moves with a click and lands with "Aceptar";
// cancelled, it leaves nothing.
TEST_F(LivePreviewTest, PicturesIconsAndPastesArePlacedOnThePictureBeforeTheyLand) {
    const QImage small = testing::noisePicture(60, 40, 11);
    const QString smallPath = folder.filePath(QStringLiteral("pequena.png"));
    ASSERT_TRUE(small.save(smallPath));
    QImage icon = testing::noisePicture(32, 32, 12).convertToFormat(QImage::Format_ARGB32);
    const QString iconPath = folder.filePath(QStringLiteral("icono.ico"));
    ASSERT_TRUE(icon.save(iconPath, "ICO"));
    // Copied one to one with the top-left corner at the zero position.
    const auto laid = [](const QImage& what) {
        return [what](Surface& canvas, QPoint at) {
            QPainter painter(&canvas.image());
            painter.drawImage(at, what);
        };
    };
    const auto accept = [](PlaceDialog* d) {
        EXPECT_TRUE(d->acceptButton()->isDefault());
        QTest::mouseClick(d->acceptButton(), Qt::LeftButton);
    };
    const auto nothing = [](PlaceDialog*) {};
    services.fileAnswers.push_back(smallPath);
    placeByClickAndAccept<PlaceDialog>(command::InsertPicture, nothing, accept, laid(small));
    services.fileAnswers.push_back(iconPath);
    placeByClickAndAccept<PlaceDialog>(command::InsertIcon, nothing, accept, laid(icon));
    QGuiApplication::clipboard()->setImage(small);
    placeByClickAndAccept<PlaceDialog>(command::Paste, nothing, accept, laid(small));

    state().zero = QPoint(500, 300);  // not over the last paste
    const QImage before = picture();
    const int level = state().history.level();
    for (const bool escape : {false, true}) {
        whileOpen<PlaceDialog>(command::Paste, [&](PlaceDialog* d) {
            EXPECT_NE(picture(), before);
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Pegar"));
            if (escape) {
                QTest::keyClick(d, Qt::Key_Escape);
            } else {
                QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
            }
        });
        EXPECT_EQ(picture(), before);
        EXPECT_EQ(state().history.level(), level);
        EXPECT_FALSE(state().history.inTrial());
    }
}

// Cancelled after several changes and two moves, by "Cancelar", Escape or the close box: the
// picture, its levels to undo and redo, its state and the unsaved-work mark are as before.
TEST_F(LivePreviewTest, ACancelledDialogLeavesPictureAndHistoryAsTheyWere) {
    // Some history: two changes, one undone, so that a level waits to be redone.
    for (const int colour : {0x112233, 0x445566}) {
        state().history.push();
        state().history.current().box(10, 10, 60, 60, 0, colour, colour, 0);
    }
    ASSERT_TRUE(state().history.undo());
    window.redisplay();
    const std::vector<std::function<void(AngularTextDialog*)>> closings = {
        [](AngularTextDialog* d) { QTest::mouseClick(d->cancelButton(), Qt::LeftButton); },
        [](AngularTextDialog* d) { QTest::keyClick(d->textBox(), Qt::Key_Escape); },
        [](AngularTextDialog* d) { d->close(); },
    };
    for (const auto& close : closings) {
        const QImage before = picture();
        const int level = state().history.level();
        const int redo = state().history.redoLevels();
        const std::uint64_t id = state().history.stateId();
        const std::uint64_t saved = state().savedStateId;
        const int dropped = state().history.droppedLevels();
        whileOpen<AngularTextDialog>(command::InsertAngularText, [&](AngularTextDialog* d) {
            d->textBox()->clear();
            QTest::keyClicks(d->textBox(), QStringLiteral("Hola"));
            const QImage shown = picture();
            EXPECT_NE(shown, before);
            clickAt(QPoint(300, 200));
            EXPECT_NE(picture(), shown);
            QTest::keyClicks(d->textBox(), QStringLiteral(" y adios"));
            clickAt(QPoint(120, 90));
            // The window's other commands wait while the dialog is open.
            window.command(command::Undo);
            window.command(command::GreyScale);
            EXPECT_TRUE(state().history.inTrial());
            EXPECT_EQ(state().history.level(), level + 1);
            close(d);
        });
        EXPECT_EQ(picture(), before);
        EXPECT_EQ(state().history.level(), level);
        EXPECT_EQ(state().history.redoLevels(), redo);
        EXPECT_EQ(state().history.stateId(), id);
        EXPECT_EQ(state().savedStateId, saved);
        EXPECT_EQ(state().history.droppedLevels(), dropped);
        EXPECT_FALSE(window.previewing());
        EXPECT_EQ(state().zero, QPoint(120, 90));  // where the user put it
    }
    // The level to redo is still the one undone.
    ASSERT_TRUE(state().history.redo());
    EXPECT_EQ(state().history.current().pixel(30, 30), Colour(0x445566));
}

// An entry the dialog refuses with a message leaves the element shown as it was.
TEST_F(LivePreviewTest, ARefusedEntryKeepsTheLastPreview) {
    const QImage before = picture();
    whileOpen<ArrowDialog>(command::InsertArrows, [&](ArrowDialog* d) {
        QTest::keyClicks(d->pixelLengthBox(), QStringLiteral("80"));
        QTest::keyClicks(d->millimetreLengthBox(), QStringLiteral("20"));
        const QImage shown = picture();
        EXPECT_NE(shown, before);
        QTest::mouseClick(d->acceptButton(), Qt::LeftButton);  // both sizes: refused
        EXPECT_EQ(services.messages.size(), 1u);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(picture(), shown);
        QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(picture(), before);
    EXPECT_EQ(state().history.level(), 0);
}

}  // namespace
}  // namespace tessel
