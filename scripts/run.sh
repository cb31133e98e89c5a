#!/usr/bin/env bash
# Installs what is missing, builds the program folder, and starts the program. The program starts
# the simulator service by itself (XMServicePath in build/program/vantoxm.ini).
#
# Whatever ends this script (the window's Exit, SIGTERM, SIGHUP, SIGINT) ends what this run
# started, each by its PID: the window first (its unload mutes the radio), then what the window
# started (the radio service), then the session bus this script made for them, if any.
# shellcheck disable=SC2317 # finish and what it calls run from the EXIT trap
set -euo pipefail
cd "$(dirname "$0")/.."
# The window needs a screen: say so now, not after the build, when Qt would abort.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "scripts/run.sh: no display to show the window on: run it in a desktop session, or without one as" \
         "'xvfb-run -a bash scripts/run.sh' (package xvfb)" >&2
    exit 1
fi
bash scripts/install-deps.sh
bash scripts/build.sh program_folder
program="$PWD/build/program"

# The children get process groups of their own: Ctrl-C and a closed terminal reach this script
# alone, which then ends them in order.
set -m

window_pid=""
bus_pid=""
bus_dir=""
runtime_dir=""

# Everything the window starts inherits this mark in its environment (the window itself reads
# no environment variables); it tells this run's processes from any other run's or user's.
run_mark="VANTO_XM_RUN=$$.$RANDOM$RANDOM"

# This run's processes besides the window and the bus, found by the mark. Reads /proc with the
# shell's own builtins: a helper program started here would carry the mark too.
marked_processes() {
    local environ pid entry
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = "$window_pid" ] && continue
        while IFS= read -r -d '' entry; do
            if [ "$entry" = "$run_mark" ]; then
                echo "$pid"
                break
            fi
        done 2> /dev/null < "$environ" || true
    done
}

# True while the process runs. One that has ended but is not collected yet counts as ended: the
# radio service outlives its parent, the window, by a moment, and some systems (a container's
# first process) collect such orphans only every few seconds.
running() {
    local stat
    read -r stat 2> /dev/null < "/proc/$1/stat" || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}

# Sends SIGTERM to each PID and waits up to 5 s for them to end, saying so once after half a
# second; what is left gets SIGKILL.
stop() {
    local pid tries=0
    [ $# -gt 0 ] || return 0
    kill -TERM "$@" 2> /dev/null || true
    for _ in $(seq 50); do
        for pid in "$@"; do
            running "$pid" && break
            pid=""
        done
        [ -z "$pid" ] && return 0
        tries=$((tries + 1))
        [ "$tries" = 5 ] && echo "scripts/run.sh: waiting for process $pid to end" >&2
        sleep 0.1
    done
    kill -KILL "$@" 2> /dev/null || true
}

finished=""
finish() {
    [ -n "$finished" ] && return
    finished=1
    trap '' TERM HUP INT
    if [ -n "$window_pid" ]; then
        stop "$window_pid"
        wait "$window_pid" 2> /dev/null || true
    fi
    # shellcheck disable=SC2046 # one PID a word
    stop $(marked_processes)
    if [ -n "$bus_pid" ]; then
        stop "$bus_pid"
        wait "$bus_pid" 2> /dev/null || true
        rm -rf "$bus_dir"
    fi
    [ -z "$runtime_dir" ] || rm -rf "$runtime_dir"
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 129' HUP
trap 'exit 130' INT

# Outside a login session (a console, a container) the folder a session gives each user for its
# sockets is missing, and Qt would warn about it at every start: the run makes one of its own.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    runtime_dir=$(mktemp -d)
    chmod 700 "$runtime_dir"
    export XDG_RUNTIME_DIR="$runtime_dir"
fi

if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && ! [ -S "/run/user/$(id -u)/bus" ]; then
    # No desktop session bus here: the program and its service get a session bus of their own.
    # What the bus and the programs it starts (a notification server) say goes to its log, so the
    # terminal keeps the program's own lines.
    bus_dir=$(mktemp -d)
    bus_log="$PWD/build/session-bus.log"
    dbus-daemon --session --nofork --print-address=3 3> "$bus_dir/address" > "$bus_log" 2>&1 &
    bus_pid=$!
    for _ in $(seq 50); do
        [ -s "$bus_dir/address" ] && break
        sleep 0.1
    done
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$bus_dir/address")
    export DBUS_SESSION_BUS_ADDRESS
    echo "vanto-xm runs on a session bus of its own: $DBUS_SESSION_BUS_ADDRESS (its log: build/session-bus.log)"
fi

export "${run_mark?}"
"$program/vanto-xm" &
window_pid=$!

# Once the window has started its radio service, say how to play the service by hand instead.
for _ in $(seq 100); do
    kill -0 "$window_pid" 2> /dev/null || break
    service=$(marked_processes)
    if [ -n "$service" ]; then
        echo "To play the radio service by hand, stop the one this run started and start xmctl on the window's" \
             "session bus, in another terminal:"
        echo "    kill ${service//$'\n'/ }"
        if [ -n "$bus_pid" ]; then
            echo "    DBUS_SESSION_BUS_ADDRESS=\"$DBUS_SESSION_BUS_ADDRESS\" \"$program/xmctl\""
        else
            echo "    \"$program/xmctl\""
        fi
        break
    fi
    sleep 0.1
done

status=0
wait "$window_pid" || status=$?
window_pid=""
exit "$status"
