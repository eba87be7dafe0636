#!/usr/bin/env bash
# Measures the program against its targets and prints ratios, not times:
#   1. the whole run as a process, against copying the same six output files
#      with cp into an empty folder (median of many runs; target 1.5 x);
#   2. compiling and writing the longest route the format allows (1000000 m)
#      against the embedded 101 km one, in memory (target 12 x, that is cost
#      linear in the length of the route);
#   3. the peak memory of the program and of a process that builds the
#      1000000 m route on disk (target under 64 MB).
# Needs hyperfine and GNU time. Reports only: timings never fail a build.
#
#   tools/bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."

readonly BUILD_DIR=${BENCH_BUILD_DIR:-build/bench}
readonly RUNS=${1:-30}
readonly OUTPUTS=(
    Alvena_Sorbio_4271_note.txt
    Alvena_Sorbio_4271_rallentamenti.txt
    Alvena_Sorbio_4271_scheda_treno.txt
    Alvena_Sorbio_linea.dat
    Alvena_Sorbio_4271.sim
    Alvena_Sorbio_4271.dat
)

work=$(mktemp -d /tmp/scenario_bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

cmake --preset bench -B "$BUILD_DIR" >/dev/null
cmake --build "$BUILD_DIR" --target scenario_builder scenario_bench scenario_big_route >/dev/null

# Prints the median wall time of one hyperfine result, in seconds.
median_of() {
    python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][int(sys.argv[2])]["median"])' "$1" "$2"
}

# Prints the mean processor time (user and system) of one hyperfine result.
cpu_of() {
    python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][int(sys.argv[2])]; print(r["user"] + r["system"])' "$1" "$2"
}

ratio() {
    python3 -c 'import sys; print(f"{float(sys.argv[1]) / float(sys.argv[2]):.2f}")' "$1" "$2"
}

whole_run_against_copy() {
    local run="$work/run" source="$work/source" copy="$work/copy"
    mkdir -p "$run" "$source"
    cp "$BUILD_DIR/scenario_builder" "$run/"
    (cd "$source" && cp "$OLDPWD/$BUILD_DIR/scenario_builder" . && ./scenario_builder)
    local outputs=() sources=() file
    for file in "${OUTPUTS[@]}"; do
        outputs+=("$run/$file")
        sources+=("$source/$file")
    done
    hyperfine -N --warmup 3 --runs "$RUNS" --export-json "$work/process.json" \
        --prepare "rm -f ${outputs[*]}" "$run/scenario_builder" >/dev/null
    # The copy needs its empty folder made before each run, outside the timing.
    hyperfine -N --warmup 3 --runs "$RUNS" --export-json "$work/copy.json" \
        --prepare "bash -c 'rm -rf $copy && mkdir $copy'" "cp ${sources[*]} $copy/" >/dev/null
    local program copy_time
    program=$(median_of "$work/process.json" 0)
    copy_time=$(median_of "$work/copy.json" 0)
    echo "whole run / cp of the six files: $(ratio "$program" "$copy_time") x (target 1.5 x)"
    echo "  medians of $RUNS runs: program $program s, cp $copy_time s"
    # On a busy machine the wall times include waiting for a processor; the
    # processor time of the two is steadier.
    echo "  processor time (user + system), program / cp:" \
        "$(ratio "$(cpu_of "$work/process.json" 0)" "$(cpu_of "$work/copy.json" 0)") x"
    echo "  peak memory of the program: $(/usr/bin/time -f %M "$run/scenario_builder" 2>&1 >/dev/null | tail -1) KiB"
}

in_memory_ratios() {
    "$BUILD_DIR/bench/scenario_bench" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true --benchmark_format=json \
        --benchmark_out="$work/bench.json" --benchmark_out_format=json >/dev/null
    python3 - "$work/bench.json" <<'EOF'
import json, sys
runs = {b["run_name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
def t(name):
    return runs[name]["real_time"]
embedded = t("BM_CompileAndWrite_Embedded")
longest = t("BM_CompileAndWrite_Synthetic/1000000")
print(f"compile and write, 1000000 m / embedded 101 km: {longest / embedded:.2f} x (target 12 x)")
print(f"  synthetic 1000000 m / 100000 m: "
      f"{longest / t('BM_CompileAndWrite_Synthetic/100000'):.2f} x (linear: 10 x)")
print(f"  synthetic 100000 m / embedded 101 km: "
      f"{t('BM_CompileAndWrite_Synthetic/100000') / embedded:.2f} x")
print(f"  whole build in memory / compile and write of the embedded route: "
      f"{t('BM_WholeBuild') / embedded:.2f} x")
for name, b in runs.items():
    code = b.get("codice_errore", b.get("exit_status", 0))
    if code:
        print(f"  NOTE: {name} ended with code {code:.0f}")
EOF
}

longest_route_memory() {
    mkdir -p "$work/big"
    local peak
    peak=$(/usr/bin/time -f %M "$BUILD_DIR/bench/scenario_big_route" "$work/big" 2>&1 >/dev/null | tail -1)
    echo "peak memory, 1000000 m route compiled and written: $((peak / 1024)) MiB ($peak KiB; target under 64 MB)"
}

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, $(uname -sr)"
whole_run_against_copy
in_memory_ratios
longest_route_memory
