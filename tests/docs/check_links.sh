#!/usr/bin/env bash
# Checks the relative links of Markdown pages: each must point at a file or
# folder that exists, and a link that names a heading (`page.md#heading`, or
# `#heading` in the same page) must name one that the page has, by the anchor
# GitHub gives it (lower case, punctuation dropped, spaces as hyphens, "-1" and
# so on after repeats). Links to other sites and links inside code are not
# checked.
#
#   tests/docs/check_links.sh PAGE_OR_FOLDER...
#
# A folder stands for the *.md files at its top. Prints one line per broken
# link, "page:line: target: reason", and exits with 1 when there is one.
set -euo pipefail

# "line<TAB>target" for every link of a page: inline links and pictures
# `[text](target "title")`, and definitions `[name]: target`. Fenced code
# blocks and code spans are left out, as they show text, not links.
# shellcheck disable=SC2016 # an awk program, not shell
readonly kLinks='
/^ *(```|~~~)/ { fenced = !fenced; next }
fenced { next }
{
  line = $0
  gsub(/`[^`]*`/, "code", line)
  if (match(line, /^ *\[[^]]+\]:[ \t]+[^ \t]+/)) {
    target = substr(line, RSTART, RLENGTH)
    sub(/^[^]]*\]:[ \t]+/, "", target)
    print NR "\t" target
  }
  while (match(line, /\]\([^)]*\)/)) {
    target = substr(line, RSTART + 2, RLENGTH - 3)
    line = substr(line, RSTART + RLENGTH)
    sub(/^[ \t]+/, "", target)
    sub(/[ \t].*$/, "", target)
    gsub(/^<|>$/, "", target)
    print NR "\t" target
  }
}'

# The anchor of every heading of a page, one a line.
# shellcheck disable=SC2016 # an awk program, not shell
readonly kAnchors='
/^ *(```|~~~)/ { fenced = !fenced; next }
fenced { next }
/^ *#+[ \t]/ {
  text = $0
  sub(/^ *#+[ \t]+/, "", text)
  sub(/[ \t]+#*[ \t]*$/, "", text)
  anchor = tolower(text)
  gsub(/[]!"#$%&\047()*+,.\/:;<=>?@[\\^`{|}~]/, "", anchor)
  gsub(/ /, "-", anchor)
  if (seen[anchor]++) anchor = anchor "-" (seen[anchor] - 1)
  print anchor
}'

pages=()
for arg in "$@"; do
  if [ -d "$arg" ]; then
    for page in "$arg"/*.md; do [ -e "$page" ] && pages+=("$page"); done
  else
    pages+=("$arg")
  fi
done

broken=0
report() {
  echo "$1:$2: $3: $4"
  broken=1
}

for page in "${pages[@]}"; do
  [ -f "$page" ] || { report "$page" 0 "$page" "no such page"; continue; }
  dir=$(dirname "$page")
  while IFS=$'\t' read -r line target; do
    case $target in
      "" | [a-zA-Z]*:*) continue ;;  # another site (https:, mailto:), or nothing
    esac
    path=${target%%#*}
    anchor=
    [ "$path" = "$target" ] || anchor=${target#*#}
    file=$page
    if [ -n "$path" ]; then
      file=$dir/$path
      [ -e "$file" ] || { report "$page" "$line" "$target" "no such file"; continue; }
    fi
    [ -n "$anchor" ] || continue
    case $file in
      *.md) ;;
      *) continue ;;  # only a Markdown page's headings are known here
    esac
    awk "$kAnchors" "$file" | grep -qxF -- "$anchor" ||
      report "$page" "$line" "$target" "no such heading"
  done < <(awk "$kLinks" "$page")
done
exit "$broken"
