#!/bin/bash
# The front end from start to exit: the intro's slides one after another, the
# high-score table from the menu, a level code typed to start the third
# level with the credited score, Escape to lose, a name typed into the table,
# the table showing it, the credits rolling on the way out slowly enough to
# be read (closing the window skips the rest), and the table's file holding
# the new entry once the credits are over.
source "$(dirname "$0")/lib.sh" "$1" "$2"

MENU_SCRIPT="$WORK/SCRIPT/menu.scr"
INTRO_SCRIPT="$WORK/SCRIPT/in.scr"
TABLE="$WORK/SCRIPT/topten.scr"
for f in "$MENU_SCRIPT" "$INTRO_SCRIPT" "$TABLE" "$WORK/SCRIPT/levels.scr"; do
    [ -f "$f" ] || fail "the run folder lacks ${f#$WORK/}"
done
rm -f "$WORK/fps.txt"
cp "$TABLE" "$SHOT_DIR/topten-before.scr"

# Waits up to N tries for a screen whose region matches a reference picture.
wait_for_screen() {
    local name=$1 ref=$2 x=$3 y=$4 w=$5 h=$6 tries=${7:-40}
    shoot_until "$name" "$tries" 0.25 shows_region "$ref" "$x" "$y" "$w" "$h"
}

slides=""
count=0
while read -r key picture _; do
    case "$key" in *intro*)
        count=$((count + 1))
        reference "uvod$count" "$picture"
        slides="$slides $count" ;;
    esac
done <"$INTRO_SCRIPT"
[ "$count" -ge 2 ] || fail "in.scr names fewer than two intro slides"
menu_references
reference table "$(script_value "$MENU_SCRIPT" top_ten)"
reference code "$(script_value "$MENU_SCRIPT" code)"
reference name "$(script_value "$MENU_SCRIPT" high_score)"

start_display
start_game

# --- the intro: each slide in turn, held long enough to be seen ---
# The slide closest to a screenshot, when one is close.
shown_slide() {
    local i regions=()
    for i in $slides; do regions+=("ref-uvod$i 0 160 640 160"); done
    region_differences "$1" "${regions[@]}" | awk '$1 < 0.04 && (best == "" || $1 < best) { best = $1; slide = NR }
        END { print slide }'
}
sequence=""
for i in $(seq 0 40); do
    shot "intro-$i"
    slide=$(shown_slide "intro-$i")
    if [ -n "$slide" ] && [ "${sequence##* }" != "$slide" ]; then sequence="$sequence $slide"; fi
    [ "${sequence##* }" = "$count" ] && break
    sleep 0.4
done
[ "$sequence" = "$slides" ] || fail "the intro showed the slides '$sequence', expected '$slides'"

# --- the table as the file has it ---
wait_for_menu 0
menu_step Down menu-1 1
menu_step Down menu-2 2
hold_key Return
wait_for_screen table-before ref-table 0 0 640 90 20 || fail "the high-score table's picture is not shown"
closer 0.03 "$(region_difference table-before ref-table 90 120 460 300)" || fail "the high-score table shows no entries"
tap_key space
sleep 0.3

# --- a level code: the third level's word ---
read -r level_dir code credit <<<"$(sed -n 3p "$WORK/SCRIPT/levels.scr")"
credited=$(awk 'NR < 3 { s += $3 } END { print s }' "$WORK/SCRIPT/levels.scr")
read -r cx cy cw <<<"$(script_value "$MENU_SCRIPT" c_pos | tr ',' ' ')"
menu_step Up menu-1 1
hold_key Return
wait_for_screen code-screen ref-code 0 0 640 230 || fail "the level-code screen did not appear"
move_mouse 320 300
xdotool type --delay 120 "$code"
sleep 0.3
shot code-typed
closer 0.02 "$(region_difference code-typed ref-code "$cx" "$cy" "$cw" 24)" || fail "the typed code is not shown in its field"
tap_key Return

# The announcement before the level waits for a key.
pass_announcement "$level_dir"
game_running || fail "the game ended after the code"
grep -qxF "...OK" "$WORK/stdout.txt" || fail "the code was not accepted"
[ "$(grep -c -xF '...NO' "$WORK/stdout.txt")" = 2 ] || fail "the code should pass two levels before it matches"
grep -qF "SCRIPT/$level_dir/images.scr" "$WORK/stdout.txt" || fail "the code did not load $level_dir"
if grep -qF "SCRIPT/$(sed -n 1p "$WORK/SCRIPT/levels.scr" | cut -d' ' -f1)/images.scr" "$WORK/stdout.txt"; then
    fail "the first level was loaded although the code named the third"
fi
shot level

# --- Escape loses the game; the score credited beats an entry ---
hold_key Escape
sleep 0.5
for _ in 1 2 3 4 5; do
    wait_for_screen name-screen ref-name 0 0 640 230 4 && break
    tap_key space   # the game-over screen waits for a key
done
wait_for_screen name-screen ref-name 0 0 640 230 4 || fail "the name entry did not appear after the game"
read -r nx ny <<<"$(script_value "$MENU_SCRIPT" high_souradnice | tr ',' ' ')"
move_mouse 320 300
xdotool type --delay 120 "Nemo X"
sleep 0.3
shot name-typed
closer 0.02 "$(region_difference name-typed ref-name "$nx" "$ny" 200 24)" || fail "the typed name is not shown in its field"
tap_key Return

# --- the table with the new name, in the file as soon as it is entered ---
wait_for_menu 1
expected="$(sed -n 1p "$SHOT_DIR/topten-before.scr")
Nemo%20X $credited 3
$(sed -n 2,9p "$SHOT_DIR/topten-before.scr")"
[ "$(sed -n 1p "$SHOT_DIR/topten-before.scr" | cut -d' ' -f2)" -ge "$credited" ] || fail "the test expects the best entry to score at least $credited"
[ "$(cat "$TABLE")" = "$expected" ] || fail "after the name entry the table's file holds:
$(cat "$TABLE")
expected:
$expected"
cp "$TABLE" "$SHOT_DIR/topten-entered.scr"
menu_step Down menu-2 2
hold_key Return
wait_for_screen table-after ref-table 0 0 640 90 20 || fail "the high-score table's picture is not shown again"
read -r tx ty ts <<<"$(script_value "$MENU_SCRIPT" ten_souradnice | tr ',' ' ')"
row() { echo "90 $((ty + $1 * ts - 2)) 460 $((ts - 2))"; }
closer "$(region_difference table-after table-before $(row 0))" 0.002 || fail "the best entry changed"
closer 0.005 "$(region_difference table-after table-before $(row 1))" || fail "the second row does not show the new name"
closer 0.005 "$(region_difference table-after table-before $(row 9))" || fail "the last entry did not drop out"
tap_key space
sleep 0.3

# --- leaving: the credits roll, and only then is the report written (the
# table, already on disk, is written again with the same entries) ---
menu_step Down menu-3 3
menu_step Down menu-4 4
xdotool keydown Return
sleep 0.15
xdotool keyup Return
# Screenshots every tenth of a second for ten seconds, looked at afterwards:
# the credits rise at the game's frame rate, slowly enough to be read, and
# are still rolling eight seconds after they were first seen (unpaced they
# were over in two to five).
unwritten=()
stamp=()
taken=0
start=$SECONDS
for i in $(seq 0 400); do
    game_running || break
    [ $((SECONDS - start)) -lt 10 ] || break
    stamp[$i]=$SECONDS
    # The files are looked at before the screenshot: if the credits are
    # still rolling after that moment, nothing may have been written yet.
    unwritten[$i]=1
    cmp -s "$TABLE" "$SHOT_DIR/topten-entered.scr" || unwritten[$i]=0
    [ -f "$WORK/fps.txt" ] && unwritten[$i]=0
    # The window may close during a screenshot, which must not hang.
    timeout 5 import -window "$WID" "$SHOT_DIR/credits-$i.png" 2>/dev/null || break
    taken=$((i + 1))
    sleep 0.1
done
credits=0
written_during_credits=0
first_seen=""
last_seen=""
for i in $(seq 0 $((taken - 1))); do
    # Black corners and more than a few colours: text on black.
    look=$(convert "$SHOT_DIR/credits-$i.png" -format '%[fx:p{2,2}.r+p{2,2}.g+p{2,2}.b+p{637,477}.r+p{637,477}.g+p{637,477}.b] %k' info:)
    if [ "${look% *}" = 0 ] && [ "${look#* }" -gt 8 ]; then
        credits=$((credits + 1))
        first_seen=${first_seen:-${stamp[$i]}}
        last_seen=${stamp[$i]}
        [ "${unwritten[$i]}" = 1 ] || written_during_credits=1
    fi
done
[ "$credits" -ge 3 ] || fail "the credits were not seen rolling ($credits screenshots)"
[ $((last_seen - first_seen)) -ge 8 ] || fail "the credits rolled for less than eight seconds: too fast to read"
[ "$written_during_credits" = 0 ] || fail "the table or the report changed before the credits ended"
# Closing the window skips the rest of them.
if game_running; then close_window; fi
wait_exit 10

[ "$(cat "$TABLE")" = "$expected" ] || fail "after leaving the table's file holds:
$(cat "$TABLE")
expected:
$expected"
[ -f "$WORK/fps.txt" ] || fail "no fps.txt after leaving"
echo "front end passed"
