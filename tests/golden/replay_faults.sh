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

# Damaged copies: cut in the middle of a line halfway through; a frame's
# clock reading damaged; the last hundred records gone, the end mark kept;
# one frame fewer in the middle, so that the game is a step ahead from there;
# another version, which is not started at all.
head -c $(($(wc -c <"$RECORDING") / 2)) "$RECORDING" >"$WORK/truncated.rec"
awk -v at=$((lines / 2)) 'NR >= at && !done && /^t / { print "t 2x5"; done = 1; next } { print }' "$RECORDING" >"$WORK/corrupt.rec"
{ head -n $((lines - 101)) "$RECORDING"; echo end; } >"$WORK/ran_out.rec"
awk -v at=$((lines / 3)) 'NR >= at && !done && /^f$/ { done = 1; next } { print }' "$RECORDING" >"$WORK/out_of_step.rec"
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
ran_out|yes|ran out: the game asks for the clock after the recording's end
out_of_step|yes|is out of step: .*
version|no|is of version 99, and this game replays version 1
EOF2
[ "$failed" -eq 0 ]
