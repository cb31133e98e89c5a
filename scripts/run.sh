#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. The program starts the simulator
# service by itself (XMServicePath in build/program/vantoxm.ini).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && ! [ -S "/run/user/$(id -u)/bus" ]; then
    # No desktop session bus here: give the program and its service a session bus of their own.
    exec dbus-run-session -- build/program/vanto-xm
fi
exec build/program/vanto-xm
