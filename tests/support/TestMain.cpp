// The main of every test program: a Qt application on the offscreen platform with a virtual
// screen of 1400 x 1050 at 96 DPI (the test runner configures it; this is the fallback when a
// test program is started by hand).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    QTemporaryDir configDir;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const QString path = configDir.filePath(QStringLiteral("offscreen.json"));
        QFile config(path);
        if (config.open(QIODevice::WriteOnly)) {
            config.write(R"({"screens":[{"name":"test","x":0,"y":0,"width":1400,"height":1050,)"
                         R"("logicalDpi":96,"logicalBaseDpi":96,"physicalDpi":96,"dpr":1}]})");
            config.close();
        }
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toLocal8Bit());
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
