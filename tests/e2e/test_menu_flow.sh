#!/bin/bash
# A player starts the game and records it (ABYSSOR_RECORD): a 640 x 480
# window, the intro's slides in turn, each sliding in whole, the menu moved
# with the arrow keys, the help, a level with a few shots, Escape, and out
# through the last item. The frame-rate report is written; the recording
# replayed headless leaves the same log, high scores and report. (The menu's
# wrapping round, the loading screen and the crosshair are the unit tests'.)
source "$(dirname "$0")/lib.sh" "$1" "$2"

MENU="$WORK/SCRIPT/menu.scr"
LEVEL=$(level_dir 1)
sed -i -E 's/^krok2 +[0-9]+/krok2 40/' "$WORK/SCRIPT/in.scr"   # the credits rise 40 pixels a frame
REPLAY_DIR=$(mktemp -d /tmp/abyssor-replay-XXXXXX)
trap 'rm -rf "$REPLAY_DIR"; e2e_cleanup' EXIT
cp -r "$WORK"/. "$REPLAY_DIR"/
export ABYSSOR_RECORD="$WORK/game.rec"

slides=$(awk '$1 == "intro" { print $2 }' "$WORK/SCRIPT/in.scr")
count=0
for picture in $slides; do count=$((count + 1)); reference "slide$count" "$picture"; done
for picture in main1 help; do reference "$picture" "$(script_value "$MENU" "$picture")"; done

# Row 240 of a screenshot against the slides' own and the menu's (the last
# slide goes into the menu): "slide p" when slide p stands whole, else the
# share (per cent) that two pictures side by side as a slide leaves them
# explain at best: to the left, the old one's columns from d on, then the
# new one's first; to the right, the new one's last d columns, then the old
# one's first.
row_of() { convert "$1" -crop 640x1+0+240 +repage -depth 8 txt:- | awk 'NR > 1 { match($0, /\(([0-9.]+),([0-9.]+),([0-9.]+)/)
    split(substr($0, RSTART + 1, RLENGTH - 1), c, ","); print int(c[1] / 8) "," int(c[2] / 4) "," int(c[3] / 8) }'; }
for i in $(seq "$count"); do row_of "$SHOT_DIR/ref-slide$i.png" >"$SHOT_DIR/row-$i.txt"; done
row_of "$SHOT_DIR/ref-main1.png" >"$SHOT_DIR/row-$((count + 1)).txt"
intro_look() {
    row_of "$SHOT_DIR/$1.png" | awk -v n="$count" -v dir="$SHOT_DIR" '
        BEGIN { for (p = 1; p <= n + 1; p++) { x = 0; while ((getline l < (dir "/row-" p ".txt")) > 0) row[p, x++] = l } }
        { shot[NR - 1] = $0 }
        END { for (p = 1; p <= n; p++) for (d = 0; d < 640; d += 8) {
                  left = 0; right = 0
                  for (x = 0; x < 640; x++) {
                      left += shot[x] == (x < 640 - d ? row[p, x + d] : row[p + 1, x - 640 + d])
                      right += shot[x] == (x < d ? row[p + 1, 640 - d + x] : row[p, x - d]) }
                  if (d == 0 && left >= 620) { print "slide", p; exit }
                  if (left > best) best = left; if (right > best) best = right }
              print int(100 * best / 640) }'
}
start_display
start_game
size=$(xdotool getwindowgeometry "$WID" | awk '/Geometry/ { print $2 }')
[ "$size" = 640x480 ] || fail "the window is $size, not 640x480"

# --- the intro: each slide in turn, and between them whole pictures sliding ---
sequence=""
for i in $(seq 0 60); do
    shot "intro-$i"
    shows_main_menu "intro-$i" && break   # redrawn over the picture the last slide brought in
    read -r look slide <<<"$(intro_look "intro-$i")"
    if [ "$look" = slide ]; then
        [ "${sequence##* }" = "$slide" ] || sequence="$sequence $slide"
    elif [ -n "$sequence" ] && [ "$look" -lt 90 ]; then
        fail "intro-$i: between two slides the screen shows other than the two side by side ($look %)"
    fi
    [ "${sequence##* }" = "$count" ] && break
    sleep 0.3
done
[ "$sequence" = " $(seq -s ' ' "$count")" ] || fail "the intro showed the slides '$sequence'"

# --- the menu: arrows move the highlight; the help; a new game ---
wait_for_main_menu
wait_for_menu 0
for item in 1 2 3; do menu_step Down "menu-item$item" "$item"; done
hold_key Return
shoot_until help 20 0.1 shows_region ref-help 0 0 640 480 || fail "the help picture is not shown"
tap_key space
shoot_until after-help 20 0.1 menu_shows 3 || fail "the help did not return to the menu"
for item in 2 1 0; do menu_step Up "menu-back$item" "$item"; done
hold_key Return
pass_announcement "$LEVEL"

# --- shots, sailing ---
for spot in "250 300" "400 320" "330 200"; do move_mouse $spot; press; sleep 0.3; done
hold_key Right 0.6
leave_game "$LEVEL"
collect_exit_status
[ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS"

# The level's frames, at most one each 25 ms, in the report.
frames=$(sed -n 's/^FRAMES : //p' "$WORK/fps.txt") time_ms=$(sed -n 's/^TIME : //p' "$WORK/fps.txt")
[ "${frames:-0}" -gt 20 ] && [ $((frames * 25)) -le $((${time_ms:-0} + 25)) ] || fail "fps.txt: $(cat "$WORK/fps.txt")"

# --- the recording, replayed headless from the same run folder ---
unset ABYSSOR_RECORD
grep -Eq '(^| )bd 1( |$)' "$WORK/game.rec" || fail "no click was recorded"
status=0
(cd "$REPLAY_DIR" && env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ABYSSOR_REPLAY="$WORK/game.rec" \
     timeout 60 ./abyssor >stdout.txt 2>stderr.txt) || status=$?
[ "$status" = 0 ] || fail "the replay ended with status $status: $(tail -3 "$REPLAY_DIR/stderr.txt")"
mask() { sed -E 's/0x[0-9a-fA-F]+/0x#/g' "$1"; }
for file in stdout.txt stderr.txt; do
    diff <(mask "$WORK/$file") <(mask "$REPLAY_DIR/$file") >"$SHOT_DIR/$file.diff" || fail "the replay's $file differs: $(head -5 "$SHOT_DIR/$file.diff")"
done
for file in SCRIPT/topten.scr fps.txt; do cmp -s "$WORK/$file" "$REPLAY_DIR/$file" || fail "the replay wrote another $file"; done
echo "menu flow passed"
