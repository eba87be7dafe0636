#!/usr/bin/env bash
# Crash safety of the real program. A good run is traced first, and every
# step of it at which the process touches the folder (each file creation,
# write, naming, rename and deletion, in order) becomes a crash point. For
# each point a folder is set up as an earlier good run left it, the program
# is killed with SIGKILL on entering that step (strace injects the signal),
# and then
#   1. every output file is still there and byte-identical to a good run's,
#      and nothing stands in the folder but those, the program, complete
#      source texts and temporary files of our own naming;
#   2. one normal run exits with status 0 and leaves exactly the program and
#      the six files, byte-identical, and nothing else.
# The points are taken from what the program really does, so they follow it
# when it writes a file in more pieces or in another way. Three kinds of
# run are crashed: the usual one (temporary files without a name until
# written), one where files without a name cannot be named (every temporary
# file is created with its name), and one that starts in a folder holding
# the leftovers of killed runs, whose removal is crashed as well.
# Last, two builders are started at the same moment in one folder, many
# times: both must exit with status 0 and leave exactly the six files.
#
# Usage: run_crashes.sh <path to scenario_builder>
# Prints one line per kind of run and exits non-zero if any check failed;
# exits with 77 (skipped) when strace is missing or cannot trace here.

set -u

readonly EXE=${1:?usage: run_crashes.sh <path to scenario_builder>}
readonly SKIPPED=77
readonly KILLED=$((128 + 9))
readonly DOUBLE_STARTS=${SCENARIO_DOUBLE_STARTS:-40}
source "$(dirname "$0")/../support/output_names.sh"
readonly OUTPUTS=("${kOutputs[@]}")
readonly SOURCES=(Alvena_Sorbio_linea.txt Alvena_Sorbio_4271-.txt)
# The system calls that create, write, name, rename or delete a file.
readonly STEPS=open,openat,creat,write,pwrite64,writev,link,linkat,rename,renameat,renameat2,unlink,unlinkat
# Our temporary files: a file's name, the process id, a serial, ".tmp".
readonly TEMPORARY='\.[0-9]+\.[0-9]+\.tmp$'
# A file of the user's beside ours, named much like them: no run may touch it.
readonly FOREIGN=Alvena_Sorbio_linea.dat.bak

# LeakSanitizer cannot work in a traced process: in a sanitizer build this
# test leaves leak checks to the unit tests.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

if ! command -v strace >/dev/null; then
    echo "SKIP: strace is not installed (apt-get install strace); it kills the program at each step"
    exit $SKIPPED
fi
if ! strace -f -qq -o /dev/null true 2>/dev/null; then
    echo "SKIP: strace cannot trace processes here (no ptrace)"
    exit $SKIPPED
fi
if [ ! -x "$EXE" ]; then
    echo "FAIL: no program at $EXE"
    exit 1
fi

# In memory where there is room: the many short runs then wait for no disk.
scratch=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -gt 65536 ] &&
    scratch=/dev/shm
work=$(mktemp -d "$scratch/scenario_crashes.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
passes=0
points=0

fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

# The files of a good run, kept for comparison; and the two source texts as
# the emitters write them, taken from a run killed before it deletes them.
mkdir "$work/ref"
cp "$EXE" "$work/ref/scenario_builder"
if ! (cd "$work/ref" && ./scenario_builder); then
    echo "FAIL: the reference run did not succeed"
    exit 1
fi
{ (cd "$work/ref" && exec strace -o /dev/null -e trace=unlink,unlinkat \
    -e inject=unlink,unlinkat:signal=KILL:when=1 ./scenario_builder); } 2>/dev/null
for file in "${OUTPUTS[@]}" "${SOURCES[@]}"; do
    [ -f "$work/ref/$file" ] || { echo "FAIL: the reference runs left no $file"; exit 1; }
done

# A folder holding the program and the files of an earlier good run.
good_folder() {
    local dir=$work/$1
    rm -rf "$dir"
    mkdir "$dir"
    cp "$EXE" "$dir/scenario_builder"
    local file
    for file in "${OUTPUTS[@]}"; do cp "$work/ref/$file" "$dir/"; done
}

# The same, with what killed runs of an earlier program left: temporary
# files of two of its names (one of them complete, one cut short), and a
# file of the user's that only looks like ours.
littered_folder() {
    good_folder "$1"
    local dir=$work/$1
    cp "$work/ref/Alvena_Sorbio_linea.dat" "$dir/Alvena_Sorbio_linea.dat.11668.5.tmp"
    head -c 1000 "$work/ref/Alvena_Sorbio_4271.sim" >"$dir/Alvena_Sorbio_4271.sim.11668.6.tmp"
    echo "the user's" >"$dir/$FOREIGN"
}

# Prints the crash points of a run in folder $1, one line each: the system
# call, how many calls of it the run had made when it came to this one, and
# the call as traced. Further strace options follow the folder.
crash_points() {
    local dir=$1
    shift
    (cd "$dir" && strace -y -o "$work/trace" -e trace="$STEPS,access" "$@" ./scenario_builder) ||
        return 1
    # Writes count only into files (-y shows what each descriptor is): a
    # sanitizer build also writes into pipes of its own. A coverage build
    # writes its counters into .gcda files as it exits; those steps are the
    # instrumentation's, not the program's, and their bytes change every run.
    awk '
        match($0, /^[a-z0-9_]+\(/) {
            name = substr($0, 1, RLENGTH - 1)
            n = ++seen[name]
            if (index($0, ".gcda")) next
            if (name ~ /^(open|openat)$/ && $0 !~ /O_CREAT|O_TMPFILE/) next
            if (name ~ /^(write|pwrite64|writev)$/ && $0 !~ /^[a-z0-9]+\([0-9]+<\//) next
            if (name ~ /^(open|openat|creat|write|pwrite64|writev|link|linkat|rename|renameat|renameat2|unlink|unlinkat)$/)
                print name, n, $0
        }' "$work/trace"
}

# The call as traced, without the numbers that change from run to run.
shape() { sed -E 's/ = .*$//; s/[0-9]+/N/g' <<<"$1"; }

# Checks folder $1 right after a kill: the six good files, whole; source
# texts only whole; temporary files of our naming; nothing else new.
check_after_kill() {
    local dir=$1 what=$2 entry name
    for name in "${OUTPUTS[@]}"; do
        cmp -s "$work/ref/$name" "$dir/$name" || { fail "$what: $name is not the good one"; return 1; }
    done
    for entry in "$dir"/*; do
        name=${entry##*/}
        case " scenario_builder $FOREIGN ${OUTPUTS[*]} " in *" $name "*) continue ;; esac
        case " ${SOURCES[*]} " in
            *" $name "*)
                cmp -s "$work/ref/$name" "$entry" || { fail "$what: $name is cut short"; return 1; }
                continue
                ;;
        esac
        [[ $name =~ $TEMPORARY ]] && { left=$((left + 1)); continue; }
        fail "$what: the killed run left $name"
        return 1
    done
}

# Checks folder $1 after the run that follows a kill: the program, the six
# good files and, when given, the user's file $2; nothing else.
check_healed() {
    local dir=$1 what=$2 keep=${3:-} name
    local expected
    expected=$(printf '%s\n' scenario_builder "${OUTPUTS[@]}" $keep | LC_ALL=C sort)
    if [ "$(cd "$dir" && ls -A | LC_ALL=C sort)" != "$expected" ]; then
        fail "$what: after the next run the folder holds: $(cd "$dir" && ls -A | tr '\n' ' ')"
        return 1
    fi
    for name in "${OUTPUTS[@]}"; do
        cmp -s "$work/ref/$name" "$dir/$name" || { fail "$what: $name differs after the next run"; return 1; }
    done
}

# Crashes every step of one kind of run. $1 names it, $2 makes its folder,
# $3 is the user's file that must survive; further strace options follow.
crash_every_step() {
    local kind=$1 setup=$2 keep=$3
    shift 3
    "$setup" crash
    local list
    list=$(crash_points "$work/crash" "$@") || { fail "$kind: the traced run failed"; return; }
    local count=0 before=$failures syscall n call status last
    left=0
    while read -r syscall n call; do
        count=$((count + 1))
        local what="$kind, step $count ($(shape "$call"))"
        "$setup" crash
        # The braces keep the shell's own word of the kill off the output.
        {
            (cd "$work/crash" && exec strace -y -o "$work/kill_trace" -e trace="$syscall,access" \
                -e inject="$syscall":signal=KILL:when="$n" "$@" ./scenario_builder)
            status=$?
        } 2>/dev/null
        last=$(grep -E "^$syscall\(" "$work/kill_trace" | tail -n 1)
        if [ "$status" -ne $KILLED ]; then
            fail "$what: the program was not killed (status $status)"
        elif [ "$(shape "$last")" != "$(shape "$call")" ]; then
            fail "$what: killed at another step: $last"
        elif check_after_kill "$work/crash" "$what"; then
            if (cd "$work/crash" && ./scenario_builder); then
                check_healed "$work/crash" "$what" "$keep" && passes=$((passes + 1))
            else
                fail "$what: the next run ended with status $?"
            fi
        fi
    done <<<"$list"
    points=$((points + count))
    local result=PASS
    [ $failures -eq $before ] || result=FAIL
    echo "$result: $kind: killed at each of $count steps ($left left a temporary file); the next run healed the folder"
}

# Two builders released at the same moment: both wait for a line on one
# pipe, and one write gives each its line once both are waiting.
double_start() {
    local round bad=0 a b
    mkfifo "$work/go"
    for ((round = 1; round <= DOUBLE_STARTS; round++)); do
        good_folder double
        exec 3<>"$work/go"
        (cd "$work/double" && read -r _ <"$work/go" && exec ./scenario_builder) &
        a=$!
        (cd "$work/double" && read -r _ <"$work/go" && exec ./scenario_builder) &
        b=$!
        sleep 0.05
        printf '\n\n' >&3
        exec 3>&-
        wait $a || { fail "double start $round: the first run ended with status $?"; bad=1; }
        wait $b || { fail "double start $round: the second run ended with status $?"; bad=1; }
        check_healed "$work/double" "double start $round" || bad=1
        [ $bad -eq 0 ] || return
        passes=$((passes + 1))
    done
    echo "PASS: two builders started at the same moment, $DOUBLE_STARTS times: both status 0, the six files"
}

crash_every_step "usual run" good_folder ""
# Without /proc/self/fd a file without a name cannot be given one: every
# temporary file is then created with its name.
crash_every_step "run with named temporary files" good_folder "" -e inject=access:error=ENOENT
crash_every_step "run in a folder with leftovers" littered_folder "$FOREIGN"
double_start

echo "crash points covered: $points"
echo "crashes: $passes passed, $failures failed"
[ $failures -eq 0 ]
