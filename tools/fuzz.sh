#!/usr/bin/env bash
# Fuzzing with libFuzzer (Clang 14, address and undefined-behaviour sanitizers).
#
#   tools/fuzz.sh build          configure and build the fuzz targets
#   tools/fuzz.sh replay         run every target once over its corpus and
#                                its regression inputs
#   tools/fuzz.sh run [SECONDS]  fuzz each target for SECONDS (default 60),
#                                starting from its corpus
#   tools/fuzz.sh ci [SECONDS]   build, replay, run: what CI does
#   tools/fuzz.sh seeds          rewrite the seeds taken from the embedded
#                                scenario into fuzz/corpus/
#
# New inputs found while fuzzing go to $FUZZ_BUILD_DIR/corpus/<target>, not
# into the repository; an input that breaks a target is saved under
# $FUZZ_BUILD_DIR/artifacts/<target>/ and the run fails. Copy such an input
# into fuzz/regressions/<target>/ once it is fixed, so that every test run
# replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly BUILD_DIR=${FUZZ_BUILD_DIR:-build/fuzz}
# One target per fuzz/<name>_fuzz.cpp (listed in fuzz/CMakeLists.txt).
mapfile -t TARGETS < <(cd fuzz && ls -- *_fuzz.cpp | sed 's/_fuzz\.cpp$//')
readonly TARGETS
# A single input that runs longer than this is reported as a hang.
readonly INPUT_TIMEOUT_S=30

build() {
    cmake --preset fuzz -B "$BUILD_DIR" >/dev/null
    cmake --build "$BUILD_DIR"
}

binary() {
    echo "$BUILD_DIR/fuzz/scenario_fuzz_$1"
}

replay() {
    local failed=0 target
    for target in "${TARGETS[@]}"; do
        local log="$BUILD_DIR/replay_$target.log"
        if "$(binary "$target")" -runs=0 "fuzz/corpus/$target" "fuzz/regressions/$target" \
            >"$log" 2>&1; then
            local inputs
            inputs=$(find "fuzz/corpus/$target" "fuzz/regressions/$target" -type f | wc -l)
            echo "PASS: replay $target ($inputs inputs)"
        else
            echo "FAIL: replay $target"
            tail -40 "$log"
            failed=1
        fi
    done
    return "$failed"
}

run() {
    local seconds=${1:-60} failed=0 target
    for target in "${TARGETS[@]}"; do
        local work="$BUILD_DIR/corpus/$target"
        local artifacts="$BUILD_DIR/artifacts/$target"
        local log="$BUILD_DIR/fuzz_$target.log"
        mkdir -p "$work" "$artifacts"
        if "$(binary "$target")" -max_total_time="$seconds" -timeout="$INPUT_TIMEOUT_S" \
            -dict=fuzz/scenario.dict -artifact_prefix="$artifacts/" -print_final_stats=1 \
            "$work" "fuzz/corpus/$target" "fuzz/regressions/$target" >"$log" 2>&1; then
            local runs
            runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
            echo "PASS: fuzz $target: ${runs:-?} executions in ${seconds} s," \
                "working corpus $(ls "$work" | wc -l) inputs"
        else
            echo "FAIL: fuzz $target: an input broke it; saved in $artifacts/"
            ls -l "$artifacts"
            tail -60 "$log"
            failed=1
        fi
    done
    return "$failed"
}

seeds() {
    "$BUILD_DIR/fuzz/scenario_fuzz_seeds" fuzz/corpus/field_reader fuzz/corpus/compile fuzz/corpus/dump \
        fuzz/corpus/check fuzz/corpus/lsp
}

case "${1:-ci}" in
    build) build ;;
    replay) replay ;;
    run) run "${2:-60}" ;;
    seeds) seeds ;;
    ci)
        build
        replay
        run "${2:-60}"
        ;;
    *)
        echo "usage: $0 [build|replay|run [SECONDS]|ci [SECONDS]|seeds]" >&2
        exit 2
        ;;
esac
