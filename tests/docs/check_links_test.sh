#!/usr/bin/env bash
# The link check itself: on pages with good links and broken ones of every
# kind it knows, it names exactly the broken ones and fails.
set -uo pipefail
cd "$(dirname "$0")" || exit 2
said=$(bash check_links.sh links)
status=$?
[ "$status" = 1 ] || { echo "check_links.sh ended with status $status, not 1" >&2; exit 1; }
diff <(printf '%s\n' "$said") links/expected.txt
