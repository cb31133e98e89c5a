#!/usr/bin/env bash
# Builds the given targets into build-sanitize/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and the libFuzzer targets' coverage: the build that
# scripts/test-sanitized.sh and scripts/fuzz.sh share. Installs what it needs when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
packages=(clang-14 libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang-14 CXX=clang++-14 cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTO_SANITIZE=ON \
    -DVANTO_FUZZ=ON "${launcher[@]}" > /dev/null
cmake --build build-sanitize -j"$(nproc)" --target "$@"
