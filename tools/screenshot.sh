#!/usr/bin/env bash
# Takes a screenshot of the real program window at 800 x 480 under a virtual X server, with the
# simulator service running, for each default skin: the day and night skins that the shipped
# vantoxm.ini names. A first run fills services.dat, so the
# pictures show the window as a user sees it a few seconds after an ordinary second start.
#   tools/screenshot.sh [build folder] [output folder]
set -euo pipefail
build=$(realpath "${1:-build}")
out=${2:-docs/screenshots}
mkdir -p "$out"
out=$(realpath "$out")
need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
command -v dbus-run-session >/dev/null || need+=(dbus)
if [ ${#need[@]} -gt 0 ]; then
    sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
    $sudo_cmd apt-get install -y "${need[@]}"
fi

# The skin the shipped settings name under a key (DaySkin, NightSkin).
shipped_skin() {
    sed -n "s/^$1=\([^\r]*\)\r\?\$/\1/p" "$(dirname "$(realpath "$0")")/../app/vantoxm.ini.default"
}
day_skin=$(shipped_skin DaySkin)
night_skin=$(shipped_skin NightSkin)

work=$(mktemp -d)
# A sound server with a null sink stands in for the car's sound card, as in the tests.
pulse_script="$(dirname "$(realpath "$0")")/../tests/volume/pulseserver.sh"
bash "$pulse_script" start "$work/pulse" > /dev/null
trap 'bash "$pulse_script" stop "$work/pulse"; rm -rf "$work"' EXIT
cp -r "$build/program"/. "$work"/
rm -f "$work/services.dat"

settings() {
    # Automatic switching off: the skin is then read from the Skins folder itself.
    printf '[XMRadio]\r\nXMServicePath=xm-radio-service\r\nLastChannel=20\r\nPreset1=20\r\nPreset2=32\r\nPreset3=46\r\n[Appearance]\r\nWindowLeft=0\r\nWindowTop=0\r\nWindowWidth=800\r\nWindowHeight=480\r\nFullScreen=False\r\nShowMouseCursor=True\r\nAutoSwitchDayNightSkin=False\r\n' > "$work/vantoxm.ini"
    rm -f "$work/Skins/radio_xm.ini"; rm -rf "$work/Skins/Images"
    cp -r "$build/program/Skins/$1"/. "$work/Skins/"
}

# run <seconds> [picture]: starts the program as a user does and takes the picture after that
# many seconds.
run() {
    Xvfb :97 -screen 0 800x480x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    DISPLAY=:97 ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$work/pulse/asound.conf" dbus-run-session -- bash -c "'$work/vanto-xm' & app=\$!; sleep $1; if [ -n '${2:-}' ]; then import -window root '${2:-}'; fi; kill \$app; wait \$app 2>/dev/null || true" || true
    kill $xvfb 2>/dev/null || true
    wait $xvfb 2>/dev/null || true
    sleep 2
}

# alert <picture>: an alert's banner. The radio service runs first; one channel's artist, heard
# on the bus, becomes an alert set in an earlier run; then the window starts as a user starts it
# and hears that artist on a channel it has not tuned.
alert() {
    cat > "$work/alert.sh" <<'SCENE'
work=$1
"$work/xm-radio-service" & service=$!
# Each ChannelData signal: its member line, then number, station, artist, title, genre.
timeout 3 dbus-monitor "type='signal',member='ChannelData'" > "$work/heard.txt" || true
artist=$(awk '/member=ChannelData/ { getline; n = $2; getline; getline
    if (n > 30) { sub(/^ *string "/, ""); sub(/"$/, ""); print; exit } }' "$work/heard.txt")
printf '[Alerts]\r\nArtist1=%s\r\n' "$artist" >> "$work/vantoxm.ini"
"$work/vanto-xm" & app=$!
sleep 9
import -window root "$2"
kill $app; wait $app 2>/dev/null; kill $service
SCENE
    Xvfb :97 -screen 0 800x480x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    DISPLAY=:97 ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$work/pulse/asound.conf" dbus-run-session -- bash "$work/alert.sh" "$work" "$1" || true
    kill $xvfb 2>/dev/null || true
    wait $xvfb 2>/dev/null || true
    sleep 2
}

settings "$day_skin"
run 9
run 8 "$out/day-800x480.png"
settings "$day_skin"
alert "$out/alert-800x480.png"
settings "$night_skin"
run 8 "$out/night-800x480.png"
echo "wrote $out/day-800x480.png, $out/alert-800x480.png and $out/night-800x480.png"
