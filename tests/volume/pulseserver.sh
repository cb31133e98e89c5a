#!/usr/bin/env bash
# A PulseAudio server with a null sink for the tests that reach the sound card, run by CTest
# before the first and after the last of them. A second null sink, "receiver", stands for the
# radio receiver: what is played into it comes out of its monitor, which ALSA offers as the
# capture device vanto_line_in, as a receiver's sound comes in at a line input.
#   pulseserver.sh start DIR   writes DIR/asound.conf (ALSA's default device goes to this
#                              server; the tests point ALSA_CONFIG_PATH at it) and starts the
#                              server on DIR/native, its PID in DIR/pid
#   pulseserver.sh stop DIR    stops the server by that PID
# The server also ends by itself when the CTest run that started it ends. Runs as root too.
set -euo pipefail
action=$1
dir=$2

stop() {
    [ -f "$dir/pid" ] || return 0
    local pid
    pid=$(cat "$dir/pid")
    rm -f "$dir/pid"
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
}

case "$action" in
start)
    stop
    mkdir -p "$dir"
    rm -f "$dir/native"
    cat > "$dir/asound.conf" <<CONF
pcm.!default { type pulse server "unix:$dir/native" }
ctl.!default { type pulse server "unix:$dir/native" }
pcm.vanto_line_in { type pulse server "unix:$dir/native" device "receiver.monitor" }
# A second server of a test's own, which it starts late, restarts or stops to play a hung one.
pcm.vanto_hang { type pulse server "unix:$dir/hang/native" }
ctl.vanto_hang { type pulse server "unix:$dir/hang/native" }
CONF
    # No session, no D-Bus, no autospawn: the server reads nothing but its command line.
    HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir" \
        pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disallow-exit \
        --log-target=file:"$dir/server.log" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
        -L "module-null-sink sink_name=vanto_null rate=48000" \
        -L "module-null-sink sink_name=receiver rate=48000" \
        -L "module-always-sink" > /dev/null 2>&1 &
    pid=$!
    echo "$pid" > "$dir/pid"
    # Whatever happens to the run, the server does not outlive it.
    owner=$PPID
    nohup bash -c "while kill -0 $owner 2>/dev/null && kill -0 $pid 2>/dev/null; do sleep 1; done; kill $pid 2>/dev/null" \
        > /dev/null 2>&1 &
    for _ in $(seq 100); do
        if pactl -s "unix:$dir/native" info > /dev/null 2>&1; then
            # The meter captures what the null sink plays.
            pactl -s "unix:$dir/native" set-default-sink vanto_null
            pactl -s "unix:$dir/native" set-default-source vanto_null.monitor
            echo "PulseAudio $pid on $dir/native"
            exit 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "PulseAudio did not start; its log:" >&2
    cat "$dir/server.log" >&2 || true
    stop
    exit 1
    ;;
stop)
    stop
    ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
