#!/usr/bin/env bash
# Checks a release package as its user gets it:
#
#   1. it holds exactly the two programs, the README and docs/, the README and
#      docs/ byte for byte as in the source tree;
#   2. unpacked into an empty folder and started from another folder (under
#      wine for the Windows ZIP), the builder writes the same six files, byte
#      for byte, as the Linux build does in its own folder, and nothing else;
#   3. the authoring tool prints the project's version;
#   4. for the Windows ZIP, both programs carry the version resource.
#
#   tests/package/check_package.sh [BUILD [LINUX_BUILD]]
#
# BUILD (default build/default) holds the package, made with
# `cmake --build BUILD --target package`; LINUX_BUILD (default build/default)
# holds the Linux builder whose files are the reference.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$repo/build/default}")
linux_build=$(realpath "${2:-$repo/build/default}")

# kOutputs, pass, fail, end_checks, listing.
source "$repo/tests/support/checks.sh"

# What CPack was told, read from its configuration in the build folder.
cpack_setting() {
  sed -n "s/^set($1 \"\\(.*\\)\")\$/\\1/p" "$build/CPackConfig.cmake"
}
[ -f "$build/CPackConfig.cmake" ] || { echo "check_package: $build is not configured" >&2; exit 2; }
name=$(cpack_setting CPACK_PACKAGE_FILE_NAME)
version=$(cpack_setting CPACK_PACKAGE_VERSION)
case $(cpack_setting CPACK_GENERATOR) in
  ZIP) package=$build/$name.zip exe=.exe top= ;;
  TGZ) package=$build/$name.tar.gz exe= top=$name/ ;;
  *) echo "check_package: unexpected package kind in $build" >&2; exit 2 ;;
esac
linux_exe=$linux_build/scenario_builder
for f in "$package" "$linux_exe"; do
  [ -f "$f" ] || { echo "check_package: missing $f (build it first)" >&2; exit 2; }
done

prefix=$build/wine-prefix
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
work=$(mktemp -d)
cleanup() {
  if [ -n "$exe" ]; then WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Runs a program of the package, under wine for the Windows one.
run() {
  if [ -n "$exe" ]; then
    "$repo/tests/windows/wine_run.sh" "$prefix" "$@"
  else
    "$@"
  fi
}

echo "== $(basename "$package")"
unpacked="$work/scaricati qui"
mkdir "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$package")
folder=$unpacked/${top%/}

echo "== 1. contents"
docs=$(cd "$repo" && find docs -type f -printf './%p\n')
contents=$(printf '%s\n' ./README.md "$docs" "./scenario_builder$exe" "./scenario_tool$exe" |
  LC_ALL=C sort)
if [ "$(listing "$unpacked")" = "$(sed "s|^\./|./$top|" <<<"$contents")" ]; then
  pass "holds exactly: $(tr '\n' ' ' <<<"$contents")"
else
  fail "holds:"$'\n'"$(listing "$unpacked")"
fi
for f in README.md $(cd "$repo" && find docs -type f); do
  cmp -s "$repo/$f" "$folder/$f" && pass "same bytes as the source tree: $f" ||
    fail "differs from the source tree: $f"
done

echo "== 2. the builder, started from another folder"
reference=$work/linux
mkdir "$reference"
cp "$linux_exe" "$reference/"
(cd "$work" && "$reference/scenario_builder") || fail "the Linux build ended with status $?"
status=0
(cd "$work" && run "$folder/scenario_builder$exe") || status=$?
[ "$status" = 0 ] && pass "status 0" || fail "status $status"
expected=$( (printf '%s\n' "$contents" && printf './%s\n' "${kOutputs[@]}") | LC_ALL=C sort)
[ "$(listing "$folder")" = "$expected" ] && pass "the folder holds the package and the six files" ||
  fail "the folder holds:"$'\n'"$(listing "$folder")"
same_outputs "$reference" "$folder"

echo "== 3. the tool's version"
said=$(cd "$work" && run "$folder/scenario_tool$exe" --version || true)
[ "$said" = "scenario_tool $version" ] && pass "scenario_tool --version: $said" ||
  fail "scenario_tool --version says: $said"

if [ -n "$exe" ]; then
  echo "== 4. version resources"
  checker=$build/tests/windows/version_check.exe
  # The texts each program's resource was made from.
  rc_value() { sed -n "s/^ *VALUE \"$2\", \"\\(.*\\)\"\$/\\1/p" "$build/version/$1.rc"; }
  if [ ! -f "$checker" ]; then
    fail "no $checker (the Windows build's tests make it)"
  else
    for program in scenario_builder scenario_tool; do
      if out=$(run "$checker" "$folder/$program.exe" "$version" "$(rc_value $program ProductName)" \
        "$(rc_value $program FileDescription)"); then
        pass "$program.exe: $(tr '\n' ' ' <<<"$out")"
      else
        fail "$program.exe:"$'\n'"$out"
      fi
    done
  fi
fi

end_checks "the package is whole"
