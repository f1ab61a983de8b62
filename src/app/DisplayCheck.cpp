#include "app/DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QStringList>
#include <cstring>

namespace tessel {
namespace {

QString environment(const char* name) {
    return qEnvironmentVariable(name);
}

// True when an X server accepts a connection (and its authorisation) on this display.
bool xDisplayAnswers(const QString& name) {
    if (name.isEmpty()) return false;  // libxcb would read DISPLAY itself
    xcb_connection_t* connection = xcb_connect(name.toLocal8Bit().constData(), nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return connected;
}

// The path of the Wayland socket a client connects to, as libwayland finds it: WAYLAND_DISPLAY
// (default "wayland-0") inside XDG_RUNTIME_DIR, or WAYLAND_DISPLAY itself when it is a path.
QString waylandSocketPath(const DisplaySettings& settings) {
    const QString name =
        settings.waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : settings.waylandDisplay;
    if (name.startsWith(u'/')) return name;
    if (settings.runtimeDir.isEmpty()) return {};
    return settings.runtimeDir + u'/' + name;
}

bool waylandAnswers(const DisplaySettings& settings) {
    if (!settings.waylandSocket.isEmpty()) return true;  // already connected by the parent
    const QByteArray path = waylandSocketPath(settings).toLocal8Bit();
    sockaddr_un address{};
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof(address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0) return false;
    const bool connected =
        ::connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(socketFd);
    return connected;
}

enum class System { X, Wayland, Other };

// The window systems Qt tries, in order: those of "-platform", else of QT_QPA_PLATFORM, else its
// default for this session (Wayland first when the session is a Wayland one, then X).
QList<System> systemsTried(const DisplaySettings& settings) {
    const QString asked =
        !settings.platformOption.isEmpty() ? settings.platformOption : settings.qpaPlatform;
    QList<System> systems;
    if (asked.isEmpty()) {
        if (!settings.waylandDisplay.isEmpty() || settings.sessionType == QLatin1String("wayland"))
            systems << System::Wayland;
        systems << System::X;
        return systems;
    }
    for (const QString& platform : asked.split(u';', Qt::SkipEmptyParts)) {
        const QString name = platform.section(u':', 0, 0).trimmed();
        if (name == QLatin1String("xcb")) {
            systems << System::X;
        } else if (name.startsWith(QLatin1String("wayland"))) {
            systems << System::Wayland;
        } else {
            systems << System::Other;
        }
    }
    return systems;
}

// How one setting stands: "DISPLAY sin definir", "DISPLAY=:5 no responde" or, for an option,
// "-display :5 no responde".
QString account(const QString& setting, const QString& value) {
    if (value.isEmpty()) return setting + QStringLiteral(" sin definir");
    return setting + (setting.startsWith(u'-') ? u' ' : u'=') + value +
           QStringLiteral(" no responde");
}

}  // namespace

DisplaySettings DisplaySettings::fromEnvironment(const QString& platformOption,
                                                 const QString& displayOption) {
    DisplaySettings settings;
    settings.platformOption = platformOption;
    settings.displayOption = displayOption;
    settings.qpaPlatform = environment("QT_QPA_PLATFORM");
    settings.display = environment("DISPLAY");
    settings.waylandDisplay = environment("WAYLAND_DISPLAY");
    settings.waylandSocket = environment("WAYLAND_SOCKET");
    settings.sessionType = environment("XDG_SESSION_TYPE");
    settings.runtimeDir = environment("XDG_RUNTIME_DIR");
    return settings;
}

std::optional<QString> noDisplayMessage(const DisplaySettings& settings) {
    const QList<System> systems = systemsTried(settings);
    const QString xDisplay =
        settings.displayOption.isEmpty() ? settings.display : settings.displayOption;
    for (System system : systems) {
        if (system == System::Other) return std::nullopt;
        if (system == System::X && xDisplayAnswers(xDisplay)) return std::nullopt;
        if (system == System::Wayland && waylandAnswers(settings)) return std::nullopt;
    }
    // What was looked at, as the user set it: the X display of each try of X, and Wayland's
    // socket when Wayland was tried or the choice was left to Qt.
    QStringList accounts;
    if (systems.contains(System::X)) {
        accounts << (settings.displayOption.isEmpty()
                         ? account(QStringLiteral("DISPLAY"), settings.display)
                         : account(QStringLiteral("-display"), settings.displayOption));
    }
    const bool leftToQt = settings.platformOption.isEmpty() && settings.qpaPlatform.isEmpty();
    if (systems.contains(System::Wayland) || leftToQt)
        accounts << account(QStringLiteral("WAYLAND_DISPLAY"), settings.waylandDisplay);
    const QString message = QStringLiteral("tessel: no hay pantalla a la que conectarse");
    if (accounts.isEmpty()) return message + u'.';
    return message + QStringLiteral(" (") + accounts.join(QStringLiteral("; ")) +
           QStringLiteral(").");
}

}  // namespace tessel
