// The program itself under SIGTERM, SIGHUP and SIGINT: with unsaved work it writes the copy of
// the picture current at the signal and ends with status 0, leaving nothing half-written; with
// nothing unsaved it leaves no copy. Changes are made by the program's scripted-changes hook.

#include <gtest/gtest.h>

#include <signal.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "recovery/RecoveryCopy.h"

namespace tessel::recovery {
namespace {

QByteArray pixelHash(const QImage& picture) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int y = 0; y < picture.height(); ++y) {
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(picture.constScanLine(y)),
                                    qsizetype(picture.width()) * 4));
    }
    return hash.result().toHex();
}

struct ProgramRun {
    QTemporaryDir dir;
    QProcess program;

    // Starts the program making `changes` changes, 30 ms apart, on a 240 x 180 paper.
    explicit ProgramRun(int changes) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.path());
        env.insert(QStringLiteral("TESSEL_SCRIPTED_CHANGES"),
                   QStringLiteral("240x180:30:%1").arg(changes));
        env.insert(QStringLiteral("TESSEL_SCRIPTED_LOG"), logPath());
        // Never on its own during the test: only the signal writes the copy.
        env.insert(QStringLiteral("TESSEL_RECOVERY_DELAY_MS"), QStringLiteral("3600000"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(TESSEL_BINARY), {});
    }
    QString logPath() const { return dir.filePath(QStringLiteral("changes.log")); }
    QString folder() const { return dir.filePath(QStringLiteral("tessel")); }

    // The log's lines once it has `count` of them (the paper's and one per change).
    QList<QByteArray> waitForLines(int count) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000) {
            QFile log(logPath());
            if (log.open(QIODevice::ReadOnly)) {
                const QList<QByteArray> lines = log.readAll().split('\n');
                if (lines.size() > count) return lines.mid(0, count);
            }
            QThread::msleep(20);
        }
        return {};
    }
};

TEST(EndSignals, EachEndingSignalWritesTheCopyAndEndsWithStatusZero) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        ProgramRun run(6);
        ASSERT_TRUE(run.program.waitForStarted());
        const QList<QByteArray> lines = run.waitForLines(7);
        ASSERT_EQ(lines.size(), 7);
        QThread::msleep(100);  // no change after the last one
        const qint64 pid = run.program.processId();
        ::kill(pid_t(pid), signal);
        ASSERT_TRUE(run.program.waitForFinished(60000));
        EXPECT_EQ(run.program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.program.exitCode(), 0);

        const QStringList files =
            QDir(run.folder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        ASSERT_EQ(files.size(), 2) << files.join(u' ').toStdString();  // the copy and its lock
        const QString copyName = files.filter(QStringLiteral(".png")).value(0);
        ASSERT_TRUE(copyName.startsWith(QStringLiteral("tessel-%1-").arg(pid)));
        const std::optional<Copy> copy = readCopy(QDir(run.folder()).filePath(copyName));
        ASSERT_TRUE(copy);
        EXPECT_EQ(pixelHash(copy->picture), lines.last().split(' ').value(2));
        EXPECT_EQ(copy->description.pid, pid);
    }
}

TEST(EndSignals, WithNothingUnsavedNoCopyIsLeft) {
    ProgramRun run(0);
    ASSERT_TRUE(run.program.waitForStarted());
    ASSERT_EQ(run.waitForLines(1).size(), 1);
    ::kill(pid_t(run.program.processId()), SIGTERM);
    ASSERT_TRUE(run.program.waitForFinished(60000));
    EXPECT_EQ(run.program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.program.exitCode(), 0);
    EXPECT_TRUE(QDir(run.folder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
}  // namespace tessel::recovery
