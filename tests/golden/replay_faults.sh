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
fail() { echo "FAIL ($name): $1" >&2; tail -5 "$game/err.txt" >&2; failed=1; }

# Damaged copies: cut in the middle of a line halfway through; a motion
# damaged halfway through; the last fifty items gone, the end mark (which
# says where the game ended) kept; the last wait's answer moved on to the
# wait after it, so that the game waits where the recording has nothing;
# another version, which is not started at all.
head -c $(($(wc -c <"$RECORDING") / 2)) "$RECORDING" >"$WORK/truncated.rec"
awk -v at=$((lines / 2)) 'NR >= at && !done && / mv / { sub(/ mv .*/, " mv 2x5"); done = 1 } { print }' "$RECORDING" >"$WORK/corrupt.rec"
{ head -n $((lines - 51)) "$RECORDING"; tail -n 1 "$RECORDING"; } >"$WORK/ran_out.rec"
last_wait=$(grep -n '^\(f[0-9]* \)\?w[0-9]' "$RECORDING" | tail -n 1 | cut -d: -f1)
awk -v at="$last_wait" 'NR == at { match($0, /w[0-9]+/); $0 = substr($0, 1, RSTART) (substr($0, RSTART + 1, RLENGTH - 1) + 1) substr($0, RSTART + RLENGTH) } { print }' \
    "$RECORDING" >"$WORK/out_of_step.rec"
sed '1s/.*/ABYSSOR replay 99/' "$RECORDING" >"$WORK/version.rec"
game="$WORK/game"
while IFS='|' read -r name started pattern; do
    file="$WORK/$name.rec" status=0
    rm -rf "$game"
    cp -r "$RUN_DIR" "$game"
    cp "$SCRIPTS/topten.scr" "$game/SCRIPT/topten.scr"
    rm -f "$game/fps.txt"
    (cd "$game" && timeout 120 env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ABYSSOR_REPLAY="$file" \
         ./abyssor >out.txt 2>err.txt </dev/null) || status=$?
    [ "$status" -eq 1 ] || fail "status $status, not 1"
    [ "$(grep -c '^ABYSSOR: ' "$game/err.txt")" -eq 1 ] || fail "not one line about the replay"
    grep -Eq "^ABYSSOR: replay $file $pattern at line [0-9]+ \(frame [0-9]+\)\$" "$game/err.txt" || fail "no line saying the replay $pattern"
    ! grep -q 'Sanitizer\|runtime error' "$game/err.txt" || fail "the sanitizers found a fault"
    if [ "$started" = yes ]; then
        [ -f "$game/fps.txt" ] && [ -s "$game/SCRIPT/topten.scr" ] && grep -q UVOLNEN "$game/out.txt" ||
            fail "the game did not leave the usual way (report, high scores, releases)"
    else
        [ ! -s "$game/out.txt" ] || fail "the game started"
    fi
    echo "$name: $(grep '^ABYSSOR: ' "$game/err.txt")"
done <<'EOF2'
truncated|yes|is truncated
corrupt|yes|is corrupt
ran_out|yes|ran out: the game (plays on past|waits for the player after) the recording's end
out_of_step|yes|is out of step: the game waits for the player at frame [0-9]+, wait [0-9]+; the recording holds input at frame [0-9]+, wait [0-9]+
version|no|is of version 99, and this game replays version 2
EOF2
[ "$failed" -eq 0 ]
