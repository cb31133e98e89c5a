#!/usr/bin/env bash
# Builds the tests that need no display (the radio service, the serial receiver on a pty, the
# radio's sound, the INI reader and conversions, the channel table, the radio client and xmctl) with
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs them. Every finding is fatal, also
# in the processes the tests start (the radio service, xmctl); their reports land in
# build-sanitize/sanitizer-reports/, and any report there fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
tests=(test_modini test_conversions test_functions test_channeltable test_radioclient test_xmservice test_xmprotocol
       test_xmservice_bus test_serialreceiver_bus test_sound test_playthrough test_xmctl_commands test_xmctl_bus)
bash scripts/build-sanitized.sh "${tests[@]}" xm-radio-service xmctl
reports="$PWD/build-sanitize/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="log_path=$reports/asan:abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
regex="^($(IFS='|'; echo "${tests[*]}"))\$"
status=0
(cd build-sanitize && ctest --output-on-failure -j"$(nproc)" -R "$regex") || status=$?
if compgen -G "$reports/*" > /dev/null; then
    echo "Sanitizer reports:"
    cat "$reports"/*
    exit 1
fi
exit "$status"
