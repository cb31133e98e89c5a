#!/usr/bin/env bash
# Tests the Debian package as a car-PC builder meets it: makes it (reusing the test build), checks
# it with lintian, installs it on this machine with apt-get, checks the executables' hardening,
# runs the installed radio as an unprivileged user (tests/package/asuser.sh, on a private session
# bus and a virtual X server), checks that nothing was written under /opt/vanto-xm, upgrades it,
# and removes it again.
# Installs and removes system packages: run as root on a machine made for it, as CI does.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "scripts/test-package.sh installs a package: run it as root" >&2; exit 1; }

say() { echo "test-package: $*"; }
fail() { echo "test-package: FAILED: $*" >&2; exit 1; }

missing() {
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}
mapfile -t need < <(missing lintian xvfb dbus-bin)
# devscripts for hardening-check alone: its recommends would bring a keyring and tools unused here.
mapfile -t bare < <(missing devscripts)
if [ ${#need[@]} -gt 0 ] || [ ${#bare[@]} -gt 0 ]; then
    apt-get update -qq
    [ ${#need[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" > /dev/null
    [ ${#bare[@]} -eq 0 ] ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${bare[@]}" > /dev/null
fi
dpkg-query -W vanto-xm > /dev/null 2>&1 && fail "vanto-xm is installed already; remove it first"

deb=$(bash scripts/package.sh | tail -n 1)
version=$(dpkg-deb -f "$deb" Version)
say "made $deb"

# Every tag, the informational ones too: lintian files a missing bind-now or fortify under them.
lintian_out=$(lintian --pedantic --display-info "$deb" 2>&1 | grep -v "running with root privileges" || true)
[ -z "$lintian_out" ] || echo "$lintian_out"
if grep -qE "^[EW]:" <<< "$lintian_out"; then fail "lintian reports errors or warnings"; fi
if grep -q ": hardening-" <<< "$lintian_out"; then fail "lintian finds executables without hardening"; fi

work=$(mktemp -d)
chmod 755 "$work"
user=vanto-xm-test
cleanup() {
    local status=$?
    dpkg-query -W vanto-xm > /dev/null 2>&1 && DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vanto-xm > /dev/null
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" > "$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get could not install $deb"; }
say "installed vanto-xm $version"

# The layout.
for f in vanto-xm xm-radio-service xmctl; do [ -x "/opt/vanto-xm/$f" ] || fail "/opt/vanto-xm/$f is missing"; done
for f in vantoxm.ini xm-radio-service.ini Skins/Day/radio_xm.ini Skins/Night/radio_xm.ini \
         Skins/DriveDay/radio_xm.ini Skins/DriveNight/radio_xm.ini \
         /usr/share/icons/hicolor/256x256/apps/vanto-xm.png /usr/share/doc/vanto-xm/copyright \
         /usr/share/doc/vanto-xm/changelog.gz /usr/share/man/man1/xmctl.1.gz \
         /usr/share/man/man1/vanto-skinmaker.1.gz; do
    [[ $f == /* ]] || f=/opt/vanto-xm/$f
    [ -f "$f" ] || fail "$f is missing"
done
grep -qx "Exec=/opt/vanto-xm/vanto-xm" /usr/share/applications/vanto-xm.desktop ||
    fail "the desktop entry does not start /opt/vanto-xm/vanto-xm"
grep -qx "Exec=/opt/vanto-xm/xm-radio-service" /usr/share/dbus-1/services/org.vanto.XMRadio.service ||
    fail "the session bus cannot start the radio service"
[ "$(readlink -f /usr/bin/xmctl)" = /opt/vanto-xm/xmctl ] || fail "/usr/bin/xmctl does not lead to the program's"
/usr/bin/vanto-skinmaker --help > /dev/null || fail "/usr/bin/vanto-skinmaker does not run"
# /opt is the base system's: the package lists its own folder in it but not /opt itself, which dpkg
# would remove, were it empty, with the last package that lists it.
opt_not_listed() {
    local files
    files=$(dpkg-query -L vanto-xm)
    ! grep -qx /opt <<< "$files" || fail "the package lists /opt itself"
}
opt_not_listed
# The executables as Debian hardens its own (fortify, stack protector, relro, bind-now, PIE).
# Control-flow protection is not asked: Debian 12's dpkg-buildflags does not give it.
hardening-check --quiet --nocfprotection /opt/vanto-xm/vanto-xm /opt/vanto-xm/xm-radio-service \
    /opt/vanto-xm/xmctl /usr/bin/vanto-skinmaker || fail "executables without hardening (see above)"
say "the layout, /opt left to the system, the executables hardened"

# The user, with nothing of the radio in the home folder yet.
id "$user" > /dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/.config/vanto-xm" "$home/.local/share/vanto-xm"
# What the user runs, where the user may read it (the clone may be in root's home).
install -d -o "$user" -m 700 "$work/user" "$work/user/runtime"
cp tests/package/asuser.sh tests/volume/pulseserver.sh build/tests/package/skinonscreen "$work/user/"
chown "$user" "$work/user"/*
# X servers keep their sockets here; made as the system makes it, should no X server have run yet.
[ -d /tmp/.X11-unix ] || install -d -m 1777 /tmp/.X11-unix
snapshot() { find /opt/vanto-xm -printf '%p %s %T@ %m\n' | sort; }
snapshot > "$work/opt-before"

say "running the installed radio as $user"
timeout 240 runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin \
    LANG=C.UTF-8 XDG_RUNTIME_DIR="$work/user/runtime" \
    dbus-run-session -- bash "$work/user/asuser.sh" "$work/user" || fail "the user's part (see above)"
# The service ends with the session bus; nothing the test started as the user stays behind.
for _ in $(seq 50); do pgrep -u "$user" > /dev/null || break; sleep 0.2; done
if pgrep -u "$user" > /dev/null; then
    ps -o pid,args -u "$user" >&2
    fail "programs of $user still run after the session ended"
fi

snapshot > "$work/opt-after"
diff "$work/opt-before" "$work/opt-after" >&2 || fail "the program changed /opt/vanto-xm"
[ -z "$(dpkg --verify vanto-xm)" ] || fail "dpkg --verify: the installed files changed"
say "nothing was written under /opt/vanto-xm"

# An upgrade replaces the program folder and keeps every user's settings and channel list.
(cd "$home/.config/vanto-xm" && md5sum vantoxm.ini services.dat) > "$work/user-files"
(cd build && cpack -G DEB -D CPACK_PACKAGE_VERSION="$version+upgrade" -D CPACK_PACKAGE_DIRECTORY="$work" \
    > "$work/cpack.log") || { cat "$work/cpack.log" >&2; fail "cpack could not make the upgrade"; }
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$work/vanto-xm_$version+upgrade_"*.deb > "$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get could not upgrade"; }
[ "$(dpkg-query -W -f='${Version}' vanto-xm)" = "$version+upgrade" ] || fail "the upgrade did not install"
opt_not_listed
(cd "$home/.config/vanto-xm" && md5sum -c --quiet "$work/user-files") || fail "the upgrade changed the user's files"
say "upgraded to $version+upgrade; the user's settings and channel list are unchanged"

# Removing it leaves nothing of it but the user's own folders.
dpkg-query -L vanto-xm > "$work/files"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vanto-xm > /dev/null
left=()
while read -r path; do
    if [ -L "$path" ] || [ -f "$path" ]; then left+=("$path"); fi
done < "$work/files"
for d in /opt/vanto-xm /usr/share/doc/vanto-xm; do [ -e "$d" ] && left+=("$d"); done
[ ${#left[@]} -eq 0 ] || fail "left after removal: ${left[*]}"
[ -f "$home/.config/vanto-xm/vantoxm.ini" ] || fail "the removal took the user's settings"
say "removed: nothing of it is left outside $home"
say "passed"
