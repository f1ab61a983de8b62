// The screen asked for before the window is made: which window systems Qt would try for the
// options and the environment, and whether one of them answers. An X display is refused when
// nothing listens on it; a Wayland socket is accepted when something listens on it.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>

#include "app/DisplayCheck.h"

namespace tessel {
namespace {

const QString kNoScreen = QStringLiteral("tessel: no hay pantalla a la que conectarse");

// An X display on which no server listens on this machine.
QString silentXDisplay() {
    for (int number = 917; number < 1000; ++number) {
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            return QStringLiteral(":%1").arg(number);
    }
    return {};
}

// A socket that accepts connections at path, as a Wayland compositor's does.
class ListeningSocket {
  public:
    explicit ListeningSocket(const QString& path) {
        const QByteArray bytes = path.toLocal8Bit();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, bytes.constData(), std::size_t(bytes.size()));
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        listening_ =
            fd_ >= 0 &&
            ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
            ::listen(fd_, 4) == 0;
    }
    ~ListeningSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool listening() const { return listening_; }

  private:
    int fd_ = -1;
    bool listening_ = false;
};

TEST(DisplayCheckTest, PlatformsWithoutADisplayAreLeftToQtAndTheOptionComesFirst) {
    const QString silent = silentXDisplay();
    ASSERT_FALSE(silent.isEmpty());

    // Nothing set at all: X is tried, and the message names both variables, on one line.
    const std::optional<QString> none = noDisplayMessage({});
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->startsWith(kNoScreen)) << none->toStdString();
    EXPECT_TRUE(none->contains(QStringLiteral("DISPLAY sin definir")));
    EXPECT_TRUE(none->contains(QStringLiteral("WAYLAND_DISPLAY sin definir")));
    EXPECT_FALSE(none->contains(u'\n'));

    // The tests' own platform, with its options, and the other ones that need no display.
    for (const char* platform :
         {"offscreen:configfile=/tmp/screens.json", "minimal", "vnc", "linuxfb", "xcb;offscreen"}) {
        DisplaySettings settings;
        settings.qpaPlatform = QString::fromLatin1(platform);
        EXPECT_FALSE(noDisplayMessage(settings).has_value()) << platform;
    }

    // X asked for without a display, or on one where nothing listens.
    DisplaySettings x;
    x.qpaPlatform = QStringLiteral("xcb");
    EXPECT_TRUE(noDisplayMessage(x).has_value());
    x.display = silent;
    const std::optional<QString> silentX = noDisplayMessage(x);
    ASSERT_TRUE(silentX.has_value());
    EXPECT_TRUE(silentX->contains(QStringLiteral("DISPLAY=") + silent));

    // "-platform" wins over QT_QPA_PLATFORM, both ways; "-display" over DISPLAY.
    DisplaySettings option;
    option.qpaPlatform = QStringLiteral("xcb");
    option.platformOption = QStringLiteral("offscreen");
    EXPECT_FALSE(noDisplayMessage(option).has_value());
    option.qpaPlatform = QStringLiteral("offscreen");
    option.platformOption = QStringLiteral("xcb");
    EXPECT_TRUE(noDisplayMessage(option).has_value());
    option.displayOption = silent;
    const std::optional<QString> silentOption = noDisplayMessage(option);
    ASSERT_TRUE(silentOption.has_value());
    EXPECT_TRUE(silentOption->contains(silent));
}

TEST(DisplayCheckTest, AWaylandSocketIsAScreenWhenSomethingListensOnIt) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    DisplaySettings settings;
    settings.display = silentXDisplay();
    settings.runtimeDir = runtime.path();
    settings.waylandDisplay = QStringLiteral("wayland-7");

    // Named but not there: neither X nor Wayland answers.
    const std::optional<QString> missing = noDisplayMessage(settings);
    ASSERT_TRUE(missing.has_value());
    EXPECT_TRUE(missing->contains(QStringLiteral("WAYLAND_DISPLAY=wayland-7")));

    // A compositor listening: by its name in the runtime folder, by its path, or, in a Wayland
    // session without WAYLAND_DISPLAY, under the default name.
    const ListeningSocket seventh(runtime.filePath(QStringLiteral("wayland-7")));
    ASSERT_TRUE(seventh.listening());
    EXPECT_FALSE(noDisplayMessage(settings).has_value());
    settings.runtimeDir.clear();
    EXPECT_TRUE(noDisplayMessage(settings).has_value());
    settings.waylandDisplay = runtime.filePath(QStringLiteral("wayland-7"));
    EXPECT_FALSE(noDisplayMessage(settings).has_value());

    DisplaySettings session;
    session.runtimeDir = runtime.path();
    session.sessionType = QStringLiteral("wayland");
    EXPECT_TRUE(noDisplayMessage(session).has_value());
    const ListeningSocket usual(runtime.filePath(QStringLiteral("wayland-0")));
    ASSERT_TRUE(usual.listening());
    EXPECT_FALSE(noDisplayMessage(session).has_value());
    // X alone asked for: the Wayland socket does not count.
    session.qpaPlatform = QStringLiteral("xcb");
    EXPECT_TRUE(noDisplayMessage(session).has_value());
}

}  // namespace
}  // namespace tessel
