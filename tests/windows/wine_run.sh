#!/usr/bin/env bash
# Runs a Windows program under wine with a wine prefix of its own.
#
#   wine_run.sh PREFIX PROGRAM.exe [ARGS...]
#
# The prefix is created on first use, under a lock, so that tests started in
# parallel do not all try to create it. Wine's own messages are silenced and
# the .NET and browser engine installers it would offer are turned off (they
# would wait for a click that never comes). Carriage returns are dropped from
# standard output, so that tools reading a test listing see plain lines.
# Without a UTF-8 locale it runs wine in C.UTF-8.
set -euo pipefail

prefix=$1
shift

if command -v wine >/dev/null; then
  wine=wine
elif [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
else
  echo "wine_run.sh: wine is not installed" >&2
  exit 127
fi
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

export WINEPREFIX=$prefix
# Wine spells Windows file names in the locale's character set: in the C
# locale a name with letters outside ASCII cannot be made at all, and the
# tests use such names. A fresh machine or container may set no locale.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
  *UTF-8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

if [ ! -e "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -e "$prefix/system.reg" ]; then
      "$wine" wineboot --init >/dev/null 2>&1 || true
      "$wineserver" -w || true
    fi
  ) 9>"$prefix.lock"
fi

# The server, and wine's own services that the first program starts, must
# not inherit our standard output: they outlive the program, and whoever
# reads its output (CTest) would wait for them. So start them here with no
# output, and keep the server a few seconds after the last program, since
# programs come one after another in a test run.
if "$wineserver" -p10 </dev/null >/dev/null 2>&1; then
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
fi

"$wine" "$@" | tr -d '\r'
