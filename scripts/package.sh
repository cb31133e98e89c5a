#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package with CPack:
# build/vanto-xm_<version>_<arch>.deb, whose path is the last line printed. The build is the one
# scripts/build.sh makes (and scripts/test.sh uses), so after the tests only the package is new.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# dpkg-shlibdeps finds the package's dependencies; CPack looks at the files with file(1).
missing=()
for p in dpkg-dev file; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
bash scripts/build.sh
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
changed=$(sed -n '1s/^vanto-xm (\([^)]*\)).*/\1/p' packaging/changelog)
if [ "$version" != "$changed" ]; then
    echo "scripts/package.sh: the project is version $version but packaging/changelog begins with $changed:" \
         "add an entry for $version" >&2
    exit 1
fi
rm -f build/vanto-xm_*.deb
(cd build && cpack -G DEB > cpack.log) || { cat build/cpack.log >&2; exit 1; }
deb=$(ls build/vanto-xm_"$version"_*.deb)
echo "$PWD/$deb"
