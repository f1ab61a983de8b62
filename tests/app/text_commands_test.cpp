// The text commands through the main handler: text dialogs, the missing-text message, the undo
// level of each line, the picture of file-textured text and FX text.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <utility>

#include "app/AcceptPlacements.h"
#include "app/MainWindow.h"
#include "support/ScriptedServices.h"
#include "text/FxTextDialog.h"
#include "text/LineTextDialogs.h"
#include "text/TextPropertiesDialog.h"

namespace tessel {
namespace {

const QString kMissing =
    QStringLiteral("Tiene que escribir una frase para poder insertarla en la imagen ...");

template <typename Dialog>
Dialog* shown() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// Answers the next text dialog with the text; an empty one stands for "Cancelar".
void answerAngular(const QString& text, bool accept = true) {
    QTimer::singleShot(0, [text, accept] {
        auto* dialog = shown<AngularTextDialog>();
        ASSERT_NE(dialog, nullptr);
        dialog->textBox()->setPlainText(text);
        QTest::mouseClick(accept ? dialog->acceptButton() : dialog->cancelButton(), Qt::LeftButton);
    });
}

void answerLine(const QString& text) {
    QTimer::singleShot(0, [text] {
        auto* dialog = shown<LineTextDialog>();
        ASSERT_NE(dialog, nullptr);
        dialog->textBox()->setText(text);
        QTest::mouseClick(text.isEmpty() ? dialog->cancelButton() : dialog->acceptButton(),
                          Qt::LeftButton);
    });
}

class TextCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(window.initialise());
        state().paper.widthMm = 200;
        state().paper.heightMm = 40;
        window.createPaper();  // white, 756 x 151
        window.horizontalTrackbar()->setValue(21);
        window.verticalTrackbar()->setValue(11);  // zero at (20, 10)
        state().text.pointSize = 30;
    }

    AppState& state() { return window.state(); }
    Surface& canvas() { return state().history.current(); }
    int level() { return state().history.level(); }

    int countNot(Colour colour) {
        int n = 0;
        for (int y = 0; y < canvas().height(); ++y)
            for (int x = 0; x < canvas().width(); ++x) n += canvas().pixel(x, y) != colour;
        return n;
    }

    QTemporaryDir folder;
    testing::ScriptedServices services;
    testing::AcceptPlacements placements;
    MainWindow window;
};

TEST_F(TextCommandsTest, AngularTextDrawsALevelAndAnEmptyTextGivesTheMessage) {
    answerAngular(QString());
    window.command(command::InsertAngularText);
    EXPECT_EQ(level(), 0);
    EXPECT_EQ(services.messageTexts(), QStringList{kMissing});
    EXPECT_EQ(services.messages.value(0).caption, QStringLiteral("Programador"));

    answerAngular(QStringLiteral("cancelado"), false);
    window.command(command::InsertAngularText);
    EXPECT_EQ(level(), 0);
    EXPECT_EQ(services.messages.size(), 1);

    state().text.backColour = 0x00FFFF;  // yellow cell
    answerAngular(QStringLiteral("Hola"));
    window.command(command::InsertAngularText);
    EXPECT_EQ(level(), 1);
    EXPECT_EQ(canvas().pixel(20, 10), 0x00FFFF);  // the cell's top-left at the zero position
    EXPECT_EQ(canvas().pixel(19, 10), 0xFFFFFF);
    EXPECT_EQ(canvas().pixel(20, 9), 0xFFFFFF);
    window.command(command::Undo);
    EXPECT_EQ(countNot(0xFFFFFF), 0);
}

TEST_F(TextCommandsTest, HollowAndTexturedLinesShareTheRememberedText) {
    state().text.foreColour = 0x0000FF;
    answerLine(QStringLiteral("Hueca"));
    window.command(command::InsertHollowText);
    EXPECT_EQ(level(), 1);
    EXPECT_GT(countNot(0xFFFFFF), 50);
    for (int y = 0; y < canvas().height(); ++y)
        for (int x = 0; x < canvas().width(); ++x)
            ASSERT_TRUE(canvas().pixel(x, y) == 0xFFFFFF || canvas().pixel(x, y) == 0x0000FF);

    QTimer::singleShot(0, [] {
        auto* dialog = shown<LineTextDialog>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textBox()->text(), QStringLiteral("Hueca"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    window.command(command::InsertTextureText);
    EXPECT_EQ(level(), 2);

    answerLine(QString());  // cancelled
    window.command(command::InsertTextureText);
    EXPECT_EQ(level(), 2);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(TextCommandsTest, FileTexturedTextAsksForThePictureBeforeMakingALevel) {
    answerLine(QStringLiteral("Fichero"));
    window.command(command::InsertFileTextureText);  // the chooser is cancelled
    EXPECT_EQ(level(), 0);
    EXPECT_EQ(services.messageTexts(), QStringList{QStringLiteral("No leo imagen ...")});
    EXPECT_EQ(services.choosers.size(), 1);
    EXPECT_FALSE(services.choosers.value(0).save);

    services.messages.clear();
    QFile broken(folder.filePath(QStringLiteral("roto.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture at all");
    broken.close();
    services.fileAnswers.push_back(broken.fileName());
    answerLine(QStringLiteral("Fichero"));
    window.command(command::InsertFileTextureText);
    EXPECT_EQ(level(), 0);
    EXPECT_EQ(services.messages.size(), 1);  // the loader's own message

    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(qRgb(0, 128, 0));
    const QString path = folder.filePath(QStringLiteral("verde.png"));
    ASSERT_TRUE(picture.save(path));
    services.fileAnswers.push_back(path);
    answerLine(QStringLiteral("Fichero"));
    window.command(command::InsertFileTextureText);
    EXPECT_EQ(level(), 1);
    int green = 0;
    for (int y = 0; y < canvas().height(); ++y)
        for (int x = 0; x < canvas().width(); ++x) {
            const Colour c = canvas().pixel(x, y);
            ASSERT_TRUE(c == 0xFFFFFF || c == rgb(0, 128, 0));
            if (c != 0xFFFFFF) {
                ++green;
                // The picture is 200 x 100, laid from the strip's origin: nothing beyond it.
                EXPECT_LT(x, 20 + 200);
            }
        }
    EXPECT_GT(green, 50);
}

TEST_F(TextCommandsTest, UndoOfTextWithStackedMarksAndFallbackFacesGivesThePictureBack) {
    // Ten diaereses on Z, eight dots below a, ideographs and an emoji (drawn by fallback faces
    // when the face lacks them): the marks reach far above and below the text cell.
    QString text = QStringLiteral("Z") + QString(10, QChar(0x0308)) + QStringLiteral(" a") +
                   QString(8, QChar(0x0323)) + QStringLiteral(" ") + QString(QChar(0x6F22)) +
                   QString(QChar(0x5B57)) + QStringLiteral(" ") + QString::fromUcs4(U"\U0001F600");
    state().paper.widthMm = 300;
    state().paper.heightMm = 200;
    window.createPaper();  // white, 1134 x 756
    window.horizontalTrackbar()->setValue(301);
    window.verticalTrackbar()->setValue(301);  // zero at (300, 300)
    for (const int angle : {0, 1, 33, 90, 200}) {
        state().text.fontName = QStringLiteral("Z003");
        state().text.pointSize = 40;
        state().text.backColour = 0x00FFFF;  // yellow cell
        state().text.angled = angle == 0 ? 0 : 1;
        state().text.angleDegrees = std::int16_t(angle);
        // Read through a const surface: writable access would mark the whole picture touched.
        const QImage before = std::as_const(canvas()).image().copy();
        answerAngular(text);
        window.command(command::InsertAngularText);
        ASSERT_EQ(level(), 1);
        ASSERT_NE(std::as_const(canvas()).image(), before);
        window.command(command::Undo);
        ASSERT_EQ(level(), 0);
        int left = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                left += canvas().pixel(x, y) != fromQRgb(before.pixel(x, y));
        EXPECT_EQ(left, 0) << "pixels left behind at " << angle << " degrees";
    }
}

TEST_F(TextCommandsTest, FxTextDrawsItsModeAndSharesTheAcceptedFlag) {
    QTimer::singleShot(0, [] {
        auto* dialog = shown<FxTextDialog>();
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->raisedOption(), Qt::LeftButton);
        dialog->textBox()->setText(QStringLiteral("Alzado"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    state().text.foreColour = 0x00FF00;
    state().text.backColour = 0xFF0000;  // never painted behind relief
    window.command(command::InsertFxText);
    EXPECT_EQ(level(), 1);
    EXPECT_EQ(state().lineText.accepted, 1);
    int shadow = 0, green = 0, blue = 0;
    for (int y = 0; y < canvas().height(); ++y)
        for (int x = 0; x < canvas().width(); ++x) {
            shadow += canvas().pixel(x, y) == 0x000080;
            green += canvas().pixel(x, y) == 0x00FF00;
            blue += canvas().pixel(x, y) == 0xFF0000;
        }
    EXPECT_GT(shadow, 0);
    EXPECT_GT(green, 0);
    EXPECT_EQ(blue, 0);

    QTimer::singleShot(0, [] {
        if (auto* dialog = shown<FxTextDialog>()) {
            QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        }
    });
    window.command(command::InsertFxText);
    EXPECT_EQ(level(), 1);
    EXPECT_EQ(state().lineText.accepted, 0);
}

}  // namespace
}  // namespace tessel
