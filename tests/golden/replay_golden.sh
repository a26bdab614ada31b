#!/bin/bash
# Replays a kept game headless from a fresh copy of the run folder with the
# data set's own high-score table, and compares what it leaves with the files
# kept beside the recording: the log (addresses masked, they differ from run
# to run), "SCRIPT/topten.scr", "fps.txt" and screen checksums every 50 frames.
# Usage: replay_golden.sh <run folder> <source SCRIPT folder> <golden folder> [--update]
# With --update the kept files are rewritten from this replay instead.
set -euo pipefail
GOLDEN=$(cd "$3" && pwd)
WORK=$(mktemp -d /tmp/abyssor-golden-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cp -r "$1"/. "$WORK"/
cp "$2/topten.scr" "$WORK/SCRIPT/topten.scr"
rm -f "$WORK/fps.txt"
status=0
(cd "$WORK" && env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ABYSSOR_REPLAY="$GOLDEN/session.rec" \
     ABYSSOR_SCREEN_SUMS="$WORK/screen_sums.txt" ./abyssor >stdout.raw 2>stderr.raw) || status=$?
for log in stdout stderr; do sed -E 's/0x[0-9a-fA-F]+/0x#/g' "$WORK/$log.raw" >"$WORK/$log.txt"; done
cp "$WORK/SCRIPT/topten.scr" "$WORK/topten.scr"
KEPT="stdout.txt stderr.txt topten.scr fps.txt screen_sums.txt"
[ "$status" -eq 0 ] || { echo "FAIL: the replay ended with status $status" >&2; cat "$WORK/stderr.txt" >&2; exit 1; }
if [ "${4:-}" = "--update" ]; then
    for file in $KEPT; do cp "$WORK/$file" "$GOLDEN/$file"; done
    echo "kept files of $(basename "$GOLDEN") rewritten"
    exit 0
fi
failed=0
for file in $KEPT; do
    if ! cmp -s "$GOLDEN/$file" "$WORK/$file"; then
        echo "FAIL: $file differs from the kept one:" >&2
        diff "$GOLDEN/$file" "$WORK/$file" 2>&1 | head -20 >&2 || true
        failed=1
    fi
done
[ "$failed" -eq 0 ] || exit 1
echo "$(basename "$GOLDEN"): log, high scores, frame-rate report and $(wc -l <"$WORK/screen_sums.txt") screen checksums as kept"
