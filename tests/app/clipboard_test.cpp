// The clipboard and dropped picture data: "Copiar imagen", "Pegar" at the zero position with the
// image-size setting, "Pegar como imagen nueva" and Ctrl+V without a picture, a copied file,
// encoded and damaged data, the paste items' states; and the zoom a newly opened picture gets.

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "app/AcceptPlacements.h"
#include "app/ClipboardCommands.h"
#include "app/MainWindow.h"
#include "platform/LongWork.h"
#include "support/ProgressWatch.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

constexpr QRgb kPasted = 0xFF2060A0;

class ClipboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(window.initialise());
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }

    AppState& state() { return window.state(); }
    ItemState stateOf(int id) const { return window.menu()->state(id); }

    // A white picture of 100 x 80 pixels as the canvas.
    void whitePaper() {
        const QString path = folder.filePath(QStringLiteral("blanca.png"));
        ASSERT_TRUE(plain(100, 80, 0xFFFFFFFF).save(path));
        window.openPicture(path);
        ASSERT_TRUE(state().history.hasPicture());
    }

    static QImage plain(int width, int height, QRgb colour) {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(colour);
        return picture;
    }

    static void putOnClipboard(QMimeData* data) {
        QGuiApplication::clipboard()->setMimeData(data);
        QCoreApplication::processEvents();
    }

    // The rectangle of the canvas that holds exactly the pasted colour, and that nothing else
    // does: empty when the colour is nowhere.
    QRect pastedArea() {
        const QImage& canvas = state().history.current().image();
        QRect area;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if ((canvas.pixel(x, y) | 0xFF000000) == kPasted) area |= QRect(x, y, 1, 1);
            }
        }
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                EXPECT_EQ(canvas.pixel(x, y) | 0xFF000000, kPasted) << x << "," << y;
            }
        }
        return area;
    }

    QTemporaryDir folder;
    testing::ScriptedServices services;
    testing::AcceptPlacements placements;
    MainWindow window;
};

TEST_F(ClipboardTest, CopyPutsTheWholePictureThatLaterChangesDoNotReach) {
    EXPECT_EQ(stateOf(command::CopyPicture), ItemState::Grayed);
    whitePaper();
    EXPECT_EQ(stateOf(command::CopyPicture), ItemState::Enabled);
    state().history.push();
    state().history.current().setPixel(3, 4, 0x0000FF);
    window.command(command::CopyPicture);
    const QImage copied =
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(copied.size(), QSize(100, 80));
    EXPECT_EQ(copied.pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(copied.pixel(4, 4), qRgb(255, 255, 255));
    // The canvas goes on changing; what was copied stays as it was.
    window.command(command::GreyScale);
    EXPECT_EQ(QGuiApplication::clipboard()->image().pixel(3, 4) | 0xFF000000, qRgb(255, 0, 0));
}

TEST_F(ClipboardTest, PasteItemsFollowWhatTheClipboardHolds) {
    whitePaper();
    EXPECT_EQ(stateOf(command::Paste), ItemState::Grayed);
    EXPECT_EQ(stateOf(command::PasteAsNew), ItemState::Grayed);
    QGuiApplication::clipboard()->setText(QStringLiteral("solo texto"));
    QCoreApplication::processEvents();
    EXPECT_EQ(stateOf(command::Paste), ItemState::Grayed);
    QGuiApplication::clipboard()->setImage(plain(5, 5, kPasted));
    QCoreApplication::processEvents();
    EXPECT_EQ(stateOf(command::Paste), ItemState::Enabled);
    EXPECT_EQ(stateOf(command::PasteAsNew), ItemState::Enabled);
    // A new phase keeps what the clipboard decides.
    window.command(command::New);
    EXPECT_EQ(stateOf(command::Paste), ItemState::Enabled);
    EXPECT_EQ(stateOf(command::CopyPicture), ItemState::Grayed);
    QGuiApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(stateOf(command::Paste), ItemState::Grayed);
}

TEST_F(ClipboardTest, PasteInsertsAtTheZeroPositionAsOneLevelClippedAtTheEdge) {
    whitePaper();
    QGuiApplication::clipboard()->setImage(plain(7, 5, kPasted));
    state().zero = QPoint(10, 20);
    window.command(command::Paste);
    EXPECT_EQ(state().history.level(), 1);
    EXPECT_EQ(pastedArea(), QRect(10, 20, 7, 5));
    EXPECT_EQ(state().history.current().size(), QSize(100, 80));
    window.command(command::Undo);
    EXPECT_TRUE(pastedArea().isEmpty());

    state().zero = QPoint(96, 78);
    window.command(command::Paste);
    EXPECT_EQ(pastedArea(), QRect(96, 78, 4, 2));
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(ClipboardTest, PasteHonoursTheImageSizeSetting) {
    whitePaper();
    // Fitted into a box of 4 x 4: an 8 x 4 picture is twice as wide as the box in proportion,
    // so its width becomes 4 and its height 4 / (8 / 4) = 2.
    state().imageSize.trueSize = 0;
    state().imageSize.boxWidth = 4;
    state().imageSize.boxHeight = 4;
    QGuiApplication::clipboard()->setImage(plain(8, 4, kPasted));
    window.command(command::Paste);
    EXPECT_EQ(pastedArea(), QRect(0, 0, 4, 2));
}

TEST_F(ClipboardTest, TransparentPartsComeOutInThePaperColour) {
    whitePaper();
    state().paper.paperColour = 0x00FF00;  // green
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(0, 0, kPasted);
    QGuiApplication::clipboard()->setImage(picture);
    window.command(command::Paste);
    const Surface& canvas = state().history.current();
    EXPECT_EQ(canvas.pixel(0, 0), 0xA06020);
    EXPECT_EQ(canvas.pixel(1, 0), 0x00FF00);
    EXPECT_EQ(canvas.pixel(4, 0), 0xFFFFFF);
}

TEST_F(ClipboardTest, PasteAsNewAndControlVWithoutAPictureMakeTheCanvas) {
    QGuiApplication::clipboard()->setImage(plain(30, 20, kPasted));
    QCoreApplication::processEvents();
    window.command(command::Paste);  // no picture yet: it becomes the canvas
    ASSERT_TRUE(state().history.hasPicture());
    EXPECT_EQ(state().history.level(), 0);
    EXPECT_EQ(state().pictureSize().width(), 30);
    EXPECT_EQ(state().pictureSize().height(), 20);
    EXPECT_EQ(pastedArea(), QRect(0, 0, 30, 20));
    EXPECT_EQ(stateOf(command::Cut), ItemState::Enabled);
    // It is on no disk: replacing it asks first, and "Cancelar" keeps it.
    EXPECT_TRUE(window.windowTitle().startsWith(u'*'));
    QGuiApplication::clipboard()->setImage(plain(40, 10, kPasted));
    services.saveAnswers.push_back(platform::SaveAnswer::Cancel);
    window.command(command::PasteAsNew);
    EXPECT_EQ(state().history.current().size(), QSize(30, 20));
    services.saveAnswers.push_back(platform::SaveAnswer::Discard);
    window.command(command::PasteAsNew);
    EXPECT_EQ(state().history.current().size(), QSize(40, 10));
    EXPECT_EQ(state().history.level(), 0);
}

TEST_F(ClipboardTest, ACopiedFileIsPastedAsItsPicture) {
    whitePaper();
    const QString path = folder.filePath(QStringLiteral("copiada.png"));
    ASSERT_TRUE(plain(6, 3, kPasted).save(path));
    // A file manager's copy: its list of copied files, without text/uri-list.
    auto* copied = new QMimeData;
    copied->setData(QStringLiteral("x-special/gnome-copied-files"),
                    "copy\n" + QUrl::fromLocalFile(path).toEncoded());
    putOnClipboard(copied);
    EXPECT_EQ(stateOf(command::Paste), ItemState::Enabled);
    state().zero = QPoint(1, 2);
    window.command(command::Paste);
    EXPECT_EQ(pastedArea(), QRect(1, 2, 6, 3));

    // The same as an address list makes it the canvas, named for the next save.
    auto* listed = new QMimeData;
    listed->setUrls({QUrl::fromLocalFile(path)});
    putOnClipboard(listed);
    services.saveAnswers.push_back(platform::SaveAnswer::Discard);
    window.command(command::PasteAsNew);
    EXPECT_EQ(state().history.current().size(), QSize(6, 3));
    EXPECT_EQ(state().lastFileName, path);
    EXPECT_FALSE(window.windowTitle().startsWith(u'*'));
}

TEST_F(ClipboardTest, EncodedDataIsReadAndDamagedDataRefusedWithNothingChanged) {
    whitePaper();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(plain(3, 2, kPasted).save(&buffer, "PNG"));
    auto* encoded = new QMimeData;
    encoded->setData(QStringLiteral("image/png"), png);
    putOnClipboard(encoded);
    window.command(command::Paste);
    EXPECT_EQ(pastedArea(), QRect(0, 0, 3, 2));

    auto* damaged = new QMimeData;
    damaged->setData(QStringLiteral("image/png"), png.left(png.size() / 2));
    putOnClipboard(damaged);
    EXPECT_EQ(stateOf(command::Paste), ItemState::Enabled);
    const std::uint64_t before = state().history.stateId();
    window.command(command::Paste);
    EXPECT_EQ(state().history.stateId(), before);
    EXPECT_EQ(state().history.redoLevels(), 0);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages.front().text, kUnreadablePictureData);
    window.command(command::PasteAsNew);
    EXPECT_EQ(state().history.current().size(), QSize(100, 80));
    EXPECT_EQ(state().history.level(), 1);
}

// A large picture on the clipboard (two megapixels in a JPEG of a few kilobytes) is decoded
// as a large file is read: the progress window shows when it takes long.
TEST_F(ClipboardTest, ALargePastedPictureShowsProgressWhileItIsRead) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(plain(2000, 1000, kPasted).save(&buffer, "JPEG", 95));
    ASSERT_LT(jpeg.size(), 1024 * 1024);
    auto* encoded = new QMimeData;
    encoded->setData(QStringLiteral("image/jpeg"), jpeg);
    putOnClipboard(encoded);
    platform::setLongWorkDelayForTesting(3 * platform::kProgressDelayMs);
    const testing::ProgressWatch watch(2 * platform::kProgressDelayMs);
    window.command(command::PasteAsNew);
    platform::setLongWorkDelayForTesting(0);
    EXPECT_TRUE(watch.shown);
    EXPECT_EQ(watch.label, QStringLiteral("Leyendo imagen ..."));
    EXPECT_EQ(state().history.current().size(), QSize(2000, 1000));
}

TEST_F(ClipboardTest, DroppedPictureDataOpensAsADroppedFileDoes) {
    QMimeData data;
    data.setImageData(plain(12, 9, kPasted));
    QDragEnterEvent enter(QPoint(600, 450), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(600, 450), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    data.setImageData(plain(1, 1, 0xFF000000));  // the drop's data is gone once it ends
    QCoreApplication::processEvents();
    ASSERT_TRUE(state().history.hasPicture());
    EXPECT_EQ(pastedArea(), QRect(0, 0, 12, 9));
}

TEST_F(ClipboardTest, APictureLargerThanTheViewOpensFittedAndOneThatFitsAtItsOwnSize) {
    const QSize view = window.canvasControl()->size();
    const QString large = folder.filePath(QStringLiteral("grande.png"));
    ASSERT_TRUE(plain(view.width() * 2, view.height() + 1, kPasted).save(large));
    const QString small = folder.filePath(QStringLiteral("pequena.png"));
    ASSERT_TRUE(plain(view.width(), view.height(), kPasted).save(small));

    window.openPicture(large);
    EXPECT_TRUE(window.canvasControl()->fitsWindow());
    EXPECT_EQ(stateOf(command::FitToWindow), ItemState::Checked);
    window.openPicture(small);
    EXPECT_FALSE(window.canvasControl()->fitsWindow());
    EXPECT_EQ(window.canvasControl()->transform().zoom(), Zoom{});
    EXPECT_EQ(stateOf(command::FitToWindow), ItemState::Enabled);
}

}  // namespace
}  // namespace tessel
