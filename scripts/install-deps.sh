#!/usr/bin/env bash
# Installs what building, running and testing the program need on Debian 12, when missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev libgtest-dev googletest
          dbus dbus-bin fonts-dejavu-core fonts-dejavu-extra
          libjpeg-dev libasound2-dev libasound2-plugins libpulse-dev libopus-dev libopusenc-dev libopusfile-dev pulseaudio pulseaudio-utils playerctl)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
echo "Installing: ${missing[*]}"
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
