#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. The program starts the simulator
# service by itself (XMServicePath in build/program/vantoxm.ini).
set -euo pipefail
cd "$(dirname "$0")/.."
# The window needs a screen: say so now, not after the build, when Qt would abort.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "scripts/run.sh: no display to show the window on: run it in a desktop session, or without one as" \
         "'xvfb-run -a bash scripts/run.sh' (package xvfb)" >&2
    exit 1
fi
bash scripts/install-deps.sh
bash scripts/build.sh
program="$PWD/build/program"
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && ! [ -S "/run/user/$(id -u)/bus" ]; then
    # No desktop session bus here: the program and its service get a session bus of their own,
    # and the user learns how xmctl reaches it from another terminal.
    exec dbus-run-session -- bash -c '
        echo "vanto-xm runs on a session bus of its own: $DBUS_SESSION_BUS_ADDRESS"
        echo "To play the radio service by hand, stop the simulator and start xmctl on that bus, in another terminal:"
        echo "    pkill -x xm-radio-service"
        echo "    DBUS_SESSION_BUS_ADDRESS=\"$DBUS_SESSION_BUS_ADDRESS\" \"$1/xmctl\""
        exec "$1/vanto-xm"' run.sh "$program"
fi
exec "$program/vanto-xm"
