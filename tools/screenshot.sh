#!/usr/bin/env bash
# Takes a screenshot of the real program window at 800 x 480 under a virtual X server, with the
# radio service running, for each default skin.
#   tools/screenshot.sh [build folder] [output folder]
set -euo pipefail
build=${1:-build}
out=${2:-docs/screenshots}
program="$build/program"
mkdir -p "$out"
need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
command -v xwininfo >/dev/null || need+=(x11-utils)
if [ ${#need[@]} -gt 0 ]; then
    sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
    $sudo_cmd apt-get install -y "${need[@]}"
fi

shoot() {
    local skin=$1 file=$2 work
    work=$(mktemp -d)
    cp -r "$program"/. "$work"/
    rm -f "$work/services.dat"
    # The skin in use is the one named by the settings; switching is off for a steady picture.
    printf '[XMRadio]\r\nXMServicePath=xm-radio-service\r\nLastChannel=20\r\nPreset1=20\r\nPreset2=32\r\nPreset3=46\r\n[Appearance]\r\nWindowLeft=0\r\nWindowTop=0\r\nWindowWidth=800\r\nWindowHeight=480\r\nFullScreen=False\r\nShowMouseCursor=True\r\nDaySkin=%s\r\nNightSkin=%s\r\nAutoSwitchDayNightSkin=False\r\n' "$skin" "$skin" > "$work/vantoxm.ini"
    mkdir -p "$work/Skins"
    # With switching off the skin is read from the Skins folder itself.
    cp -r "$program/Skins/$skin"/. "$work/Skins/"
    Xvfb :97 -screen 0 800x480x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    DISPLAY=:97 dbus-run-session -- bash -c "'$work/vanto-xm' & app=\$!; sleep 12; import -window root '$file'; kill \$app; wait \$app 2>/dev/null || true" || true
    kill $xvfb 2>/dev/null || true
    wait $xvfb 2>/dev/null || true
    rm -rf "$work"
    echo "wrote $file"
}

shoot Day "$out/day-800x480.png"
shoot Night "$out/night-800x480.png"
