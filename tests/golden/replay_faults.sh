#!/bin/bash
# A replay that cannot be followed to its end (cut short, damaged, asking for
# more than was recorded, taking another path, of another version) must end
# the game cleanly: status 1, exactly one line about the replay on the error
# stream, and for a game that had started, the way out that closing the
# window takes (high scores and frame-rate report written).
# Usage: replay_faults.sh <run folder> <source SCRIPT folder> <a kept session.rec>
set -euo pipefail
RUN_DIR=$(cd "$1" && pwd) SCRIPTS=$(cd "$2" && pwd) RECORDING=$3
WORK=$(mktemp -d /tmp/abyssor-faults-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
lines=$(wc -l <"$RECORDING")
failed=0
fail() { echo "FAIL ($1): $2" >&2; tail -5 "$WORK/game/err.txt" >&2; failed=1; }

# replay <name> <damaged recording> <expected line pattern> <started: yes|no>
replay() {
    local name=$1 file=$2 pattern=$3 started=$4 status=0 game="$WORK/game"
    rm -rf "$game"
    cp -r "$RUN_DIR" "$game"
    cp "$SCRIPTS/topten.scr" "$game/SCRIPT/topten.scr"
    rm -f "$game/fps.txt"
    (cd "$game" && timeout 120 env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ABYSSOR_REPLAY="$file" \
         ./abyssor >out.txt 2>err.txt) || status=$?
    [ "$status" -eq 1 ] || fail "$name" "status $status, not 1"
    [ "$(grep -c '^ABYSSOR: ' "$game/err.txt")" -eq 1 ] || fail "$name" "not one line about the replay"
    grep -Eq "^ABYSSOR: replay $file $pattern at line [0-9]+ \(frame [0-9]+\)\$" "$game/err.txt" ||
        fail "$name" "no line saying the replay $pattern"
    ! grep -q 'Sanitizer\|runtime error' "$game/err.txt" || fail "$name" "the sanitizers found a fault"
    if [ "$started" = yes ]; then
        [ -f "$game/fps.txt" ] && [ -s "$game/SCRIPT/topten.scr" ] && grep -q UVOLNEN "$game/out.txt" ||
            fail "$name" "the game did not leave the usual way (report, high scores, releases)"
    else
        [ ! -s "$game/out.txt" ] || fail "$name" "the game started"
    fi
    echo "$name: $(grep '^ABYSSOR: ' "$game/err.txt")"
}

# Cut in the middle of a line halfway through the game.
head -c $(($(wc -c <"$RECORDING") / 2)) "$RECORDING" >"$WORK/truncated.rec"
replay truncated "$WORK/truncated.rec" "is truncated" yes
# A frame's clock reading damaged.
awk -v at=$((lines / 2)) 'NR >= at && !done && /^t / { print "t 2x5"; done = 1; next } { print }' \
    "$RECORDING" >"$WORK/corrupt.rec"
replay corrupt "$WORK/corrupt.rec" "is corrupt" yes
# The last hundred records gone, the end mark kept.
{ head -n $((lines - 101)) "$RECORDING"; echo end; } >"$WORK/short.rec"
replay ran_out "$WORK/short.rec" "ran out: the game asks for .*" yes
# One frame fewer in the middle: the game is a step ahead from there.
awk -v at=$((lines / 3)) 'NR >= at && !done && /^f$/ { done = 1; next } { print }' "$RECORDING" >"$WORK/step.rec"
replay out_of_step "$WORK/step.rec" "is out of step: .*" yes
# Another version of the file is not started at all.
sed '1s/.*/ABYSSOR replay 99/' "$RECORDING" >"$WORK/version.rec"
replay version "$WORK/version.rec" "is of version 99, and this game replays version 1" no
[ "$failed" -eq 0 ]
