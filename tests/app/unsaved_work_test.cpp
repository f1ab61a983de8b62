// Unsaved work and dropped pictures: the question before every path that replaces or closes a
// changed canvas, with each answer; no question after a save or after undoing back to the saved
// state; the "*" in the caption; a drop of one, of two and of no local file; the name the save
// proposes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>
#include <memory>

#include "view/CanvasView.h"
#include "app/CommandIds.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/UnsavedWork.h"
#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using platform::SaveAnswer;

class UnsavedWorkTest : public ::testing::Test {
  public:  // the paths below reach the scripted services
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    // A window showing a 50 x 40 mm paper (189 x 151 pixels) with one change on it.
    std::unique_ptr<MainWindow> changedPaper() {
        auto window = std::make_unique<MainWindow>();
        EXPECT_TRUE(window->initialise());
        window->show();
        window->state().paper.widthMm = 50;
        window->state().paper.heightMm = 40;
        window->createPaper();
        window->command(command::GreyScale);
        EXPECT_EQ(window->state().history.level(), 1);
        return window;
    }

    QString pictureFile(const QString& name, int width, int height) {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(QColor(0, 128, 255));
        const QString path = folder.filePath(name);
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    int questionsAsked() const {
        int count = 0;
        for (const auto& message : services.messages) {
            if (message.saveQuestion) {
                EXPECT_EQ(message.caption, QStringLiteral("Programador"));
                EXPECT_EQ(message.text, QStringLiteral("¿Guardar los cambios de la imagen?"));
                ++count;
            }
        }
        return count;
    }

    static bool dropUrls(QWidget& window, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(600, 450), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(600, 450), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QCoreApplication::processEvents();
        EXPECT_EQ(enter.isAccepted(), drop.isAccepted());
        return drop.isAccepted();
    }

    QTemporaryDir folder;
    testing::ScriptedServices services;
};

// One way of replacing or closing the canvas, and how to tell that it went on.
struct Path {
    const char* name;
    std::function<void(UnsavedWorkTest&, MainWindow&, const QString& picture)> run;
    std::function<bool(MainWindow&)> wentOn;
};

TEST_F(UnsavedWorkTest, EveryPathAsksAndFollowsTheAnswer) {
    const QString picture = pictureFile(QStringLiteral("foto.png"), 64, 48);
    const auto openedPicture = [](MainWindow& w) { return w.state().pictureSize().width() == 64; };
    const auto closed = [](MainWindow& w) { return !w.isVisible(); };
    const Path paths[] = {
        {"Nuevo", [](auto&, MainWindow& w, auto&) { w.command(command::New); },
         [](MainWindow& w) { return !w.state().history.hasPicture(); }},
        {"Leer Imagen",
         [](UnsavedWorkTest& t, MainWindow& w, const QString& file) {
             t.services.fileAnswers.push_back(file);
             w.command(command::ReadPicture);
         },
         openedPicture},
        {"drop",
         [](auto&, MainWindow& w, const QString& file) {
             dropUrls(w, {QUrl::fromLocalFile(file)});
         },
         openedPicture},
        {"command line", [](auto&, MainWindow& w, const QString& file) { w.openPicture(file); },
         openedPicture},
        {"Salir", [](auto&, MainWindow& w, auto&) { w.command(command::Quit); }, closed},
        {"close box", [](auto&, MainWindow& w, auto&) { w.close(); }, closed},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        // "Cancelar": nothing happens; the change and its "*" stay.
        services.messages.clear();
        auto window = changedPaper();
        EXPECT_TRUE(window->windowTitle().startsWith(u'*'));
        services.saveAnswers = {SaveAnswer::Cancel};
        path.run(*this, *window, picture);
        EXPECT_EQ(questionsAsked(), 1);
        EXPECT_FALSE(path.wentOn(*window));
        EXPECT_EQ(window->state().history.level(), 1);
        EXPECT_TRUE(window->isVisible());
        services.fileAnswers.clear();

        // "Descartar": goes on without saving.
        services.messages.clear();
        services.choosers.clear();
        services.saveAnswers = {SaveAnswer::Discard};
        path.run(*this, *window, picture);
        EXPECT_EQ(questionsAsked(), 1);
        EXPECT_TRUE(path.wentOn(*window));
        for (const auto& chooser : services.choosers) EXPECT_FALSE(chooser.save);

        // "Guardar" whose chooser is cancelled: nothing written, nothing replaced.
        services.messages.clear();
        window = changedPaper();
        services.saveAnswers = {SaveAnswer::Save};
        services.fileAnswers = {QString()};
        path.run(*this, *window, picture);
        EXPECT_EQ(questionsAsked(), 1);
        EXPECT_FALSE(path.wentOn(*window));
        EXPECT_EQ(window->state().history.level(), 1);
        services.fileAnswers.clear();

        // "Guardar" with a name: the file is written first, then the path goes on.
        const QString saved = folder.filePath(QStringLiteral("%1.png").arg(path.name));
        window->state().cut.formatChoice = kFormatPng;
        services.saveAnswers = {SaveAnswer::Save};
        services.fileAnswers = {saved};
        path.run(*this, *window, picture);
        EXPECT_TRUE(QFile::exists(saved));
        EXPECT_TRUE(path.wentOn(*window));
    }
}

TEST_F(UnsavedWorkTest, NoQuestionWhileTheCanvasIsAsLastSavedOpenedOrCreated) {
    auto window = changedPaper();
    window->command(command::Undo);  // back to the fresh paper
    EXPECT_EQ(window->windowTitle(), QStringLiteral("x : 0 y : 0"));
    window->command(command::New);
    EXPECT_EQ(questionsAsked(), 0);

    // A picture just opened from the command line, and a save of a changed one.
    window->openPicture(pictureFile(QStringLiteral("foto.png"), 64, 48));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("x : 0 y : 0"));
    window->command(command::GreyScale);
    window->state().cut.formatChoice = kFormatPng;
    services.fileAnswers = {folder.filePath(QStringLiteral("gris.png"))};
    window->command(command::SavePicture);
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("gris.png"))));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("x : 0 y : 0"));
    EXPECT_FALSE(hasUnsavedWork(window->state()));

    // Changed after the save, then undone back to the saved state: clean again. Undone below
    // it: the canvas no longer matches the file.
    window->command(command::GreyScale);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("*x : 0 y : 0")));
    window->command(command::Undo);
    EXPECT_FALSE(hasUnsavedWork(window->state()));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("x : 0 y : 0"));
    window->command(command::Undo);
    EXPECT_TRUE(hasUnsavedWork(window->state()));

    EXPECT_EQ(questionsAsked(), 0);
    services.saveAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(questionsAsked(), 1);
}

// A save writes the configured format under the chosen name with that format's extension in place
// of its own, so the save chooser proposes the name in that form: what the user accepts is the
// file written, and the picture that was opened stays as it was.
TEST_F(UnsavedWorkTest, TheSaveChooserProposesTheFileThatWillBeWritten) {
    MainWindow window;
    ASSERT_TRUE(window.initialise());
    window.show();
    const QString opened = pictureFile(QStringLiteral("work.png"), 64, 48);
    QFile openedFile(opened);
    ASSERT_TRUE(openedFile.open(QIODevice::ReadOnly));
    const QByteArray openedBytes = openedFile.readAll();
    openedFile.close();
    window.openPicture(opened);
    window.command(command::GreyScale);
    ASSERT_EQ(window.state().cut.formatChoice, kFormatJpg);  // the start value
    const QString written = folder.filePath(QStringLiteral("work.jpg"));

    // "Salir", "Guardar", then the chooser cancelled: it proposed work.jpg; nothing is written.
    services.saveAnswers = {SaveAnswer::Save};
    window.command(command::Quit);
    ASSERT_EQ(services.choosers.size(), 1);
    EXPECT_TRUE(services.choosers[0].save);
    EXPECT_EQ(services.choosers[0].request.startPath, written);
    EXPECT_TRUE(window.isVisible());

    // The proposed name accepted: that very file is written, the opened one is untouched.
    services.saveAnswers = {SaveAnswer::Save};
    services.fileAnswers = {written};
    window.command(command::Quit);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(QImage(written).size(), QSize(64, 48));
    ASSERT_TRUE(openedFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(openedFile.readAll(), openedBytes);

    // The rule for other names and formats: only the last extension of the file name is
    // replaced, a name without one gets the format's, and no name proposes nothing.
    struct Proposal {
        QString last;
        int format;
        QString proposed;
    };
    const Proposal proposals[] = {
        {QStringLiteral("/fotos/playa.jpg"), kFormatPng, QStringLiteral("/fotos/playa.png")},
        {QStringLiteral("/fotos/Playa.JPG"), kFormatJpg, QStringLiteral("/fotos/Playa.jpg")},
        {QStringLiteral("/fotos/playa.tar.gz"), kFormatGif, QStringLiteral("/fotos/playa.tar.gif")},
        {QStringLiteral("/fotos/v.2024/playa"), kFormatTif,
         QStringLiteral("/fotos/v.2024/playa.tif")},
        {QStringLiteral("/fotos/playa.heic"), kFormatBmp, QStringLiteral("/fotos/playa.bmp")},
        {QString(), kFormatPng, QString()},
    };
    for (const Proposal& p : proposals) {
        services.choosers.clear();
        QString last = p.last;
        ChoosePictureToSave(nullptr, last, p.format);
        ASSERT_EQ(services.choosers.size(), 1);
        EXPECT_EQ(services.choosers[0].request.startPath, p.proposed) << p.last.toStdString();
        EXPECT_TRUE(last.isEmpty());  // cancelled
    }
}

TEST_F(UnsavedWorkTest, TheSessionEndAsksOnlyWhenItMayAndSomethingIsUnsaved) {
    auto window = changedPaper();
    services.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::Discard};
    EXPECT_FALSE(settleUnsavedWorkAtSessionEnd(window->state(), window.get(), true));
    EXPECT_TRUE(settleUnsavedWorkAtSessionEnd(window->state(), window.get(), true));
    EXPECT_EQ(questionsAsked(), 2);
    // Unsaved work that cannot be asked about does not hold the session.
    EXPECT_TRUE(settleUnsavedWorkAtSessionEnd(window->state(), window.get(), false));
    window->command(command::Undo);
    EXPECT_TRUE(settleUnsavedWorkAtSessionEnd(window->state(), window.get(), true));
    EXPECT_EQ(questionsAsked(), 2);
}

TEST_F(UnsavedWorkTest, ADropOpensTheFirstLocalFileAndRefusesAnythingElse) {
    MainWindow window;
    ASSERT_TRUE(window.initialise());
    const QString first = pictureFile(QStringLiteral("primera.png"), 30, 20);
    const QString second = pictureFile(QStringLiteral("segunda.png"), 50, 40);

    EXPECT_FALSE(dropUrls(window, {QUrl(QStringLiteral("https://example.org/foto.png"))}));
    EXPECT_FALSE(window.state().history.hasPicture());

    EXPECT_TRUE(dropUrls(window, {QUrl(QStringLiteral("https://example.org/foto.png")),
                                  QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}));
    EXPECT_EQ(window.state().history.current().size(), QSize(30, 20));
    EXPECT_EQ(window.state().lastFileName, first);
    EXPECT_EQ(window.menu()->state(command::ReadPicture), ItemState::Grayed);

    // A second drop replaces the unchanged picture without a question.
    EXPECT_TRUE(dropUrls(window, {QUrl::fromLocalFile(second)}));
    EXPECT_EQ(window.state().history.current().size(), QSize(50, 40));
    EXPECT_EQ(questionsAsked(), 0);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(UnsavedWorkTest, AnUnreadableFileLeavesTheGreyViewWithTheLoadersMessage) {
    MainWindow window;
    ASSERT_TRUE(window.initialise());
    const QString missing = folder.filePath(QStringLiteral("no-existe.jpg"));
    window.openPicture(missing);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages.front().text,
              QStringLiteral("[GraphicLoadImageFileToBitmap] called on <") + missing +
                  QStringLiteral("> Missing file"));
    EXPECT_FALSE(window.state().history.hasPicture());
    EXPECT_EQ(window.canvasControl()->surface().pixel(600, 450), kViewGround);
    EXPECT_EQ(window.menu()->state(command::ReadPicture), ItemState::Enabled);
}

}  // namespace
}  // namespace tessel
