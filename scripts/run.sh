#!/usr/bin/env bash
# Starts the program; without a display it says how to start it instead of failing obscurely.
set -u
program="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<MSG
No display is available, so the window cannot be shown.
Start the program on a desktop session, or under a virtual display:
    xvfb-run -a $program
The program was built: $program
MSG
    exit 1
fi
exec "$program"
