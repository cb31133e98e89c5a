#!/usr/bin/env bash
# Configures and builds into build/ (the program folder is build/program/): everything, or only
# the targets named (scripts/run.sh builds "program_folder", the program folder alone). Lines that only
# say that a target is up to date are left out, so an up-to-date build prints nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
# Configured every time: make knows of a target only once the build files name it.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build build -j"$(nproc)" "${targets[@]}" |
    { grep -v -E '^\[ *[0-9]+%\] (Built target|Automatic MOC and UIC for target) |^Consolidate compiler generated dependencies of target ' || true; }
