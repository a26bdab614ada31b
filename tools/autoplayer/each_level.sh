#!/bin/bash
# The winnability report of the data set: the autoplayer plays every level in
# a game of its own, from a fresh copy of the run folder, and must win them
# all. Prints its report line per level.
#
# Usage: each_level.sh <autoplayer> <run folder> <source SCRIPT folder>
set -euo pipefail
AUTOPLAYER=$1
RUN_DIR=$(cd "$2" && pwd)
SCRIPTS=$(cd "$3" && pwd)
WORK=$(mktemp -d /tmp/abyssor-autoplay-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cp -r "$RUN_DIR"/. "$WORK"/
cp "$SCRIPTS/topten.scr" "$WORK/SCRIPT/topten.scr"
status=0
"$AUTOPLAYER" "$WORK" --each-level >"$WORK/autoplayer.log" 2>&1 || status=$?
report=$(grep '^autoplayer:' "$WORK/autoplayer.log" || true)
echo "$report"
levels=$(grep -c . "$SCRIPTS/levels.scr")
won=$(grep -c ': won,' <<<"$report" || true)
if [ "$status" -ne 0 ] || [ "$won" -ne "$levels" ]; then
    echo "FAIL: the autoplayer won $won of $levels levels (status $status)" >&2
    tail -5 "$WORK/autoplayer.log" >&2
    exit 1
fi
