#!/usr/bin/env bash
# The manual page renders without a single complaint from groff or man, and
# documents every option that `tallyquill --help` lists.
#   check-manpage.sh MANPAGE PROGRAM
set -euo pipefail
page=$1 program=$2

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings"; echo "FAILED: the manual page has faults"; exit 1; }

help=$(QT_QPA_PLATFORM=offscreen timeout 20 "$program" --help) || { echo "FAILED: $program --help"; exit 1; }
options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u)
[ -n "$options" ] || { echo "FAILED: tallyquill --help lists no option"; exit 1; }
# Options are spelled with escaped hyphens (\-\-min\-length) in the source.
plain=$(sed 's/\\-/-/g' "$page")
missing=()
for option in $options; do
    grep -qF -- "$option" <<<"$plain" || missing+=("$option")
done
[ ${#missing[@]} -eq 0 ] || { echo "FAILED: the manual page does not describe ${missing[*]}"; exit 1; }
echo "manual page renders cleanly and describes: $(echo $options)"
