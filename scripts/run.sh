#!/usr/bin/env bash
# Starts the program; without a display it says how to start it instead of failing obscurely.
set -u
program="$1"

has_display() {
    [ -n "${WAYLAND_DISPLAY:-}" ] && return 0
    [ -n "${QT_QPA_PLATFORM:-}" ] && return 0
    [ -z "${DISPLAY:-}" ] && return 1
    # A local X display ":N" needs its socket; other forms are trusted as they are.
    if [[ "$DISPLAY" =~ ^:([0-9]+) ]]; then
        [ -S "/tmp/.X11-unix/X${BASH_REMATCH[1]}" ] || return 1
    fi
    return 0
}

if ! has_display; then
    cat >&2 <<MSG
No display is available${DISPLAY:+ (DISPLAY=$DISPLAY cannot be reached)}, so the window cannot be shown.
Start the program on a desktop session, or under a virtual display:
    xvfb-run -a $program
The program was built: $program
MSG
    exit 1
fi
exec "$program"
