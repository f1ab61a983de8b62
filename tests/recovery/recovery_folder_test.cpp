// Whose copies are whose: a copy is claimed only once the program that wrote it has ended (its
// lock is free), whatever process number it had; a copy of a running program, in this process
// or another, is never taken; what ended writers left half-made goes.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "recovery/RecoveryFolder.h"

namespace tessel::recovery {
namespace {

void touch(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList claimedNames(const std::vector<ClaimedCopy>& copies) {
    QStringList names;
    for (const ClaimedCopy& copy : copies) names << QFileInfo(copy.path()).fileName();
    return names;
}

TEST(RecoveryFolder, StateFolderFollowsXdgStateHome) {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/tmp/estado");
    EXPECT_EQ(stateFolder(), QStringLiteral("/tmp/estado/tessel"));
    qputenv("XDG_STATE_HOME", "relative/path");  // not absolute: ignored
    EXPECT_EQ(stateFolder(), QDir::homePath() + QStringLiteral("/.local/state/tessel"));
    qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(stateFolder(), QDir::homePath() + QStringLiteral("/.local/state/tessel"));
    if (!saved.isNull()) qputenv("XDG_STATE_HOME", saved);
}

TEST(RecoveryFolder, OnlyCopiesWhoseOwnerEndedAreClaimedAndEachByOneProgram) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state/tessel"));  // made when needed
    EXPECT_TRUE(claimAbandonedCopies(folder).empty());

    OwnCopy running(folder);  // a program still running, in this process
    ASSERT_TRUE(running.lock());
    touch(running.picturePath());
    EXPECT_TRUE(QFileInfo(folder).permissions().testFlag(QFileDevice::ReadOwner));

    QString endedPath;
    {
        QThread::msleep(2);  // another start: another name
        OwnCopy ended(folder);
        ASSERT_NE(ended.picturePath(), running.picturePath());
        ASSERT_TRUE(ended.lock());
        touch(ended.picturePath());
        endedPath = ended.picturePath();
    }  // the program ended without removing its copy: its lock is free, its files stay
    ASSERT_TRUE(QFileInfo::exists(endedPath));

    // A copy without a lock file, named with this very process's number: its process number
    // is alive, yet nothing holds it.
    const QString orphan =
        folder + QStringLiteral("/tessel-%1-5.png").arg(QCoreApplication::applicationPid());
    touch(orphan);

    // A copy whose lock another process holds.
    const QString otherPicture = folder + QStringLiteral("/tessel-1-7.png");
    const QString otherLock = folder + QStringLiteral("/tessel-1-7.lock");
    touch(otherPicture);
    touch(otherLock, "");
    QProcess holder;
    // The shell becomes the sleeper, holding the lock on its own descriptor until killed.
    holder.start(QStringLiteral("sh"),
                 {QStringLiteral("-c"),
                  QStringLiteral("exec 9<>\"$0\" && flock -x 9 && exec sleep 30"), otherLock});
    ASSERT_TRUE(holder.waitForStarted());
    for (int i = 0;
         i < 100 && QProcess::execute(QStringLiteral("flock"), {QStringLiteral("-n"), otherLock,
                                                                QStringLiteral("true")}) == 0;
         ++i) {
        QThread::msleep(20);  // until the holder has its lock
    }

    std::vector<ClaimedCopy> first = claimAbandonedCopies(folder);
    QStringList names = claimedNames(first);
    names.sort();
    EXPECT_EQ(names, QStringList({QFileInfo(endedPath).fileName(), QFileInfo(orphan).fileName()}));
    // While claimed, no second program takes them.
    EXPECT_TRUE(claimAbandonedCopies(folder).empty());

    holder.kill();
    holder.waitForFinished();
    std::vector<ClaimedCopy> second = claimAbandonedCopies(folder);
    EXPECT_EQ(claimedNames(second), QStringList({QStringLiteral("tessel-1-7.png")}));

    // Released ("Más tarde"), a copy can be claimed again; removed, it is gone with its lock.
    for (ClaimedCopy& copy : first) copy.release();
    first[0].remove();  // released: nothing happens
    EXPECT_EQ(claimAbandonedCopies(folder).size(), 2u);
    std::vector<ClaimedCopy> third = claimAbandonedCopies(folder);
    ASSERT_EQ(third.size(), 2u);
    for (ClaimedCopy& copy : third) {
        const QString lock = copy.lockPath();
        copy.remove();
        EXPECT_FALSE(QFileInfo::exists(copy.path()));
        EXPECT_FALSE(QFileInfo::exists(lock));
    }
    EXPECT_TRUE(QFileInfo::exists(running.picturePath()));
    running.remove();
    EXPECT_FALSE(QFileInfo::exists(running.picturePath()));
    EXPECT_FALSE(QFileInfo::exists(running.lockPath()));
}

TEST(RecoveryFolder, AHandedOverCopyBecomesTheNewOwnersUnderItsLock) {
    QTemporaryDir dir;
    QString ended;
    {
        OwnCopy old(dir.path());
        ASSERT_TRUE(old.lock());
        touch(old.picturePath(), "picture");
        ended = old.picturePath();
    }
    QThread::msleep(2);
    OwnCopy own(dir.path());
    std::vector<ClaimedCopy> claimed = claimAbandonedCopies(dir.path());
    ASSERT_EQ(claimed.size(), 1u);
    const QString oldLock = claimed[0].lockPath();
    ASSERT_TRUE(claimed[0].handOver(own));
    EXPECT_FALSE(QFileInfo::exists(ended));
    EXPECT_FALSE(QFileInfo::exists(oldLock));
    QFile handed(own.picturePath());
    ASSERT_TRUE(handed.open(QIODevice::ReadOnly));
    EXPECT_EQ(handed.readAll(), QByteArray("picture"));
    // This program runs: its copy is not anyone's to claim.
    EXPECT_TRUE(claimAbandonedCopies(dir.path()).empty());
}

TEST(RecoveryFolder, WhatEndedWritersLeftHalfMadeGoesWhatRunningOnesWriteStays) {
    QTemporaryDir dir;
    OwnCopy running(dir.path());
    ASSERT_TRUE(running.lock());
    const QString runningTemporary = dir.filePath(
        u'.' + QFileInfo(running.picturePath()).fileName() + QStringLiteral(".Ab12Cd"));
    touch(runningTemporary);
    QString endedTemporary, endedLock;
    {
        QThread::msleep(2);
        OwnCopy ended(dir.path());
        ASSERT_TRUE(ended.lock());
        endedTemporary = dir.filePath(u'.' + QFileInfo(ended.picturePath()).fileName() +
                                      QStringLiteral(".Xy34Zw"));
        touch(endedTemporary);
        endedLock = ended.lockPath();
    }
    const QString strayTemporary = dir.filePath(QStringLiteral(".tessel-9-9.png.Qq11Rr"));
    touch(strayTemporary);
    const QString unrelated = dir.filePath(QStringLiteral(".other.png.Qq11Rr"));
    touch(unrelated);

    EXPECT_TRUE(claimAbandonedCopies(dir.path()).empty());  // no copy was ever finished
    EXPECT_TRUE(QFileInfo::exists(runningTemporary));
    EXPECT_TRUE(QFileInfo::exists(running.lockPath()));
    EXPECT_FALSE(QFileInfo::exists(endedTemporary));
    EXPECT_FALSE(QFileInfo::exists(endedLock));
    EXPECT_FALSE(QFileInfo::exists(strayTemporary));
    EXPECT_TRUE(QFileInfo::exists(unrelated));
}

}  // namespace
}  // namespace tessel::recovery
