# Shared by the shell checks of whole programs (tests/windows/run_e2e.sh,
# tests/package/check_package.sh); sourced, not run.

# kOutputs: the six files a good run leaves in the program's folder.
source "$(dirname "${BASH_SOURCE[0]}")/output_names.sh"

# One line per check; end_checks ends the script with status 1 when any failed.
failures=0
pass() { echo "ok   $*"; }
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}
end_checks() {
  if [ $failures -gt 0 ]; then
    echo "== $failures check(s) failed"
    exit 1
  fi
  echo "== $1"
}

# Each of the six files in folder $2 has the bytes of the one in folder $1,
# the Linux build's.
same_outputs() {
  local f
  for f in "${kOutputs[@]}"; do
    if cmp -s "$1/$f" "$2/$f"; then
      pass "same bytes as the Linux build: $f ($(stat -c %s "$2/$f") bytes)"
    else
      fail "differs from the Linux build: $f"
    fi
  done
}

# The files below folder $1, one "./path" a line, sorted.
listing() { (cd "$1" && find . -type f | LC_ALL=C sort); }
