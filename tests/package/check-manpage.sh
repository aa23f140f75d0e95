#!/usr/bin/env bash
# The manual page renders without a single complaint from groff or man.
#   check-manpage.sh MANPAGE
set -euo pipefail
page=$1

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings"; echo "FAILED: the manual page has faults"; exit 1; }

echo "manual page renders cleanly"
