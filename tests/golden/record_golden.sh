#!/bin/bash
# Records the kept games again with the autoplayer and rewrites the files
# their replays are compared with. Run it after a change of gameplay that is
# meant, and look at the differences before committing them.
#
# Usage: tests/golden/record_golden.sh <build folder> [game name...]
# Each game is a folder beside this script holding "autoplayer.args", the
# autoplayer's options that play it.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
SOURCE=$(cd "$HERE/../.." && pwd)
BUILD=$(cd "$1" && pwd)
shift
GAMES=("$@")
if [ ${#GAMES[@]} -eq 0 ]; then
    for args in "$HERE"/*/autoplayer.args; do GAMES+=("$(basename "$(dirname "$args")")"); done
fi

for game in "${GAMES[@]}"; do
    folder="$HERE/$game"
    [ -f "$folder/autoplayer.args" ] || { echo "no $folder/autoplayer.args" >&2; exit 1; }
    work=$(mktemp -d /tmp/abyssor-record-XXXXXX)
    cp -r "$BUILD/run"/. "$work"/
    cp "$SOURCE/SCRIPT/topten.scr" "$work/SCRIPT/topten.scr"
    read -r -a options <"$folder/autoplayer.args"
    "$BUILD/abyssor_autoplayer" "$work" --record "$folder/session.rec" "${options[@]}" >"$work/autoplayer.log" 2>&1 \
        || echo "note: the autoplayer did not reach its goal in $game" >&2
    grep '^autoplayer:' "$work/autoplayer.log" || true
    rm -rf "$work"
    bash "$HERE/replay_golden.sh" "$BUILD/run" "$SOURCE/SCRIPT" "$folder" --update
done
