#!/usr/bin/env bash
# Checks that the sources keep the house style: every C++ file as the root .clang-format lays it
# out, every include on the floors of CONTRIBUTING.md's map (scripts/check-layers.sh), and a
# build without a single compiler warning (-Wall -Wextra as errors), in the build folder named
# (build-werror/ when none is). CI names the test build's folder, so that the one build serves
# both. Prints the files or warnings at fault and ends non-zero; changes nothing in
# the sources.
#   scripts/check-style.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format > /dev/null; then
    sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
    $sudo_cmd apt-get install -y -qq clang-format
fi
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
bash scripts/check-layers.sh
folder=${1:-build-werror}
cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTO_WERROR=ON > /dev/null
# Progress lines are left out: what remains is what went wrong.
cmake --build "$folder" -j"$(nproc)" 2>&1 |
    { grep -v -E '^\[ *[0-9]+%\] |^Consolidate compiler generated dependencies of target ' || true; }
exit "${PIPESTATUS[0]}"
