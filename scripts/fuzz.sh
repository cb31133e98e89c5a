#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz into build-sanitize/ and runs each from its seed
# corpus for a fixed time, 30 s unless given (bash scripts/fuzz.sh 600 runs 10 minutes each).
# Any crash, leak, sanitizer finding or broken invariant fails the run; the input that caused it
# is kept in build-sanitize/fuzz/<target>/, and the corpus grows there from run to run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
bash scripts/build-sanitized.sh fuzzers
# A smaller quarantine keeps each run well under 1 GB. So does recording no call stack for each
# allocation: the quick unwinder walks on through Qt's frames, which keep no frame pointer, and
# makes up a new stack nearly every time, which the sanitizer keeps for good (most of a gigabyte in a
# 10-minute run). A failure's input is run again with whole stacks for its report.
export ASAN_OPTIONS="quarantine_size_mb=64:detect_leaks=1:malloc_context_size=0"
status=0
for target in xmframes ini services skinfile; do
    work="build-sanitize/fuzz/$target"
    mkdir -p "$work/corpus"
    # The skins a build draws seed the skin file reader too, when there is such a build.
    if [ "$target" = skinfile ]; then
        for skin in Day Night DriveDay DriveNight; do
            shipped="build/program/Skins/$skin/radio_xm.ini"
            if [ -f "$shipped" ]; then cp "$shipped" "$work/corpus/shipped-$skin.ini"; fi
        done
    fi
    if "build-sanitize/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
        -artifact_prefix="$work/" "$work/corpus" "tests/fuzz/corpus/$target" > "$work/fuzz.log" 2>&1; then
        echo "fuzz_$target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/fuzz.log" | tail -1)"
    else
        echo "fuzz_$target failed; its log is $work/fuzz.log:"
        grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)' "$work/fuzz.log" | tail -40
        for input in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
            [ -f "$input" ] || continue
            echo "$input again, with the stacks of the memory it touched:"
            ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0" "build-sanitize/fuzz/fuzz_$target" "$input" 2>&1 | tail -60
        done
        status=1
    fi
done
exit "$status"
