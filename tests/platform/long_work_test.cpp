#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/LongWork.h"

namespace tessel::platform {
namespace {

QProgressDialog* visibleProgress() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* progress = qobject_cast<QProgressDialog*>(widget);
        if (progress && progress->isVisible()) return progress;
    }
    return nullptr;
}

// Work that runs until the main thread has looked at the screen (or ten seconds have passed).
struct Observed {
    std::atomic<bool> looked{false};
    bool progressShown = false;
    QString label;
    bool waitCursor = false;
    bool workRanOnAnotherThread = false;

    void work(std::thread::id mainThread) {
        workRanOnAnotherThread = std::this_thread::get_id() != mainThread;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!looked && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    void look() {
        QProgressDialog* progress = visibleProgress();
        if (progress) label = progress->labelText();
        progressShown = progress != nullptr;
        waitCursor = QApplication::overrideCursor() &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        looked = true;
    }
};

TEST(LongWork, ShowsTheWaitCursorAtOnceAndTheProgressWindowAfterHalfASecond) {
    const std::thread::id mainThread = std::this_thread::get_id();
    {
        Observed early;
        QTimer::singleShot(kProgressDelayMs / 5, [&] { early.look(); });
        runLongWork(QStringLiteral("Grabando imagen ..."), [&] { early.work(mainThread); });
        EXPECT_TRUE(early.workRanOnAnotherThread);
        EXPECT_TRUE(early.waitCursor);
        EXPECT_FALSE(early.progressShown);
    }
    {
        Observed late;
        QTimer::singleShot(kProgressDelayMs * 2, [&] { late.look(); });
        runLongWork(QStringLiteral("Grabando imagen ..."), [&] { late.work(mainThread); });
        EXPECT_TRUE(late.waitCursor);
        EXPECT_TRUE(late.progressShown);
        EXPECT_EQ(late.label, QStringLiteral("Grabando imagen ..."));
    }
    // Once the work is done the cursor and the window are gone.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(visibleProgress(), nullptr);
}

TEST(LongWork, BusyCursorsNestAndRestore) {
    {
        BusyCursor outer;
        {
            BusyCursor inner;
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
        }
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tessel::platform
