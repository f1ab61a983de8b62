// The safe writer: a failure at any step, a full file system or an unwritable folder leaves the
// old file byte for byte and no temporary file behind.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>

#include "platform/SafeFile.h"

// The file-creation mask belongs to the whole process: a writer that set it, however briefly,
// would give a file that another thread creates meanwhile the wrong permissions. Every change
// of it in this test program is counted.
namespace {
std::atomic<int> umaskChanges{0};
}  // namespace

extern "C" mode_t umask(mode_t mask) {
    static const auto system = reinterpret_cast<mode_t (*)(mode_t)>(dlsym(RTLD_NEXT, "umask"));
    const mode_t previous = system(mask);
    if (previous != mask) ++umaskChanges;
    return previous;
}

namespace tessel::platform {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

// Some bytes that differ from position to position.
QByteArray pattern(qsizetype size, int seed) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i) bytes[i] = char((i * 131 + seed * 7 + i / 251) & 0xFF);
    return bytes;
}

class SafeFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { setWriteFault({}); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(SafeFileTest, WritesNewFilesAndReplacesOldOnesWhole) {
    const QByteArray first = pattern(70000, 1);
    ASSERT_TRUE(writeFileSafely(path("datos.bin"), first));
    EXPECT_EQ(contents(path("datos.bin")), first);
    // A shorter file replaces a longer one: nothing of the old tail remains.
    ASSERT_TRUE(writeFileSafely(path("datos.bin"), "corto"));
    EXPECT_EQ(contents(path("datos.bin")), "corto");
    ASSERT_TRUE(writeFileSafely(path("vacio.bin"), QByteArray()));
    EXPECT_EQ(QFileInfo(path("vacio.bin")).size(), 0);
    EXPECT_EQ(entriesOf(dir.path()), (QStringList{"datos.bin", "vacio.bin"}));
}

TEST_F(SafeFileTest, KeepsThePermissionsOfTheFileItReplaces) {
    put(path("f"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path("f")).constData(), 0640), 0);
    ASSERT_TRUE(writeFileSafely(path("f"), "new"));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path("f")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(SafeFileTest, WritesThroughASymbolicLinkToItsFile) {
    put(path("real.png"), "old");
    ASSERT_TRUE(QFile::link(path("real.png"), path("link.png")));
    ASSERT_TRUE(writeFileSafely(path("link.png"), "new"));
    EXPECT_TRUE(QFileInfo(path("link.png")).isSymLink());
    EXPECT_EQ(contents(path("real.png")), "new");
}

TEST_F(SafeFileTest, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
    const QByteArray before = pattern(5000, 2);
    for (const WriteStep failing : {WriteStep::Create, WriteStep::Write, WriteStep::Sync,
                                    WriteStep::Close, WriteStep::Rename}) {
        SCOPED_TRACE(int(failing));
        put(path("foto.png"), before);
        setWriteFault([failing](WriteStep step) { return step == failing; });
        EXPECT_FALSE(writeFileSafely(path("foto.png"), pattern(3000, 9)));
        setWriteFault({});
        EXPECT_EQ(contents(path("foto.png")), before);
        EXPECT_EQ(entriesOf(dir.path()), QStringList{"foto.png"});
    }
    // Without a fault the same write goes through.
    EXPECT_TRUE(writeFileSafely(path("foto.png"), pattern(3000, 9)));
    EXPECT_EQ(contents(path("foto.png")), pattern(3000, 9));
}

TEST_F(SafeFileTest, RefusesTargetsThatAreNoRegularFileAndMissingFolders) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("carpeta"));
    EXPECT_FALSE(writeFileSafely(path("carpeta"), "x"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("tubo")).constData(), 0600), 0);
    EXPECT_FALSE(writeFileSafely(path("tubo"), "x"));
    EXPECT_FALSE(writeFileSafely(path("no/existe/f.png"), "x"));
    EXPECT_FALSE(writeFileSafely(QString(), "x"));
    EXPECT_EQ(entriesOf(dir.path()), (QStringList{"carpeta", "tubo"}));
    EXPECT_TRUE(entriesOf(path("carpeta")).isEmpty());
}

TEST_F(SafeFileTest, AFolderThatCannotBeWrittenLeavesTheOldFile) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("solo_lectura"));
    const QString file = path("solo_lectura/f.png");
    put(file, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path("solo_lectura")).constData(), 0555), 0);
    EXPECT_FALSE(writeFileSafely(file, "new"));
    ::chmod(QFile::encodeName(path("solo_lectura")).constData(), 0755);
    EXPECT_EQ(contents(file), "old");
}

TEST_F(SafeFileTest, AReadOnlyFileIsRefusedAndKeptByteForByte) {
    // For root too, who passes every access check: the mode says read-only.
    const QByteArray before = pattern(3000, 5);
    put(path("solo.jpg"), before);
    ASSERT_EQ(::chmod(QFile::encodeName(path("solo.jpg")).constData(), 0444), 0);
    EXPECT_FALSE(isWritableTarget(path("solo.jpg")));
    EXPECT_FALSE(writeFileSafely(path("solo.jpg"), "nuevo"));
    EXPECT_EQ(contents(path("solo.jpg")), before);
    // The same through a symbolic link to it.
    ASSERT_TRUE(QFile::link(path("solo.jpg"), path("enlace.jpg")));
    EXPECT_FALSE(writeFileSafely(path("enlace.jpg"), "nuevo"));
    EXPECT_EQ(contents(path("solo.jpg")), before);
    EXPECT_TRUE(QFileInfo(path("enlace.jpg")).isSymLink());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path("solo.jpg")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_EQ(entriesOf(dir.path()), (QStringList{"enlace.jpg", "solo.jpg"}));
    // Made writable again by the user, it is saved as usual.
    ASSERT_EQ(::chmod(QFile::encodeName(path("solo.jpg")).constData(), 0644), 0);
    EXPECT_TRUE(writeFileSafely(path("enlace.jpg"), "nuevo"));
    EXPECT_EQ(contents(path("solo.jpg")), "nuevo");
}

TEST_F(SafeFileTest, ABrokenLinkIsWrittenThroughToItsTargetAndALoopIsRefused) {
    ASSERT_TRUE(QFile::link(QStringLiteral("destino.png"), path("roto.png")));  // relative
    ASSERT_TRUE(writeFileSafely(path("roto.png"), "nuevo"));
    EXPECT_TRUE(QFileInfo(path("roto.png")).isSymLink());
    EXPECT_EQ(contents(path("destino.png")), "nuevo");

    ASSERT_TRUE(QFile::link(path("b"), path("a")));
    ASSERT_TRUE(QFile::link(path("a"), path("b")));
    EXPECT_FALSE(writeFileSafely(path("a"), "x"));
    EXPECT_TRUE(QFileInfo(path("a")).isSymLink());
    EXPECT_TRUE(QFileInfo(path("b")).isSymLink());
}

// Runs the write as the unprivileged user "nobody" in a child process; its outcome as the
// child's exit status (0 written, 1 refused, 2 no such user could be taken on).
int writeAsNobody(const QString& target, const QByteArray& bytes) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(writeFileSafely(target, bytes) ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST_F(SafeFileTest, AFileTheUserMayNotWriteIsRefusedThoughItsFolderIsOpen) {
    // An ordinary user, a file of someone else's that only its owner may write, in a folder
    // everybody may write: renaming over it would work, so only the access check stops it.
    if (::geteuid() != 0) GTEST_SKIP() << "making a file of another user needs root";
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QByteArray before = pattern(2000, 6);
    put(path("ajeno.png"), before);
    ASSERT_EQ(::chmod(QFile::encodeName(path("ajeno.png")).constData(), 0644), 0);
    const int outcome = writeAsNobody(path("ajeno.png"), "nuevo");
    if (outcome == 2) GTEST_SKIP() << "this system cannot take on another user";
    EXPECT_EQ(outcome, 1);
    EXPECT_EQ(contents(path("ajeno.png")), before);
    // A file in that folder the same user may write is replaced.
    EXPECT_EQ(writeAsNobody(path("propio.png"), "suyo"), 0);
    EXPECT_EQ(contents(path("propio.png")), "suyo");
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
}

TEST_F(SafeFileTest, ANewFileGetsTheUsualPermissionsWithoutAChangeOfTheProcesssMask) {
    const mode_t original = ::umask(022);
    for (const mode_t mask : {mode_t(022), mode_t(077), mode_t(0)}) {
        ::umask(mask);
        const QString name = path(QString::number(mask, 8));
        const int changesBefore = umaskChanges;
        ASSERT_TRUE(writeFileSafely(name, "new"));
        EXPECT_EQ(umaskChanges, changesBefore) << "mask " << mask;
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);
        // Replacing it keeps its permissions, again with the mask left alone.
        ASSERT_EQ(::chmod(QFile::encodeName(name).constData(), 0604), 0);
        ASSERT_TRUE(writeFileSafely(name, "newer"));
        EXPECT_EQ(umaskChanges, changesBefore) << "mask " << mask;
        ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0604u);
    }
    ::umask(original);
}

TEST_F(SafeFileTest, ALongNameStillGetsItsTemporaryFile) {
    const QString name = QString(240, u'n') + QStringLiteral(".png");
    ASSERT_TRUE(writeFileSafely(path(name), "x"));
    EXPECT_EQ(contents(path(name)), "x");
}

// A small file system filled to the last block: a write of a few kilobytes over an existing
// file must fail and keep that file.
class FullFileSystem {
  public:
    explicit FullFileSystem(const QString& mountPoint) : point_(QFile::encodeName(mountPoint)) {
        mounted_ = ::mount("tmpfs", point_.constData(), "tmpfs", 0, "size=256k") == 0;
    }
    ~FullFileSystem() {
        if (mounted_) ::umount(point_.constData());
    }
    bool mounted() const { return mounted_; }

    // Fills what is left with one file, written until the device refuses.
    void fill(const QString& fillerPath) {
        QFile filler(fillerPath);
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        QByteArray byte(1, 'f');
        while (filler.write(byte) == 1) {
        }
    }

  private:
    QByteArray point_;
    bool mounted_ = false;
};

TEST_F(SafeFileTest, AFullFileSystemLeavesTheOldFileByteForByte) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    ASSERT_TRUE(QDir(dir.path()).mkdir("lleno"));
    FullFileSystem disk(path("lleno"));
    if (!disk.mounted()) GTEST_SKIP() << "this system does not allow mounting a tmpfs here";
    const QString target = path("lleno/foto.png");
    const QByteArray before = pattern(6000, 3);
    put(target, before);
    disk.fill(path("lleno/relleno"));

    EXPECT_FALSE(writeFileSafely(target, pattern(9000, 4)));  // below any write buffer's size
    EXPECT_EQ(contents(target), before);
    EXPECT_EQ(entriesOf(path("lleno")), (QStringList{"foto.png", "relleno"}));

    // With room again the same write succeeds.
    ASSERT_TRUE(QFile::remove(path("lleno/relleno")));
    EXPECT_TRUE(writeFileSafely(target, pattern(9000, 4)));
    EXPECT_EQ(contents(target), pattern(9000, 4));
}

}  // namespace
}  // namespace tessel::platform
