#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its figures beside a bare baseline of the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build/tests/bench/bench_skin
build/tests/bench/bench_list
dbus-run-session -- build/tests/bench/bench_channeldata
dbus-run-session -- build/tests/bench/bench_receiver
