#!/usr/bin/env bash
# Sets up the project when needed and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<'TXT'
There is no display to show the program's window on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Start it on a virtual X screen:
    Xvfb :99 -screen 0 1400x1050x24 &
    DISPLAY=:99 tools/start.sh
or without any screen at all:
    QT_QPA_PLATFORM=offscreen tools/start.sh
TXT
    exit 1
fi
exec build/src/tessel
