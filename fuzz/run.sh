#!/bin/sh
# A short, bounded fuzz run of the script loaders, seeded with the game's own
# scripts. Usage: fuzz/run.sh <fuzz build folder> <seconds>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-60}
work=$(mktemp -d /tmp/abyssor-fuzz-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/seeds"

# Each seed is the loader's number followed by one of our scripts.
seed() {
    [ -f "$2" ] || return 0
    printf "\\$(printf '%03o' "$1")" >"$work/seeds/$1-$(basename "$(dirname "$2")")-$(basename "$2")"
    cat "$2" >>"$work/seeds/$1-$(basename "$(dirname "$2")")-$(basename "$2")"
}
scripts="$here/../SCRIPT"
seed 0 "$scripts/misc.scr"
seed 1 "$scripts/levels.scr"
seed 9 "$scripts/menu.scr"
seed 10 "$scripts/topten.scr"
seed 11 "$scripts/in.scr"
for level in "$scripts"/*/; do
    seed 2 "$level/images.scr"
    seed 3 "$level/weapons.scr"
    seed 4 "$level/delo.scr"
    seed 5 "$level/potvory.scr"
    seed 6 "$level/panel.scr"
    seed 7 "$level/plane.scr"
    seed 8 "$level/bonusy.scr"
done

cd "$work"
echo "Fuzzing the script loaders for $seconds s"
if ! "$build/fuzz/fuzz_scripts" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=4096 \
    -close_fd_mask=3 -dict="$here/scripts.dict" -artifact_prefix="$work/" "$work/seeds" </dev/null >"$work/log" 2>&1; then
    tail -60 "$work/log"
    echo "fuzzing found a fault; the input is kept:"
    for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
        [ -f "$f" ] && cp "$f" "$build/" && echo "$build/$(basename "$f")"
    done
    exit 1
fi
grep -E '^Done [0-9]+ runs' "$work/log" || true
