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

# Each seed is the loader's number followed by one script of that loader's
# corpus (fuzz/corpus/<number>-<name>/: the game's own scripts and what
# campaigns added).
for folder in "$here"/corpus/*/; do
    folder=${folder%/}
    name=${folder##*/}
    number=${name%%-*}
    printf "\\$(printf '%03o' "$number")" >"$work/prefix"
    for script in "$folder"/*; do
        [ -f "$script" ] || continue
        cat "$work/prefix" "$script" >"$work/seeds/$name-${script##*/}"
    done
done

cd "$work"
# Smaller quarantine, no filling of fresh blocks: whole pictures are loaded
# and freed every run, and faulting fresh pages in dominated the time.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=8:max_malloc_fill_size=0}"
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
