#pragma once
// Whether there is a screen to show the window on, asked before Qt's application object exists:
// Qt ends the process with an abort when it reaches no window system, and the program would
// rather say so in Spanish and end with status 1.

#include <QString>
#include <optional>

namespace tessel {

// What decides where Qt shows its windows: the "-platform" and "-display" options of the command
// line and the environment.
struct DisplaySettings {
    QString platformOption;  // "-platform NAME[:OPTIONS][;NAME...]"; empty when not given
    QString displayOption;   // "-display NAME", the X display; empty when not given
    QString qpaPlatform;     // QT_QPA_PLATFORM, read when no "-platform" is given
    QString display;         // DISPLAY
    QString waylandDisplay;  // WAYLAND_DISPLAY: a socket name in XDG_RUNTIME_DIR, or a path
    QString waylandSocket;   // WAYLAND_SOCKET: a connection handed down by the parent
    QString sessionType;     // XDG_SESSION_TYPE
    QString runtimeDir;      // XDG_RUNTIME_DIR

    // The process's environment with the two options of its command line.
    static DisplaySettings fromEnvironment(const QString& platformOption,
                                           const QString& displayOption);
};

// The one-line message (without its line end) when none of the window systems Qt would try can
// be reached: an X display (xcb) that accepts a connection, or a Wayland socket that does. A
// platform that needs no display (offscreen, minimal, a frame buffer, VNC, ...) is left to Qt,
// as is one the program knows nothing about. Nothing when there is a screen.
std::optional<QString> noDisplayMessage(const DisplaySettings& settings);

}  // namespace tessel
