#include "platform/LongWork.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace tessel::platform {

BusyCursor::BusyCursor() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        shown_ = true;
    }
}

BusyCursor::~BusyCursor() {
    if (shown_) QApplication::restoreOverrideCursor();
}

namespace {
std::atomic<int> testDelayMs{0};
}  // namespace

void setLongWorkDelayForTesting(int milliseconds) {
    testDelayMs = milliseconds;
}

void runLongWork(const QString& label, const std::function<void()>& work) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        work();
        return;
    }
    BusyCursor busy;
    std::unique_ptr<QThread> worker(QThread::create([&work, delay = testDelayMs.load()] {
        if (delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        work();
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);

    QProgressDialog progress(label, QString(), 0, 0, QApplication::activeWindow());
    progress.setWindowTitle(QStringLiteral("Programador"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.hide();
    QTimer appear;
    appear.setSingleShot(true);
    QObject::connect(&appear, &QTimer::timeout, &progress, [&progress] { progress.show(); });
    appear.start(kProgressDelayMs);

    worker->start();
    // No keyboard or mouse input; timers, queued calls and other window-system events still
    // come (the main window holds back the commands and openings they would start).
    if (!worker->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
}

}  // namespace tessel::platform
