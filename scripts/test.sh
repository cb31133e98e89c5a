#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Tests run on Qt's offscreen platform;
# those that talk to the radio service get a private session bus each. Those that reach the sound
# card share a PulseAudio server with a null sink, which CTest starts before the first of them and
# stops by its PID after the last (tests/volume/pulseserver.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)"
