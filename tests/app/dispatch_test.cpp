// The main handler: menu phases, "Nuevo", "Deshacer", "Escala de Gris", the insertion
// transaction and the file commands.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "view/CanvasView.h"
#include "app/AcceptPlacements.h"
#include "app/Insertion.h"
#include "app/MainWindow.h"
#include "history/TilePool.h"
#include "cutting/CutSettings.h"
#include "platform/BuiltinPictures.h"
#include "platform/DrawingArea.h"
#include "platform/SafeFile.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

constexpr Colour kRed = 0x0000FF;

class DispatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(window.initialise());
    }

    ItemState stateOf(int id) const { return window.menu()->state(id); }
    AppState& state() { return window.state(); }
    Surface& canvas() { return state().history.current(); }

    void makePaper(int widthMm, int heightMm) {
        state().paper.widthMm = std::int16_t(widthMm);
        state().paper.heightMm = std::int16_t(heightMm);
        window.createPaper();
    }

    // A picture file of the given size in the test folder, red on the left half, blue right.
    QString pictureFile(const QString& name, int width, int height) {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 255));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width / 2; ++x) picture.setPixel(x, y, qRgb(255, 0, 0));
        }
        const QString path = folder.filePath(name);
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    QTemporaryDir folder;
    testing::ScriptedServices services;
    testing::AcceptPlacements placements;
    MainWindow window;
};

TEST_F(DispatchTest, PaperCreatedPhase) {
    makePaper(297, 210);
    EXPECT_EQ(state().pictureSize().width(), 1123);
    EXPECT_EQ(state().pictureSize().height(), 794);
    EXPECT_EQ(canvas().size(), QSize(1123, 794));
    EXPECT_EQ(state().history.level(), 0);
    for (int id : {1044, 1049, 1045}) EXPECT_EQ(stateOf(id), ItemState::Grayed) << id;
    for (int id : {1059, 1068, 1054, 1057, 1058, 1061, 1088, 1046}) {
        EXPECT_EQ(stateOf(id), ItemState::Enabled) << id;
    }
    // The white paper shows in the view; beyond it the grey ground.
    const Surface& view = window.canvasControl()->surface();
    EXPECT_EQ(view.pixel(500, 500), 0xFFFFFF);
    EXPECT_EQ(view.pixel(1150, 500), kViewGround);
}

TEST_F(DispatchTest, PaperWiderThanTheViewShowsItsLeftColumns) {
    makePaper(318, 238);
    EXPECT_EQ(canvas().size(), QSize(1202, 900));
    EXPECT_EQ(window.canvasControl()->surface().pixel(1199, 899), 0xFFFFFF);
}

TEST_F(DispatchTest, RefusedPaperChangesNothing) {
    makePaper(210, 297);
    EXPECT_EQ(services.messages.size(), 1);
    EXPECT_FALSE(state().history.hasPicture());
    EXPECT_EQ(stateOf(command::PaperFormat), ItemState::Enabled);
    EXPECT_EQ(stateOf(command::GreyScale), ItemState::Grayed);
}

TEST_F(DispatchTest, PictureLoadedPhaseAndNuevoGoingBack) {
    services.fileAnswers.push_back(pictureFile(QStringLiteral("foto.png"), 800, 600));
    window.command(command::ReadPicture);
    EXPECT_EQ(state().pictureSize().width(), 800);
    EXPECT_EQ(state().pictureSize().height(), 600);
    for (int id : {1044, 1049}) EXPECT_EQ(stateOf(id), ItemState::Grayed) << id;
    for (int id : {1045, 1059, 1068, 1054, 1057, 1046}) {
        EXPECT_EQ(stateOf(id), ItemState::Enabled) << id;
    }
    EXPECT_EQ(window.canvasControl()->surface().pixel(100, 100), 0x0000FF);  // red, BGR order

    window.horizontalTrackbar()->setValue(101);
    window.command(command::New);
    EXPECT_FALSE(state().history.hasPicture());
    EXPECT_EQ(state().zero.x(), 100);
    EXPECT_EQ(stateOf(command::ReadPicture), ItemState::Enabled);
    EXPECT_EQ(stateOf(command::Cut), ItemState::Grayed);
    EXPECT_EQ(window.canvasControl()->surface().pixel(50, 50), kViewGround);
}

TEST_F(DispatchTest, CancelledOpenChangesNothing) {
    window.command(command::ReadPicture);
    EXPECT_FALSE(state().history.hasPicture());
    EXPECT_EQ(stateOf(command::ReadPicture), ItemState::Enabled);
    EXPECT_TRUE(state().lastFileName.isEmpty());
}

TEST_F(DispatchTest, GreyScaleIsAnUndoableLevel) {
    makePaper(20, 20);
    canvas().setPixel(3, 3, 0x0000FF);
    window.command(command::GreyScale);
    EXPECT_EQ(state().history.level(), 1);
    EXPECT_EQ(canvas().pixel(3, 3), rgb(77, 77, 77));
    window.command(command::Undo);
    EXPECT_EQ(state().history.level(), 0);
    EXPECT_EQ(canvas().pixel(3, 3), 0x0000FF);
    window.command(command::Undo);  // level 0: nothing happens
    EXPECT_EQ(canvas().pixel(3, 3), 0x0000FF);
    EXPECT_EQ(stateOf(command::Undo), ItemState::Enabled);
}

// "Rehacer" follows "Deshacer" in the menu and in its phases, and brings the undone grey back.
TEST_F(DispatchTest, RedoBringsTheUndoneChangeBack) {
    EXPECT_EQ(stateOf(command::Redo), ItemState::Grayed);
    const QList<QKeySequence> keys = window.menu()->action(command::Redo)->shortcuts();
    EXPECT_TRUE(keys.contains(QKeySequence(QStringLiteral("Ctrl+Y"))));
    EXPECT_TRUE(keys.contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))));
    makePaper(20, 20);
    EXPECT_EQ(stateOf(command::Redo), ItemState::Enabled);
    canvas().setPixel(3, 3, 0x0000FF);
    window.command(command::GreyScale);
    window.command(command::Undo);
    window.command(command::Redo);
    EXPECT_EQ(state().history.level(), 1);
    EXPECT_EQ(canvas().pixel(3, 3), rgb(77, 77, 77));
    window.command(command::Redo);  // nothing more to redo
    EXPECT_EQ(state().history.level(), 1);
    window.command(command::Undo);
    EXPECT_EQ(canvas().pixel(3, 3), 0x0000FF);
    window.command(command::New);
    EXPECT_EQ(stateOf(command::Redo), ItemState::Grayed);
}

TEST_F(DispatchTest, EmptyRequiredTextGivesItsMessageAndNoLevel) {
    makePaper(20, 20);
    const QString empty;
    Insertion insertion;
    insertion.accepted = true;
    insertion.requiredText = &empty;
    insertion.missingTextMessage =
        QStringLiteral("Tiene que escribir una frase para poder insertarla en la imagen ...");
    bool drawn = false;
    insertion.draw = [&drawn](Surface&, QPoint) { return drawn = true; };
    EXPECT_FALSE(runInsertion(state(), insertion));
    EXPECT_FALSE(drawn);
    EXPECT_EQ(state().history.level(), 0);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0].caption, QStringLiteral("Programador"));
    EXPECT_EQ(services.messages[0].text, insertion.missingTextMessage);

    const QString blanks = QStringLiteral("   ");
    insertion.requiredText = &blanks;
    EXPECT_TRUE(runInsertion(state(), insertion));
    EXPECT_EQ(state().history.level(), 1);
}

TEST_F(DispatchTest, InsertionDrawsAtTheZeroPositionAndLeavesNoEmptyLevel) {
    makePaper(30, 30);
    window.horizontalTrackbar()->setValue(11);
    window.verticalTrackbar()->setValue(21);
    Insertion insertion;
    insertion.accepted = true;
    insertion.draw = [](Surface& canvas, QPoint zero) {
        canvas.setPixel(zero.x(), zero.y(), 0x00FF00);
        return true;
    };
    EXPECT_TRUE(runInsertion(state(), insertion));
    EXPECT_EQ(canvas().pixel(10, 20), 0x00FF00);

    insertion.draw = [](Surface&, QPoint) { return false; };
    EXPECT_FALSE(runInsertion(state(), insertion));
    EXPECT_EQ(state().history.level(), 1);
    insertion.accepted = false;
    EXPECT_FALSE(runInsertion(state(), insertion));
    EXPECT_EQ(state().history.level(), 1);
}

TEST_F(DispatchTest, InsertedPictureIsClippedAtTheCanvasEdgeAndUndone) {
    makePaper(50, 50);  // 189 x 189
    const QImage before = canvas().image().copy();
    window.horizontalTrackbar()->setValue(151);
    window.verticalTrackbar()->setValue(101);
    services.fileAnswers.push_back(pictureFile(QStringLiteral("trozo.bmp"), 100, 120));
    window.command(command::InsertPicture);
    EXPECT_EQ(state().history.level(), 1);
    EXPECT_EQ(canvas().size(), QSize(189, 189));
    EXPECT_EQ(canvas().pixel(150, 100), 0x0000FF);  // the picture's red left half
    EXPECT_EQ(canvas().pixel(188, 188), 0x0000FF);
    EXPECT_EQ(canvas().pixel(149, 100), 0xFFFFFF);
    EXPECT_EQ(state().pictureSize().width(), 189);
    window.command(command::Undo);
    EXPECT_EQ(canvas().image(), before);
}

TEST_F(DispatchTest, ShortOrFailedInsertPathsChangeNothing) {
    makePaper(20, 20);
    services.fileAnswers.push_back(QStringLiteral("a.b"));
    window.command(command::InsertPicture);
    services.fileAnswers.push_back(QStringLiteral("a.b"));
    window.command(command::InsertIcon);
    EXPECT_EQ(state().history.level(), 0);
    EXPECT_TRUE(services.messages.isEmpty());

    services.fileAnswers.push_back(folder.filePath(QStringLiteral("falta.png")));
    window.command(command::InsertPicture);
    EXPECT_EQ(state().history.level(), 0);
    EXPECT_EQ(services.messages.size(), 1);
}

TEST_F(DispatchTest, DamagedFilesAndPipesLeaveCanvasLevelsAndSizeAlone) {
    const QString whole = pictureFile(QStringLiteral("entera.bmp"), 60, 40);
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    const QString cut = folder.filePath(QStringLiteral("cortada.bmp"));
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() / 2));
    out.close();
    const QString pipe = folder.filePath(QStringLiteral("tubo.ico"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const auto readError = [](const QString& name) {
        return "[GraphicLoadImageFileToBitmap] [GdipLoadImagefromFile] read error on <" + name +
               ">";
    };

    // Opening with no picture yet: the message, and still no picture.
    services.fileAnswers.push_back(cut);
    window.command(command::ReadPicture);
    EXPECT_EQ(services.messageTexts(), QStringList{readError(cut)});
    EXPECT_FALSE(state().history.hasPicture());
    EXPECT_EQ(stateOf(command::ReadPicture), ItemState::Enabled);

    makePaper(30, 20);
    const QImage before = canvas().image().copy();
    const QSize size(state().pictureSize().width(), state().pictureSize().height());
    services.messages.clear();
    for (const auto& [commandId, name] :
         {std::pair{command::InsertPicture, cut}, std::pair{command::InsertIcon, pipe},
          std::pair{command::InsertPicture, pipe}}) {
        services.fileAnswers.push_back(name);
        window.command(commandId);
    }
    EXPECT_EQ(services.messageTexts(),
              (QStringList{readError(cut), readError(pipe), readError(pipe)}));
    EXPECT_EQ(state().history.level(), 0);
    EXPECT_EQ(canvas().image(), before);
    EXPECT_EQ(state().pictureSize(), size);
}

TEST_F(DispatchTest, SaveReplacesTheExtensionAndAsksBeforeOverwriting) {
    makePaper(20, 20);
    state().cut.formatChoice = kFormatPng;
    const QString typed = folder.filePath(QStringLiteral("foto.jpg"));
    const QString written = folder.filePath(QStringLiteral("foto.png"));

    services.fileAnswers.push_back(typed);
    window.command(command::SavePicture);
    EXPECT_TRUE(QFile::exists(written));
    EXPECT_FALSE(QFile::exists(typed));
    EXPECT_EQ(services.messageTexts(), QStringList{QStringLiteral("Grabado con exito ...")});

    services.messages.clear();
    services.fileAnswers.push_back(typed);
    services.yesNoAnswers.push_back(false);
    window.command(command::SavePicture);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(services.messages[0].yesNo);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("El fichero existe ...\r\nSobreescribir?"));
}

// A command that finds no memory for the undo level it needs says so, and the picture, its
// levels and their numbers stay as they were; once memory is there again, all goes on.
TEST_F(DispatchTest, ACommandWithoutMemoryForItsLevelSaysSoAndChangesNothing) {
    makePaper(50, 50);
    const QImage paper = canvas().image().copy();
    services.fileAnswers.push_back(pictureFile(QStringLiteral("trozo.bmp"), 100, 120));
    window.command(command::InsertPicture);
    ASSERT_EQ(state().history.level(), 1);
    const QImage inserted = canvas().image().copy();
    const std::uint64_t id = state().history.stateId();
    const QString caption = window.windowTitle();
    services.messages.clear();

    TilePool::setTakeFault([] { return true; });
    window.command(command::GreyScale);
    services.fileAnswers.push_back(pictureFile(QStringLiteral("otro.bmp"), 10, 10));
    window.command(command::InsertPicture);
    TilePool::setTakeFault({});
    const QString noMemory = QStringLiteral("No hay memoria suficiente para esta operación ...");
    EXPECT_EQ(services.messageTexts(), (QStringList{noMemory, noMemory}));
    EXPECT_EQ(state().history.level(), 1);
    EXPECT_EQ(state().history.stateId(), id);
    EXPECT_EQ(state().history.redoLevels(), 0);
    EXPECT_EQ(canvas().image(), inserted);
    EXPECT_EQ(state().history.levelPicture(0), paper);
    EXPECT_EQ(window.windowTitle(), caption);

    window.command(command::GreyScale);
    EXPECT_EQ(state().history.level(), 2);
    window.command(command::Undo);
    window.command(command::Undo);
    EXPECT_EQ(canvas().image(), paper);
}

// While a large picture is written (its progress keeps the windows painted, so queued calls
// run), no command runs: a picture opened or dropped meanwhile waits until the file is
// complete, then the waiting ones open in order. The file holds the picture as it was.
TEST_F(DispatchTest, PicturesOpenedOrDroppedDuringASaveWaitForIt) {
    const QString large = pictureFile(QStringLiteral("grande.png"), 2000, 1000);
    const QString small = pictureFile(QStringLiteral("pequena.png"), 30, 20);
    QImage droppedPicture(12, 9, QImage::Format_RGB32);
    droppedPicture.fill(qRgb(10, 200, 30));
    QMimeData dropped;
    dropped.setImageData(droppedPicture);
    state().cut.formatChoice = kFormatPng;
    const auto settle = [] {
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    };

    // First the write waits until the opening and the drop have come; then a save whose
    // opening comes while the picture is being encoded, as it happens.
    for (const bool waitForThem : {true, false}) {
        SCOPED_TRACE(waitForThem ? "write held" : "as it happens");
        window.openPicture(large);
        settle();
        ASSERT_EQ(canvas().size(), QSize(2000, 1000));
        const QImage picture = canvas().image().copy();
        const QString target =
            folder.filePath(waitForThem ? QStringLiteral("a.png") : QStringLiteral("b.png"));
        services.fileAnswers.push_back(target);
        services.messages.clear();

        std::atomic<bool> arrived{false};
        if (waitForThem) {
            platform::setWriteFault([&arrived](platform::WriteStep) {
                const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
                while (!arrived && std::chrono::steady_clock::now() < until) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                return false;
            });
        }
        QTimer::singleShot(0, &window, [&] {
            window.openPicture(small);
            if (waitForThem) {
                QDragEnterEvent enter(QPoint(600, 450), Qt::CopyAction, &dropped, Qt::LeftButton,
                                      Qt::NoModifier);
                QApplication::sendEvent(&window, &enter);
                QDropEvent drop(QPointF(600, 450), Qt::CopyAction, &dropped, Qt::LeftButton,
                                Qt::NoModifier);
                QApplication::sendEvent(&window, &drop);
                EXPECT_TRUE(drop.isAccepted());
            }
            arrived = true;
        });
        window.command(command::SavePicture);
        platform::setWriteFault({});
        if (waitForThem) {
            EXPECT_TRUE(arrived);
            EXPECT_EQ(canvas().image(), picture) << "something opened during the save";
        }
        EXPECT_EQ(QImage(target).convertToFormat(QImage::Format_RGB32), picture);

        settle();
        EXPECT_EQ(services.messageTexts(), QStringList{QStringLiteral("Grabado con exito ...")});
        EXPECT_EQ(canvas().size(), waitForThem ? QSize(12, 9) : QSize(30, 20));
        if (waitForThem) {
            EXPECT_EQ(canvas().pixel(11, 8), 0x1EC80A);
        }
    }
}

TEST_F(DispatchTest, FileChoosersUseTheirTitlesAndFilters) {
    makePaper(20, 20);
    state().lastFileName = folder.filePath(QStringLiteral("antes.png"));
    window.command(command::InsertIcon);
    ASSERT_EQ(services.choosers.size(), 1);
    const platform::FileRequest& icon = services.choosers[0].request;
    EXPECT_EQ(icon.title, QStringLiteral("Navegador de ficheros para icono"));
    EXPECT_EQ(icon.defaultSuffix, QStringLiteral("ico"));
    EXPECT_EQ(icon.filters.value(0).first, QStringLiteral("Iconos"));
    EXPECT_EQ(icon.startPath, folder.filePath(QStringLiteral("antes.png")));
    EXPECT_TRUE(state().lastFileName.isEmpty());  // cancelled

    window.command(command::SavePicture);
    ASSERT_EQ(services.choosers.size(), 2);
    EXPECT_TRUE(services.choosers[1].save);
    EXPECT_EQ(services.choosers[1].request.title,
              QStringLiteral("Navegador de ficheros para imagen o foto"));
    // Every kind of picture the program reads, under each of its usual names.
    EXPECT_EQ(services.choosers[1].request.filters.value(0).second,
              QStringLiteral("*.jpg;*.jpeg;*.png;*.gif;*.bmp;*.tif;*.tiff"));

    // Opening also lists the formats the program reads but does not write.
    window.command(command::ReadPicture);
    ASSERT_EQ(services.choosers.size(), 3);
    EXPECT_FALSE(services.choosers[2].save);
    EXPECT_EQ(
        services.choosers[2].request.filters.value(0).second,
        QStringLiteral("*.jpg;*.jpeg;*.png;*.gif;*.bmp;*.tif;*.tiff;*.webp;*.heic;*.heif;*.avif"));
}

}  // namespace
}  // namespace tessel
