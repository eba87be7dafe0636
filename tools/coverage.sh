#!/usr/bin/env bash
# Line and branch coverage of the core (formats/, compiler/, output/,
# content/) by the whole test suite: unit tests, corpus replay and fault
# injection. Prints gcovr's summary and writes a per-file table to
# $COVERAGE_BUILD_DIR/coverage.txt.
#
#   tools/coverage.sh
set -euo pipefail
cd "$(dirname "$0")/.."

readonly BUILD_DIR=${COVERAGE_BUILD_DIR:-build/coverage}

cmake --preset coverage -B "$BUILD_DIR" >/dev/null
cmake --build "$BUILD_DIR"
# Counters of an earlier run would add up with this one.
find "$BUILD_DIR" -name '*.gcda' -delete
ctest --test-dir "$BUILD_DIR" --output-on-failure

readonly FILTERS=(--filter 'formats/' --filter 'compiler/' --filter 'output/' --filter 'content/')
gcovr --root . --object-directory "$BUILD_DIR" "${FILTERS[@]}" \
    --exclude-unreachable-branches --exclude-throw-branches \
    --txt "$BUILD_DIR/coverage.txt" --print-summary
