#!/usr/bin/env bash
# Fault injection on the real program: each case sets up a folder holding a
# copy of the program and the files of an earlier good run, breaks the folder
# in one way, runs the program again and checks that
#   - it ends with the failure exit status (1) and a report naming the file
#     and the system's reason on standard error,
#   - every file that was there before is still there, byte for byte,
#   - no other file (a temporary one, say) is left behind.
#
# Usage: run_faults.sh <path to scenario_builder>
# Prints one PASS or FAIL line per case and exits non-zero if any failed.

set -u

readonly EXE=${1:?usage: run_faults.sh <path to scenario_builder>}
readonly EXIT_FATAL=1
source "$(dirname "$0")/../support/output_names.sh"
readonly OUTPUTS=("${kOutputs[@]}")
# Past this size (in KiB) a file cannot grow: the line geometry file of the
# embedded scenario is about 2 MiB, every other file well under 1 MiB.
readonly SIZE_LIMIT_KIB=1024

failures=0
passes=0
work=$(mktemp -d /tmp/scenario_faults.XXXXXX)
chmod 0755 "$work"
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT

pass() {
    echo "PASS: $1"
    passes=$((passes + 1))
}

fail() {
    echo "FAIL: $1: $2"
    failures=$((failures + 1))
}

# A folder with a copy of the program; readable and runnable by anyone, so
# that an unprivileged user can run it too.
new_folder() {
    local dir="$work/$1"
    mkdir -p "$dir"
    chmod 0755 "$dir"
    cp "$EXE" "$dir/scenario_builder"
    chmod 0755 "$dir/scenario_builder"
    echo "$dir"
}

# A folder holding the files of an earlier good run.
folder_after_good_run() {
    local dir
    dir=$(new_folder "$1") || return 1
    if ! (cd "$dir" && ./scenario_builder) >"$dir.good.out" 2>&1; then
        echo "the good run before the fault did not succeed:" >&2
        cat "$dir.good.out" >&2
        return 1
    fi
    local file
    for file in "${OUTPUTS[@]}"; do
        if [ ! -f "$dir/$file" ]; then
            echo "the good run before the fault did not write $file" >&2
            return 1
        fi
    done
    echo "$dir"
}

# Name, size and checksum of every entry in the folder, directories marked.
snapshot() {
    (cd "$1" && find . -mindepth 1 -printf '%y %p\n' | sort | while read -r kind path; do
        if [ "$kind" = f ]; then
            echo "f $path $(sha256sum <"$path" | cut -d' ' -f1)"
        else
            echo "$kind $path"
        fi
    done)
}

# Runs the program in its folder, as `user` when given, with an optional
# file-size limit; leaves the status in $status and the report in $report.
run_program() {
    local dir=$1 user=${2:-} limit=${3:-unlimited}
    local runner=()
    if [ -n "$user" ]; then
        runner=(setpriv --reuid="$user" --regid=nogroup --clear-groups)
    fi
    report=$( (ulimit -f "$limit" && cd "$dir" && "${runner[@]}" ./scenario_builder) 2>&1 >/dev/null)
    status=$?
}

# The two source texts that a run writes first and the compiler deletes.
# When a later document cannot be written the run ends before the compiler,
# and these stay behind as the earlier steps left them.
readonly SOURCE_TEXTS='Alvena_Sorbio_linea\.txt|Alvena_Sorbio_4271-\.txt'

# The checks every case shares. `expected_name` must appear in the report;
# entries matching the pattern `leftovers` may be new in the folder.
check_outcome() {
    local name=$1 dir=$2 before=$3 expected_name=$4 leftovers=${5:-}
    local after
    after=$(snapshot "$dir")
    if [ -n "$leftovers" ]; then
        after=$(grep -Ev "^f \./($leftovers) " <<<"$after")
    fi
    if [ "$status" -ne "$EXIT_FATAL" ]; then
        fail "$name" "exit status $status, expected $EXIT_FATAL (report: ${report:-none})"
    elif [ -z "$report" ]; then
        fail "$name" "no report on standard error"
    elif [[ "$report" != *"$expected_name"* ]]; then
        fail "$name" "the report does not name $expected_name: $report"
    elif [ "$before" != "$after" ]; then
        fail "$name" "the folder changed: $(diff <(echo "$before") <(echo "$after") | tr '\n' ' ')"
    else
        pass "$name ($report)"
    fi
}

# Run by someone who may not write into the folder: nothing may be created.
# The super-user may write anywhere, so it runs the program as nobody.
case_read_only_folder() {
    local name="read-only folder, $1"
    local dir=$2
    local user=""
    chmod 0555 "$dir"
    if [ "$(id -u)" -eq 0 ]; then user=nobody; fi
    local before
    before=$(snapshot "$dir")
    run_program "$dir" "$user"
    check_outcome "$name" "$dir" "$before" Alvena_Sorbio_linea.txt
    chmod 0755 "$dir"
}

# A directory stands where the program wants to put a file of its own.
case_directory_in_the_way() {
    local file=$1
    local dir
    dir=$(folder_after_good_run "dir_$file") || { fail "directory in place of $file" "setup"; return; }
    rm -f "$dir/$file"
    mkdir "$dir/$file"
    local before
    before=$(snapshot "$dir")
    run_program "$dir"
    check_outcome "directory in place of $file" "$dir" "$before" "$file" "${2:-}"
}

# A file-size limit that the line geometry file exceeds: its write fails
# with "File too large" and the earlier geometry file stays whole.
case_file_size_limit() {
    local dir
    dir=$(folder_after_good_run size_limit) || { fail "file-size limit" "setup"; return; }
    local before
    before=$(snapshot "$dir")
    run_program "$dir" "" "$SIZE_LIMIT_KIB"
    check_outcome "file-size limit of $SIZE_LIMIT_KIB KiB" "$dir" "$before" Alvena_Sorbio_linea.dat
}

# An earlier output file whose owner took away every write bit: the program
# refuses to replace it, even when run by the super-user.
case_read_only_output() {
    local file=$1
    local dir
    dir=$(folder_after_good_run "ro_$file") || { fail "read-only $file" "setup"; return; }
    chmod 0444 "$dir/$file"
    local before
    before=$(snapshot "$dir")
    run_program "$dir"
    check_outcome "read-only earlier $file" "$dir" "$before" "$file" "${2:-}"
}

main() {
    if [ ! -x "$EXE" ]; then
        echo "FAIL: no program at $EXE"
        exit 1
    fi

    local empty
    empty=$(new_folder ro_empty)
    case_read_only_folder "empty" "$empty"
    local full
    if full=$(folder_after_good_run ro_full); then
        case_read_only_folder "with earlier files" "$full"
    else
        fail "read-only folder, with earlier files" "setup"
    fi

    case_directory_in_the_way Alvena_Sorbio_linea.txt
    case_directory_in_the_way Alvena_Sorbio_4271_scheda_treno.txt "$SOURCE_TEXTS"
    case_directory_in_the_way Alvena_Sorbio_4271.sim

    case_file_size_limit

    case_read_only_output Alvena_Sorbio_4271_note.txt "$SOURCE_TEXTS"
    case_read_only_output Alvena_Sorbio_linea.dat
    case_read_only_output Alvena_Sorbio_4271.dat

    echo "faults: $passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}

main
