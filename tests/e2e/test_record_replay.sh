#!/bin/bash
# A player records a game in the real window (ABYSSOR_RECORD): through the
# menu into the first level, aiming and firing, sailing, Escape,
# and out through the menu. A developer replays the file headless on the
# dummy video driver (ABYSSOR_REPLAY) from the same run folder: the replay
# ends with status 0 and leaves the same log (addresses aside), the same
# high-score table and the same frame-rate report, timings included.
source "$(dirname "$0")/lib.sh" "$1" "$2"

REPLAY_DIR=$(mktemp -d /tmp/abyssor-replay-XXXXXX)
trap 'rm -rf "$REPLAY_DIR"; e2e_cleanup' EXIT
cp -r "$RUN_DIR"/. "$REPLAY_DIR"/
rm -f "$WORK/fps.txt" "$REPLAY_DIR/fps.txt"
export ABYSSOR_RECORD="$WORK/game.rec"

start_display
start_game
start_new_game
for spot in "250 300" "400 320" "330 200" "300 360"; do
    move_mouse $spot
    click 1
    sleep 0.3
done
hold_key Right 0.6
hold_key Escape
sleep 1.5
tap_key space           # past the game-over screen (a score this low enters no table)
sleep 1.5
hold_key Up             # the highlight wraps round to the last item
hold_key Return
wait_exit 60
collect_exit_status
[ "$GAME_STATUS" = 0 ] || fail "the recorded game ended with status $GAME_STATUS"
unset ABYSSOR_RECORD
[ "$(head -1 "$WORK/game.rec")" = "ABYSSOR replay 1" ] || fail "the recording has no header"
[ "$(tail -1 "$WORK/game.rec")" = "end" ] || fail "the recording has no end mark"
grep -q '^f$' "$WORK/game.rec" || fail "no frame of play was recorded"
grep -q '^w 1 5 1 ' "$WORK/game.rec" || grep -q '^p 5 1 ' "$WORK/game.rec" || fail "no click was recorded"

status=0
(cd "$REPLAY_DIR" && env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ABYSSOR_REPLAY="$WORK/game.rec" \
     timeout 60 ./abyssor >stdout.txt 2>stderr.txt) || status=$?
[ "$status" = 0 ] || { cat "$REPLAY_DIR/stderr.txt" >&2; fail "the replay ended with status $status"; }
mask() { sed -E 's/0x[0-9a-fA-F]+/0x#/g' "$1"; }
for log in stdout.txt stderr.txt; do
    diff <(mask "$WORK/$log") <(mask "$REPLAY_DIR/$log") >"$SHOT_DIR/$log.diff" \
        || fail "the replay's $log differs: $(head -5 "$SHOT_DIR/$log.diff")"
done
cmp -s "$WORK/SCRIPT/topten.scr" "$REPLAY_DIR/SCRIPT/topten.scr" || fail "the replay wrote another high-score table"
cmp -s "$WORK/fps.txt" "$REPLAY_DIR/fps.txt" || fail "the replay wrote another frame-rate report: $(cat "$REPLAY_DIR/fps.txt")"
grep -Eq '^FRAMES : [1-9]' "$REPLAY_DIR/fps.txt" || fail "the replayed level had no frames"
echo "recorded $(grep -c '^f$' "$WORK/game.rec") frames in $(wc -c <"$WORK/game.rec") bytes; the replay matches"
