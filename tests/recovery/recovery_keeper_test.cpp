// The copy kept while work is unsaved: written within the delay after a change and following
// later changes, equal to the picture with what restoring it needs; gone once the work is saved,
// discarded or undone back to the saved picture; written at once when asked; kept at the end
// only for work left unsaved.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "app/UnsavedWork.h"
#include "recovery/RecoveryCopy.h"
#include "recovery/RecoveryKeeper.h"
#include "support/ScriptedServices.h"

namespace tessel::recovery {
namespace {

using std::chrono::milliseconds;
constexpr milliseconds kDelay{400};

class RecoveryKeeperTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>();
        ASSERT_TRUE(window->initialise());
        window->state().paper.widthMm = 60;  // 227 x 170 pixels
        window->state().paper.heightMm = 45;
        window->createPaper();
        keeper = std::make_unique<RecoveryKeeper>(window->state(), dir.filePath("tessel"),
                                                  [] { return false; });
        keeper->setDelay(kDelay);
    }
    void TearDown() override {
        keeper.reset();
        window.reset();
    }

    void change(QColor colour) {
        AppState& state = window->state();
        state.history.push();
        QPainter(&state.history.current().imageFor(QRect(10, 20, 30, 40)))
            .fillRect(QRect(10, 20, 30, 40), colour);
        window->redisplay();
    }

    // Waits (events running) until the copy on disk holds the current picture; the time taken.
    std::optional<qint64> waitForCopyOfCurrent(milliseconds limit) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < limit.count()) {
            QTest::qWait(10);
            if (keeper->busy() || !QFileInfo::exists(keeper->copyPath())) continue;
            const std::optional<Copy> copy = readCopy(keeper->copyPath());
            if (copy && copy->picture == window->state().history.current().image()) {
                return clock.elapsed();
            }
        }
        return std::nullopt;
    }

    bool copyGoneWithin(milliseconds limit) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < limit.count()) {
            QTest::qWait(10);
            if (!QFileInfo::exists(keeper->copyPath()) && !keeper->busy()) return true;
        }
        return false;
    }

    QTemporaryDir dir;
    testing::ScriptedServices services;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<RecoveryKeeper> keeper;
};

TEST_F(RecoveryKeeperTest, ACopyFollowsTheChangesWithinTheDelayAndGoesAfterASave) {
    QTest::qWait(int(kDelay.count()));
    EXPECT_FALSE(QFileInfo::exists(keeper->copyPath()));  // a fresh paper: nothing to lose

    window->state().zero = QPoint(17, 23);
    window->state().lastFileName = dir.filePath(QStringLiteral("dibujo.png"));
    change(Qt::red);
    const std::optional<qint64> first = waitForCopyOfCurrent(kDelay * 4);
    ASSERT_TRUE(first);
    EXPECT_LE(*first, kDelay.count() + 100);
    const std::optional<Copy> copy = readCopy(keeper->copyPath());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->description.zero, QPoint(17, 23));
    EXPECT_EQ(copy->description.fileName, dir.filePath(QStringLiteral("dibujo.png")));
    EXPECT_EQ(copy->description.paper.widthMm, 60);
    EXPECT_EQ(copy->description.paper.heightMm, 45);
    EXPECT_FALSE(copy->description.openedPicture);
    EXPECT_EQ(copy->description.pid, QCoreApplication::applicationPid());
    EXPECT_LE(qAbs(copy->description.time.secsTo(QDateTime::currentDateTimeUtc())), 5);

    // Later changes, with and without a push, and an undo, each reach the copy in time.
    change(Qt::blue);
    ASSERT_TRUE(waitForCopyOfCurrent(kDelay * 4));
    QPainter(&window->state().history.current().imageFor(QRect(0, 0, 5, 5)))
        .fillRect(QRect(0, 0, 5, 5), Qt::green);
    ASSERT_TRUE(waitForCopyOfCurrent(kDelay * 4));
    window->command(command::Undo);
    ASSERT_TRUE(waitForCopyOfCurrent(kDelay * 4));
    // At most one copy for this program, and nothing half-made beside it.
    EXPECT_EQ(QDir(dir.filePath("tessel")).entryList(QDir::Files | QDir::Hidden).size(), 2);

    services.fileAnswers.push_back(dir.filePath(QStringLiteral("dibujo.png")));
    window->command(command::SavePicture);
    ASSERT_FALSE(hasUnsavedWork(window->state()));
    EXPECT_TRUE(copyGoneWithin(kDelay * 2));
    EXPECT_TRUE(QDir(dir.filePath("tessel")).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(RecoveryKeeperTest, TheCopyGoesWhenTheWorkIsDiscardedOrUndoneToTheSavedPicture) {
    change(Qt::red);
    ASSERT_TRUE(waitForCopyOfCurrent(kDelay * 4));
    window->command(command::Undo);  // the paper as created: nothing unsaved
    EXPECT_TRUE(copyGoneWithin(kDelay * 2));

    change(Qt::red);
    ASSERT_TRUE(waitForCopyOfCurrent(kDelay * 4));
    services.saveAnswers.push_back(platform::SaveAnswer::Discard);
    window->command(command::New);
    EXPECT_TRUE(copyGoneWithin(kDelay * 2));
}

TEST_F(RecoveryKeeperTest, WrittenAtOnceWhenAskedAndKeptAtTheEndOnlyForUnsavedWork) {
    keeper->setDelay(milliseconds(3600 * 1000));  // never on its own in this test
    change(Qt::red);
    ASSERT_TRUE(keeper->writeNow());
    std::optional<Copy> copy = readCopy(keeper->copyPath());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->picture, window->state().history.current().image());

    change(Qt::yellow);
    keeper->finish();  // the end with unsaved work: the copy is brought up to date and stays
    copy = readCopy(keeper->copyPath());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->picture, window->state().history.current().image());
    const QString kept = keeper->copyPath();
    keeper.reset();
    EXPECT_TRUE(QFileInfo::exists(kept));

    // A second run: the end after the work was settled removes its copy.
    keeper = std::make_unique<RecoveryKeeper>(window->state(), dir.filePath("tessel"),
                                              [] { return false; });
    ASSERT_TRUE(keeper->writeNow());
    ASSERT_TRUE(QFileInfo::exists(keeper->copyPath()));
    markClean(window->state());
    keeper->finish();
    EXPECT_FALSE(QFileInfo::exists(keeper->copyPath()));
    EXPECT_FALSE(QFileInfo::exists(keeper->ownCopy().lockPath()));
    QFile::remove(kept);
}

TEST_F(RecoveryKeeperTest, AWholePictureChangeIsTakenInSlicesAndWrittenAfterwards) {
    window->state().paper.widthMm = 600;  // 2268 x 1701 pixels
    window->state().paper.heightMm = 450;
    window->createPaper();
    window->state().history.push();
    window->state().history.current().image().invertPixels();
    ASSERT_TRUE(waitForCopyOfCurrent(kDelay * 10));
}

TEST_F(RecoveryKeeperTest, ChangesOfTheWholePictureThatKeepComingStillGetTheirCopyInTime) {
    QImage large(6000, 4000, QImage::Format_RGB32);
    large.fill(QColor(30, 60, 90));
    window->state().history.start(large);
    markClean(window->state());
    ASSERT_EQ(window->state().history.current().size(), QSize(6000, 4000));
    const QImage paper = window->state().history.current().image().copy();
    QImage inverted = paper;
    inverted.invertPixels();
    // A change of the whole picture at every turn of the event loop: the picture is the first
    // one or its inverse, never long the same.
    QTimer changes;
    QObject::connect(&changes, &QTimer::timeout, [&] {
        window->state().history.push();
        window->state().history.current().image().invertPixels();
    });
    changes.start(0);
    QElapsedTimer clock;
    clock.start();
    // Half the delay for the picture, then a 24-megapixel PNG on a busy machine.
    while (clock.elapsed() < 20000 && !QFileInfo::exists(keeper->copyPath())) {
        QTest::qWait(5);
    }
    changes.stop();
    ASSERT_TRUE(QFileInfo::exists(keeper->copyPath()));
    const std::optional<Copy> copy = readCopy(keeper->copyPath());
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->picture == paper || copy->picture == inverted);
}

}  // namespace
}  // namespace tessel::recovery
