#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its figures beside a bare baseline of the same run.
# The volume benchmark and the whole-program one get a PulseAudio server with a null sink of
# their own, stopped at the end; the whole-program one also needs a virtual X server (Xvfb). The
# sound's benchmark starts a server of its own and races arecord | aplay (alsa-utils); time
# shift's starts one too, and weighs its encoder against opusenc (opus-tools).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if ! command -v Xvfb > /dev/null || ! command -v arecord > /dev/null || ! command -v opusenc > /dev/null; then
    sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
    $sudo_cmd apt-get install -y -qq xvfb alsa-utils opus-tools
fi
bash scripts/build.sh
build/tests/bench/bench_skin
build/tests/bench/bench_list
dbus-run-session -- build/tests/bench/bench_channeldata
dbus-run-session -- build/tests/bench/bench_alerts
dbus-run-session -- build/tests/bench/bench_receiver
dbus-run-session -- build/tests/bench/bench_sound
dbus-run-session -- build/tests/bench/bench_timeshift
pulse_dir="$PWD/build/bench-pulse"
trap 'bash tests/volume/pulseserver.sh stop "$pulse_dir"' EXIT
bash tests/volume/pulseserver.sh start "$pulse_dir" > /dev/null
ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$pulse_dir/asound.conf" QT_QPA_PLATFORM=offscreen \
    QT_LOGGING_RULES="*.debug=false;vanto.*=false" build/tests/bench/bench_volume
ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$pulse_dir/asound.conf" \
    QT_LOGGING_RULES="*.debug=false;vanto.*=false" dbus-run-session -- build/tests/bench/bench_window
