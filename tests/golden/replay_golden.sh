#!/bin/bash
# Replays a kept game in the game itself, headless, from a fresh copy of the
# run folder with the data set's own high-score table, and compares what it
# leaves with the files kept beside the recording: the log (standard output
# and error), "SCRIPT/topten.scr", "fps.txt" and the screen checksums taken
# every 50 frames. Addresses printed in release lines differ from run to run
# and are masked.
#
# Usage: replay_golden.sh <run folder> <source SCRIPT folder> <golden folder> [--update]
# With --update the kept files are rewritten from this replay instead.
set -euo pipefail

RUN_DIR=$(cd "$1" && pwd)
SCRIPTS=$(cd "$2" && pwd)
GOLDEN=$(cd "$3" && pwd)
UPDATE=${4:-}
WORK=$(mktemp -d /tmp/abyssor-golden-XXXXXX)
trap 'rm -rf "$WORK"' EXIT

cp -r "$RUN_DIR"/. "$WORK"/
cp "$SCRIPTS/topten.scr" "$WORK/SCRIPT/topten.scr"
rm -f "$WORK/fps.txt"

status=0
(cd "$WORK" && env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ABYSSOR_REPLAY="$GOLDEN/session.rec" \
     ABYSSOR_SCREEN_SUMS="$WORK/screen_sums.txt" ./abyssor >stdout.raw 2>stderr.raw) || status=$?

mask() { sed -E 's/0x[0-9a-fA-F]+/0x#/g' "$1"; }
mask "$WORK/stdout.raw" >"$WORK/stdout.txt"
mask "$WORK/stderr.raw" >"$WORK/stderr.txt"
cp "$WORK/SCRIPT/topten.scr" "$WORK/topten.scr"
KEPT="stdout.txt stderr.txt topten.scr fps.txt screen_sums.txt"

if [ "$UPDATE" = "--update" ]; then
    [ "$status" -eq 0 ] || { echo "the replay failed (status $status):" >&2; cat "$WORK/stderr.txt" >&2; exit 1; }
    for file in $KEPT; do cp "$WORK/$file" "$GOLDEN/$file"; done
    echo "kept files of $(basename "$GOLDEN") rewritten"
    exit 0
fi

failed=0
if [ "$status" -ne 0 ]; then
    echo "FAIL: the replay ended with status $status" >&2
    failed=1
fi
for file in $KEPT; do
    if [ ! -f "$WORK/$file" ]; then
        echo "FAIL: the replay wrote no $file" >&2
        failed=1
    elif ! cmp -s "$GOLDEN/$file" "$WORK/$file"; then
        echo "FAIL: $file differs from the kept one:" >&2
        diff "$GOLDEN/$file" "$WORK/$file" | head -20 >&2 || true
        failed=1
    fi
done
[ "$failed" -eq 0 ] || exit 1
echo "$(basename "$GOLDEN"): log, high scores, frame-rate report and $(wc -l <"$WORK/screen_sums.txt") screen checksums as kept"
