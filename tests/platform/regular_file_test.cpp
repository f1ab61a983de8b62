// Reading whole files: only regular files, at once, never waiting on a pipe.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "platform/RegularFile.h"

namespace tessel::platform {
namespace {

TEST(RegularFile, ReadsTheWholeFileAndFollowsLinks) {
    QTemporaryDir dir;
    QByteArray bytes(100000, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = char(i % 253);
    QFile file(dir.filePath("f.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_TRUE(QFile::link(dir.filePath("f.bin"), dir.filePath("enlace")));
    EXPECT_EQ(readRegularFile(dir.filePath("f.bin")), bytes);
    EXPECT_EQ(readRegularFile(dir.filePath("enlace")), bytes);
    EXPECT_TRUE(isRegularFile(dir.filePath("enlace")));
    // A bound below the size refuses the file.
    EXPECT_FALSE(readRegularFile(dir.filePath("f.bin"), 99999));
    EXPECT_TRUE(readRegularFile(dir.filePath("f.bin"), 100000));
}

TEST(RegularFile, RefusesPipesFoldersDevicesAndMissingFilesAtOnce) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath("tubo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    for (const QString& path :
         {pipe, dir.path(), QStringLiteral("/dev/zero"), dir.filePath("no_existe"), QString()}) {
        EXPECT_FALSE(readRegularFile(path)) << path.toStdString();
        EXPECT_FALSE(isRegularFile(path)) << path.toStdString();
    }
    EXPECT_LT(clock.elapsed(), 2000);  // nothing waited for a writer
}

}  // namespace
}  // namespace tessel::platform
