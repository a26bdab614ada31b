#!/bin/bash
# Records the kept games (folders beside this script whose "autoplayer.args"
# holds the autoplayer's options that play them) again and rewrites the files
# their replays are compared with, after a change of gameplay that is meant.
# Usage: tests/golden/record_golden.sh <build folder> [game name...]
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "$1" && pwd)
shift
[ $# -gt 0 ] || set -- $(cd "$HERE" && dirname */autoplayer.args)
for game in "$@"; do
    folder="$HERE/$game"
    read -r -a options <"$folder/autoplayer.args"
    work=$(mktemp -d /tmp/abyssor-record-XXXXXX)
    cp -r "$BUILD/run"/. "$work"/
    cp "$HERE/../../SCRIPT/topten.scr" "$work/SCRIPT/topten.scr"
    "$BUILD/abyssor_autoplayer" "$work" --record "$folder/session.rec" "${options[@]}" >"$work/autoplayer.log" 2>&1 \
        || echo "note: the autoplayer did not reach its goal in $game" >&2
    grep '^autoplayer:' "$work/autoplayer.log" || true
    rm -rf "$work"
    bash "$HERE/replay_golden.sh" "$BUILD/run" "$HERE/../../SCRIPT" "$folder" --update
done
