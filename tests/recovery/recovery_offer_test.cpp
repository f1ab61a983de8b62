// The offer at start: a copy left by a program that ended without removing it is offered with
// its date; "Recuperar" opens it as unsaved work with its file name, zero position and paper,
// "Descartar" removes it, "Más tarde" keeps it; a copy of a running program is never offered; a
// damaged copy is refused with a message and kept.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

#include "app/MainWindow.h"
#include "app/UnsavedWork.h"
#include "platform/SafeFile.h"
#include "recovery/RecoveryCopy.h"
#include "recovery/RecoveryKeeper.h"
#include "recovery/RecoveryOffer.h"
#include "support/ScriptedServices.h"

namespace tessel::recovery {
namespace {

using platform::RecoverAnswer;

class RecoveryOfferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = dir.filePath(QStringLiteral("tessel"));
        picture = QImage(130, 70, QImage::Format_RGB32);
        QRandomGenerator random(5);
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x) row[x] = random.generate() | 0xFF000000u;
        }
    }

    // A copy as a program that then ended left it: its lock is free.
    QString leftCopy(const QDateTime& time, bool opened = true) {
        QThread::msleep(2);  // each start its own name
        OwnCopy ended(folder);
        EXPECT_TRUE(ended.lock());
        CopyDescription d;
        d.fileName = QStringLiteral("/fotos/playa.jpg");
        d.zero = QPoint(44, 33);
        d.paper.widthMm = 120;
        d.paper.heightMm = 80;
        d.paper.paperColour = 0x00FF00;
        d.paper.useTexture = 1;
        d.paper.textureNumber = 9;
        d.openedPicture = opened;
        d.pid = 77;
        d.time = time;
        d.size = picture.size();
        EXPECT_TRUE(platform::writeFileSafely(ended.picturePath(), *encodeCopy(picture, d)));
        return ended.picturePath();
    }

    // A new start of the program: its window and its keeper.
    MainWindow* startWindow() {
        keeper.reset();
        windows.push_back(std::make_unique<MainWindow>());
        MainWindow* window = windows.back().get();
        EXPECT_TRUE(window->initialise());
        keeper = std::make_unique<RecoveryKeeper>(window->state(), folder, [] { return false; });
        return window;
    }

    QList<testing::ShownMessage> offers() const {
        QList<testing::ShownMessage> shown;
        for (const auto& m : services.messages) {
            if (m.recoverQuestion) shown << m;
        }
        return shown;
    }

    QTemporaryDir dir;
    QString folder;
    QImage picture;
    testing::ScriptedServices services;
    std::vector<std::unique_ptr<MainWindow>> windows;
    std::unique_ptr<RecoveryKeeper> keeper;  // goes before the windows
};

TEST_F(RecoveryOfferTest, RecoveredCopyOpensAsUnsavedWorkAndBecomesThisProgramsCopy) {
    const QDateTime time(QDate(2026, 12, 9), QTime(21, 40), Qt::LocalTime);
    const QString left = leftCopy(time.toUTC());
    MainWindow* window = startWindow();
    services.recoverAnswers.push_back(RecoverAnswer::Recover);
    offerAbandonedCopies(*window, *keeper);

    const QList<testing::ShownMessage> shown = offers();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Programador"));
    EXPECT_EQ(shown[0].text, QStringLiteral("Se ha encontrado una imagen que no se llegó a "
                                            "guardar (9 de diciembre de 2026, 21:40). "
                                            "¿Recuperarla?"));
    const AppState& state = window->state();
    ASSERT_TRUE(state.history.hasPicture());
    EXPECT_EQ(state.history.current().image(), picture);
    EXPECT_EQ(state.history.level(), 0);
    EXPECT_TRUE(hasUnsavedWork(state));
    EXPECT_EQ(state.pictureSize().width(), 130);
    EXPECT_EQ(state.pictureSize().height(), 70);
    EXPECT_EQ(state.zero, QPoint(44, 33));
    EXPECT_EQ(state.lastFileName, QStringLiteral("/fotos/playa.jpg"));
    EXPECT_EQ(state.paper.widthMm, 120);
    EXPECT_EQ(state.paper.paperColour, Colour(0x00FF00));
    EXPECT_EQ(state.paper.textureNumber, 9);
    EXPECT_EQ(window->menu()->phase(), MenuPhase::PictureLoaded);
    EXPECT_TRUE(window->windowTitle().startsWith(u'*'));
    // The copy is now this program's, under its name and lock: no other start takes it.
    EXPECT_FALSE(QFileInfo::exists(left));
    EXPECT_TRUE(QFileInfo::exists(keeper->copyPath()));
    EXPECT_TRUE(claimAbandonedCopies(folder).empty());
    EXPECT_TRUE(keeper->writeNow());  // already up to date
    EXPECT_EQ(readCopy(keeper->copyPath())->picture, picture);
}

TEST_F(RecoveryOfferTest, DiscardRemovesLaterKeepsAndARunningProgramsCopyIsNotOffered) {
    OwnCopy running(folder);
    ASSERT_TRUE(running.lock());
    ASSERT_TRUE(platform::writeFileSafely(running.picturePath(), QByteArray("running")));
    const QString older = leftCopy(QDateTime::currentDateTimeUtc().addDays(-1), false);
    QThread::msleep(1100);  // the newer file is offered first
    const QString newer = leftCopy(QDateTime::currentDateTimeUtc());

    MainWindow* window = startWindow();
    services.recoverAnswers = {RecoverAnswer::Discard, RecoverAnswer::Later};
    offerAbandonedCopies(*window, *keeper);
    EXPECT_EQ(offers().size(), 2);
    EXPECT_FALSE(QFileInfo::exists(newer));
    EXPECT_TRUE(QFileInfo::exists(older));
    EXPECT_FALSE(window->state().history.hasPicture());
    EXPECT_TRUE(QFileInfo::exists(running.picturePath()));

    // Offered again at the next start, as a paper this time; "Más tarde" leaves the rest.
    services.messages.clear();
    MainWindow* next = startWindow();
    services.recoverAnswers = {RecoverAnswer::Recover};
    offerAbandonedCopies(*next, *keeper);
    EXPECT_EQ(offers().size(), 1);
    EXPECT_EQ(next->menu()->phase(), MenuPhase::PaperCreated);
    EXPECT_FALSE(QFileInfo::exists(older));
}

TEST_F(RecoveryOfferTest, ADamagedCopyIsRefusedWithAMessageAndKept) {
    const QString left = leftCopy(QDateTime::currentDateTimeUtc());
    QFile file(left);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    file.resize(whole.size() - 40);  // the end of the pixels is gone, the description stays
    file.close();
    MainWindow* window = startWindow();
    services.recoverAnswers.push_back(RecoverAnswer::Recover);
    offerAbandonedCopies(*window, *keeper);
    EXPECT_EQ(offers().size(), 1);
    ASSERT_EQ(services.messageTexts().size(), 2);
    EXPECT_EQ(services.messageTexts()[1], damagedCopyMessage(left));
    EXPECT_TRUE(services.messageTexts()[1].contains(left));
    EXPECT_TRUE(QFileInfo::exists(left));
    EXPECT_FALSE(window->state().history.hasPicture());

    // A copy whose description cannot be read is refused before any question.
    ASSERT_TRUE(platform::writeFileSafely(left, QByteArray("no picture at all")));
    services.messages.clear();
    offerAbandonedCopies(*window, *keeper);
    EXPECT_TRUE(offers().isEmpty());
    EXPECT_EQ(services.messageTexts(), QStringList({damagedCopyMessage(left)}));
    EXPECT_TRUE(QFileInfo::exists(left));
}

}  // namespace
}  // namespace tessel::recovery
