#!/usr/bin/env bash
# End-to-end check of the Windows executable, under wine and a virtual X
# display:
#
#   1. the .exe, copied into an empty folder whose name has spaces and letters
#      outside the ANSI code page, and started from another folder, writes the
#      same six files, byte for byte, as the Linux build does in its own folder;
#   2. started from a drive's root folder (R:\, mapped to an empty folder),
#      where the names hold two separators in a row, it does the same;
#   3. with a read-only file in its way, the .exe shows its window "Form1" and
#      a box with the system's reason, ends with status 1 when the box is
#      closed with the Return key, and leaves the read-only file as it was;
#   4. the errore_demo program shows the window and the box " Errore n. 1251"
#      with one OK button, ends with status 1 after Return, and writes nothing.
#      The window is photographed while the box is up.
#   5. killed (SIGKILL to the wine process, as a power cut or the task
#      manager would end it) as it starts writing the line geometry file in
#      the folder of an earlier good run, the .exe leaves every earlier file
#      whole; run again, it ends with status 0 and the folder holds exactly
#      the executable and the six files, byte for byte the Linux build's;
#   6. two builds started together in one folder both end with status 0 and
#      leave exactly the six files.
#
#   tests/windows/run_e2e.sh [--update-docs] [MINGW_BUILD [LINUX_BUILD]]
#
# MINGW_BUILD defaults to build/mingw, LINUX_BUILD to build/default; both must
# be built. The screenshot goes to MINGW_BUILD/e2e/window.png, and with
# --update-docs to docs/window.png as well.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
update_docs=0
if [ "${1:-}" = --update-docs ]; then
  update_docs=1
  shift
fi
win_build=$(realpath "${1:-$repo/build/mingw}")
linux_build=$(realpath "${2:-$repo/build/default}")

# A display of our own: restart under xvfb-run, which picks a free one.
if [ -z "${SCENARIO_E2E_DISPLAY:-}" ]; then
  args=()
  [ $update_docs = 1 ] && args+=(--update-docs)
  SCENARIO_E2E_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    bash "$0" "${args[@]}" "$win_build" "$linux_build"
fi

readonly kTimeout=60           # seconds for any one wait
readonly kBox=scenario_builder  # title of the program's message boxes
# kOutputs, pass, fail, end_checks, listing.
source "$repo/tests/support/checks.sh"

builder_exe=$win_build/scenario_builder.exe
demo_exe=$win_build/tests/windows/errore_demo.exe
box_text_exe=$win_build/tests/windows/message_box_text.exe
linux_exe=$linux_build/scenario_builder
kill_lib=$linux_build/tests/fault/libkill_on_write.so
prefix=$win_build/wine-prefix
for f in "$builder_exe" "$demo_exe" "$box_text_exe" "$linux_exe" "$kill_lib"; do
  [ -x "$f" ] || { echo "run_e2e: missing $f (build it first)" >&2; exit 2; }
done

wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
stop_wine() {
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
}

work=$(mktemp -d)
root_drive=$prefix/dosdevices/r:
cleanup() {
  # Ends whatever is left of the programs started here: the prefix is this
  # build's own, so its wine server runs nothing else.
  stop_wine
  rm -f "$root_drive"
  rm -rf "$work"
}
trap cleanup EXIT

wine_run() { "$repo/tests/windows/wine_run.sh" "$prefix" "$@"; }

# Starts a Windows program from the work folder (not its own) in the
# background; its exit status lands in $work/<tag>.status.
start() {
  local tag=$1 exe=$2
  (
    cd "$work"
    set +e
    wine_run "$exe" >"$work/$tag.out" 2>&1
    echo $? >"$work/$tag.status"
  ) &
}

# Waits for the program started as <tag> to end and prints its exit status.
finish() {
  local tag=$1 waited=0
  while [ ! -e "$work/$tag.status" ] && [ $waited -lt $((kTimeout * 10)) ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  cat "$work/$tag.status" 2>/dev/null || echo timeout
}

# Prints the X window id of the first window named exactly $1, waiting for it.
wait_window() {
  local id waited=0
  while [ $waited -lt $((kTimeout * 10)) ]; do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1) || true
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  return 1
}

# Closes the program's message box with the Return key.
press_return() {
  local box
  box=$(wait_window "$kBox") || return 1
  xdotool key --window "$box" Return 2>/dev/null
}

echo "== preparing the wine prefix"
# A wine server left by the test run (it lingers a few seconds) would keep a
# desktop made without a display, and no window could open: start afresh.
stop_wine
wine_run cmd /c exit >/dev/null 2>&1 || true

echo "== 1. a build in an empty folder, compared with the Linux build"
linux_dir=$work/linux
mkdir "$linux_dir"
cp "$linux_exe" "$linux_dir/"
if (cd "$work" && "$linux_dir/scenario_builder"); then
  pass "Linux build"
else
  fail "Linux build ended with status $?"
fi

win_dir="$work/cartella di prova è Ω 東"
mkdir "$win_dir"
cp "$builder_exe" "$win_dir/"
start build "$win_dir/scenario_builder.exe"
# The build takes a fraction of a second: watch for the window while it runs.
seen=no
deadline=$((SECONDS + kTimeout))
while [ ! -e "$work/build.status" ] && [ $SECONDS -lt $deadline ]; do
  if xdotool search --name '^Form1$' >/dev/null 2>&1; then
    seen=yes
    break
  fi
done
status=$(finish build)
[ "$status" = 0 ] && pass "Windows build, status 0" || fail "Windows build, status $status"
echo "     window Form1 caught during the build: $seen (checked for certain in 3 and 4)"

# Checks that folder $1 holds exactly the executable and the six files, and
# that each has the bytes of the Linux build's.
compare_with_linux() {
  local dir=$1 f expected
  expected=$(printf './%s\n' "${kOutputs[@]}" scenario_builder.exe | LC_ALL=C sort)
  if [ "$(listing "$dir")" = "$expected" ]; then
    pass "the folder holds exactly the executable and the six files"
  else
    fail "the folder holds:"$'\n'"$(listing "$dir")"
  fi
  same_outputs "$linux_dir" "$dir"
}
compare_with_linux "$win_dir"

echo "== 2. a build in a drive's root folder"
mkdir "$work/root"
cp "$builder_exe" "$work/root/"
ln -sfn "$work/root" "$root_drive"
start root 'R:\scenario_builder.exe'
status=$(finish root)
[ "$status" = 0 ] && pass "Windows build in R:\, status 0" || fail "Windows build in R:\, status $status"
compare_with_linux "$work/root"
rm -f "$root_drive"

echo "== 3. a read-only file stops the build with the system's reason"
ro_dir=$work/sola_lettura
mkdir "$ro_dir"
cp "$builder_exe" "$ro_dir/"
echo "kept" >"$ro_dir/Alvena_Sorbio_linea.txt"
chmod a-w "$ro_dir/Alvena_Sorbio_linea.txt"
start readonly "$ro_dir/scenario_builder.exe"
if wait_window Form1 >/dev/null; then
  pass "window Form1 is up while the box is shown"
else
  fail "no window Form1"
fi
text=$(wine_run "$box_text_exe" "$kBox" "$kTimeout" || true)
case "$text" in
  "cannot replace "*'\Alvena_Sorbio_linea.txt:'*"button: OK")
    pass "box names the file and the reason: $(echo "$text" | head -n 2 | tr '\n' ' ')"
    ;;
  *) fail "box says: $text" ;;
esac
press_return || fail "no box to close"
status=$(finish readonly)
[ "$status" = 1 ] && pass "status 1 after Return" || fail "status $status after Return"
[ "$(cat "$ro_dir/Alvena_Sorbio_linea.txt")" = kept ] && pass "read-only file kept" ||
  fail "read-only file changed"
[ "$(listing "$ro_dir")" = $'./Alvena_Sorbio_linea.txt\n./scenario_builder.exe' ] &&
  pass "nothing else written" || fail "folder holds: $(listing "$ro_dir")"

echo "== 4. errore(\"1251\"): the fatal box, then the end"
demo_dir=$work/errore
mkdir "$demo_dir"
cp "$demo_exe" "$demo_dir/"
start demo "$demo_dir/errore_demo.exe"
if window=$(wait_window Form1); then
  pass "window Form1 is up while the box is shown"
else
  fail "no window Form1"
fi
text=$(wine_run "$box_text_exe" "$kBox" "$kTimeout" || true)
if [ "$text" = $' Errore n. 1251\nbutton: OK' ]; then
  pass "box says \" Errore n. 1251\" and has one OK button"
else
  fail "box says: $text"
fi
if [ -n "${window:-}" ]; then
  mkdir -p "$win_build/e2e"
  # No time stamps in the picture, so that an unchanged window gives the same file.
  import -window "$window" -strip -define png:exclude-chunks=date,time \
    "$win_build/e2e/window.png" && pass "screenshot $win_build/e2e/window.png"
  if [ $update_docs = 1 ]; then
    mkdir -p "$repo/docs"
    cp "$win_build/e2e/window.png" "$repo/docs/window.png"
  fi
fi
press_return || fail "no box to close"
status=$(finish demo)
[ "$status" = 1 ] && pass "status 1 after Return" || fail "status $status after Return"
[ "$(listing "$demo_dir")" = ./errore_demo.exe ] && pass "no file written" ||
  fail "folder holds: $(listing "$demo_dir")"

echo "== 5. killed during the line geometry write, then run again"
crash_dir=$work/interrotta
mkdir "$crash_dir"
cp "$builder_exe" "$crash_dir/"
for f in "${kOutputs[@]}"; do cp "$linux_dir/$f" "$crash_dir/"; done
# The killer, loaded into every process of the run, acts only on a write to
# the geometry file's temporary file: the .exe dies as it begins that write.
KILL_ON_WRITE_TO="$crash_dir/Alvena_Sorbio_linea.dat.*.tmp" LD_PRELOAD=$kill_lib \
  start crash "$crash_dir/scenario_builder.exe"
status=$(finish crash)
[ "$status" = 137 ] && pass "killed (status $status)" || fail "not killed: status $status"
left=$(cd "$crash_dir" && find . -type f -name 'Alvena_Sorbio_linea.dat.*.tmp')
[ -n "$left" ] && pass "killed during the geometry write: $left left" ||
  fail "no temporary geometry file: the kill came at another step"
intact=yes
for f in "${kOutputs[@]}"; do cmp -s "$linux_dir/$f" "$crash_dir/$f" || intact="no, $f differs"; done
[ "$intact" = yes ] && pass "every earlier file is whole" || fail "earlier files: $intact"
start healed "$crash_dir/scenario_builder.exe"
status=$(finish healed)
[ "$status" = 0 ] && pass "the next run, status 0" || fail "the next run, status $status"
compare_with_linux "$crash_dir"

echo "== 6. two builds started together in one folder"
double_dir=$work/doppia
mkdir "$double_dir"
cp "$builder_exe" "$double_dir/"
start first "$double_dir/scenario_builder.exe"
start second "$double_dir/scenario_builder.exe"
first=$(finish first)
second=$(finish second)
[ "$first $second" = "0 0" ] && pass "both end with status 0" ||
  fail "statuses $first and $second"
compare_with_linux "$double_dir"

end_checks "all end-to-end checks passed"
