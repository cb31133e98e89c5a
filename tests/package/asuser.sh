#!/usr/bin/env bash
# The installed radio as its user meets it, run by scripts/test-package.sh as an unprivileged
# user on a private session bus (dbus-run-session), with a virtual X server and a PulseAudio
# server with a null sink of its own:
#   asuser.sh HERE   HERE holds skinonscreen and pulseserver.sh, and takes the logs
# Every wait has a limit; the first failure ends the run with a line that says what was missing.
set -euo pipefail
here=$1
config="$HOME/.config/vanto-xm"
data="$HOME/.local/share/vanto-xm"
program=/opt/vanto-xm

say() { echo "test-package: $*"; }
fail() {
    echo "test-package: FAILED: $*" >&2
    for f in "$here"/radio*.log; do [ -f "$f" ] && { echo "--- $f" >&2; tail -n 20 "$f" >&2; }; done
    exit 1
}
# wait_for SECONDS WHAT COMMAND...: runs COMMAND every 0.2 s until it succeeds.
wait_for() {
    local limit=$1 what=$2
    shift 2
    local end=$((SECONDS + limit))
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "$what (not within $limit s)"
        sleep 0.2
    done
}

# --- the session bus ---------------------------------------------------------------------------
bus() { dbus-send --session --print-reply "$@" 2>/dev/null; }
service_pid() {
    bus --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID \
        string:org.vanto.XMRadio | awk '/uint32/ { print $2 }'
}
# The name is owned by the installed service (not by xmctl or a stray program).
service_runs() {
    local pid
    pid=$(service_pid) && [ -n "$pid" ] && [ "$(readlink "/proc/$pid/exe")" = "$program/xm-radio-service" ]
}
service_gone() { [ -z "$(service_pid)" ]; }
player() {
    bus --dest=org.mpris.MediaPlayer2.vantoxm /org/mpris/MediaPlayer2 "$@"
}
player_property() { player org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player "string:$1"; }
can_go_next() { player_property CanGoNext | grep -q "boolean true"; }
playing_channel() { player_property Metadata | grep -o '/org/vanto/XMRadio/channel/[0-9]*' | grep -o '[0-9]*$'; }

# --- the screen, the sound server and the program ---------------------------------------------
display=""
for n in $(seq 40 89); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=$n
        break
    fi
done
[ -n "$display" ] || fail "no free X display number"
mkdir -p "$here/fb"
Xvfb ":$display" -screen 0 800x480x24 -fbdir "$here/fb" -nolisten tcp > "$here/xvfb.log" 2>&1 &
xvfb_pid=$!
radio_pid=""
stop_all() {
    [ -n "$radio_pid" ] && kill -KILL "$radio_pid" 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
    bash "$here/pulseserver.sh" stop "$here/pulse" > /dev/null 2>&1
    return 0
}
trap stop_all EXIT
bash "$here/pulseserver.sh" start "$here/pulse" > /dev/null
wait_for 10 "the virtual X server" test -S "/tmp/.X11-unix/X$display" -a -f "$here/fb/Xvfb_screen0"

runs=0
start_radio() {
    runs=$((runs + 1))
    DISPLAY=":$display" ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$here/pulse/asound.conf" \
        "$program/vanto-xm" > "$here/radio$runs.log" 2>&1 &
    radio_pid=$!
}
radio_ended() { ! kill -0 "$radio_pid" 2> /dev/null; }
# Ends the program as logout does (SIGTERM) and waits for it.
stop_radio() {
    kill -TERM "$radio_pid"
    wait_for 10 "the program to end on SIGTERM" radio_ended
    wait "$radio_pid" 2>/dev/null || true
    radio_pid=""
}
shows() { "$here/skinonscreen" "$here/fb/Xvfb_screen0" "$@" > "$here/screen.txt"; }
# The default skins of the shipped vantoxm.ini.
day_or_night=("$program/Skins/DriveDay/Images/Radio_XM_Up.jpg" "$program/Skins/DriveNight/Images/Radio_XM_Up.jpg")

# --- xmctl reaches the service through bus activation, with no window running -----------------
service_gone || fail "a radio service runs before the test started one"
timeout 20 xmctl --call Channel 7 || fail "xmctl --call Channel 7 did not reach the radio service"
wait_for 5 "the bus to start $program/xm-radio-service" service_runs
say "xmctl started the radio service through the bus (pid $(service_pid))"
if timeout 5 xmctl --call Channel seven 2> /dev/null; then fail "xmctl --call took a channel that is no number"; fi
kill -TERM "$(service_pid)"
wait_for 10 "the activated service to end" service_gone

# --- the first start: the skin, the service, the settings copied to the user's folder ---------
start_radio
wait_for 20 "the window to show the DriveDay or DriveNight skin" shows "${day_or_night[@]}"
say "the window shows: $(sort -rn "$here/screen.txt" | head -n 1)"
wait_for 10 "the radio service to run for the window" service_runs
grep -q "V.A.N.T.O XM Radio [0-9]" "$here/radio1.log" || fail "the program did not log its version"
grep -q "settings in $config " "$here/radio1.log" || fail "the program did not log $config as its settings folder"
cmp -s "$config/vantoxm.ini" "$program/vantoxm.ini" || fail "the first start did not copy vantoxm.ini into $config"

# --- a channel chosen through the bus is kept in the user's settings and tuned again ----------
wait_for 40 "the channel list to be complete (CanGoNext)" can_go_next
before=$(playing_channel)
moved_on() { [ "$(playing_channel)" != "$before" ]; }
player org.mpris.MediaPlayer2.Player.Next > /dev/null || fail "the player's Next call failed"
wait_for 5 "Next to choose another channel than $before" moved_on
chosen=$(playing_channel)
wait_for 5 "LastChannel=$chosen in $config/vantoxm.ini" grep -q "^LastChannel=$chosen"$'\r'"\?$" "$config/vantoxm.ini"
wait_for 5 "the channel list in $config/services.dat" test -s "$config/services.dat"
say "channel $chosen chosen (was $before); LastChannel=$chosen is in $config/vantoxm.ini"
stop_radio

dbus-monitor --session "type='method_call',interface='org.vanto.XMRadio',member='Channel'" \
    "type='signal',interface='org.vanto.XMRadio',member='ChannelChange'" > "$here/monitor.log" 2>&1 &
monitor_pid=$!
sleep 0.5
start_radio
tuned_again() {
    grep -A1 "member=Channel$" "$here/monitor.log" | grep -q "int32 $chosen$" &&
        grep -A1 "member=ChannelChange$" "$here/monitor.log" | grep -q "int32 $chosen$"
}
wait_for 15 "the second start to tune channel $chosen and the service to confirm it" tuned_again
kill "$monitor_pid"
wait_for 20 "the window to show its skin again" shows "${day_or_night[@]}"
say "the second start tuned channel $chosen again"
stop_radio

# --- a skin of the user's own -------------------------------------------------------------------
# Drawn by the installed vanto-skinmaker, without root. Only the user's folder has these names.
for palette in day night; do
    QT_QPA_PLATFORM=offscreen vanto-skinmaker --palette "$palette" --out "$data/Skins/My-$palette" \
        > /dev/null 2>&1 || fail "vanto-skinmaker could not draw a skin into $data/Skins"
done
sed -i 's/^DaySkin=[^\r]*/DaySkin=My-day/; s/^NightSkin=[^\r]*/NightSkin=My-night/' "$config/vantoxm.ini"
start_radio
mine=("$data/Skins/My-day/Images/Radio_XM_Up.jpg" "$data/Skins/My-night/Images/Radio_XM_Up.jpg")
user_skin_loaded() { grep -qs "loaded \"$data/Skins/My-" "$here/radio$runs.log"; }
wait_for 20 "the skin to be loaded from $data/Skins" user_skin_loaded
wait_for 20 "the window to show the user's skin" shows "${mine[@]}"
say "the window shows the user's skin: $(sort -rn "$here/screen.txt" | head -n 1)"
stop_radio
say "the user's part passed"
