#!/bin/bash
# The front end: the high-score table from the menu, the third level's code
# typed to start there with the credited score, Escape, two quick taps of
# Return past the game-over screen, a name typed into the table (in its file
# at once, and on the table screen), the credits rolling
# slowly enough to be read with nothing written meanwhile, and closing the
# window skipping the rest of them.
source "$(dirname "$0")/lib.sh" "$1" "$2"

MENU="$WORK/SCRIPT/menu.scr"
TABLE="$WORK/SCRIPT/topten.scr"
rm -f "$WORK/fps.txt"
cp "$TABLE" "$SHOT_DIR/topten-before.scr"
for screen in top_ten code high_score; do reference "$screen" "$(script_value "$MENU" "$screen")"; done
read -r level code _ <<<"$(sed -n 3p "$WORK/SCRIPT/levels.scr")"
credited=$(awk 'NR < 3 { s += $3 } END { print s }' "$WORK/SCRIPT/levels.scr")
short_intro
start_display
start_game
wait_for_main_menu
wait_for_menu 0

# --- the table as the file has it ---
menu_step Down menu-1 1
menu_step Down menu-2 2
hold_key Return
shoot_until table-before 20 0.25 shows_region ref-top_ten 0 0 640 90 || fail "the high-score table's picture is not shown"
closer 0.03 "$(region_difference table-before ref-top_ten 90 120 460 300)" || fail "the high-score table shows no entries"
tap_key space

# --- the third level's code ---
menu_step Up menu-1 1
hold_key Return
shoot_until code-screen 40 0.25 shows_region ref-code 0 0 640 230 || fail "the level-code screen did not appear"
xdotool type --delay 120 "$code"
tap_key Return
pass_announcement "$level"
grep -qxF "...OK" "$WORK/stdout.txt" && [ "$(grep -cxF '...NO' "$WORK/stdout.txt")" = 2 ] ||
    fail "the code was not found as the third level's"
grep -qF "SCRIPT/$level/images.scr" "$WORK/stdout.txt" && ! grep -qF "SCRIPT/$(level_dir 1)/images.scr" "$WORK/stdout.txt" ||
    fail "the code did not load $level alone"

# --- Escape: the credited score beats an entry, the name goes in; Return
# tapped twice to leave the game-over screen is no part of it ---
hold_key Escape
shoot_until game-over 60 0.25 shows_centred "$(misc_picture "$level" 2)" 80 || fail "Escape did not show the game-over screen"
xdotool key --delay 40 Return Return
shoot_until name-screen 20 0.25 shows_region ref-high_score 0 0 640 230 || fail "the name entry did not appear after the game"
xdotool type --delay 120 "Nemo X"
tap_key Return
wait_for_menu 1
expected="$(sed -n 1p "$SHOT_DIR/topten-before.scr")
Nemo%20X $credited 3
$(sed -n 2,9p "$SHOT_DIR/topten-before.scr")"
[ "$(cat "$TABLE")" = "$expected" ] || fail "after the name the table's file holds: $(cat "$TABLE")"
cp "$TABLE" "$SHOT_DIR/topten-entered.scr"
menu_step Down menu-2 2
hold_key Return
shoot_until table-after 20 0.25 shows_region ref-top_ten 0 0 640 90 || fail "the high-score table is not shown again"
read -r _ y step <<<"$(script_value "$MENU" ten_souradnice | tr ',' ' ')"
row() { echo "table-after table-before 90 $((y + $1 * step - 2)) 460 $((step - 2))"; }
closer "$(region_difference $(row 0))" 0.002 || fail "the best entry changed"
! closer "$(region_difference $(row 1))" 0.005 || fail "the second row does not show the new name"
! closer "$(region_difference $(row 9))" 0.005 || fail "the last entry did not drop out"
tap_key space

# --- leaving: the credits roll for over eight seconds before the table and
# the report are written; closing the window skips the rest ---
menu_step Down menu-3 3
menu_step Down menu-4 4
hold_key Return
first="" last="" written=""
for i in $(seq 0 100); do
    game_running && [ "$SECONDS" -lt $((${first:-$SECONDS} + 10)) ] || break
    # Files first: if the credits still roll after that moment, nothing may have been written.
    cmp -s "$TABLE" "$SHOT_DIR/topten-entered.scr" && [ ! -f "$WORK/fps.txt" ] || written=$i
    timeout 5 import -window "$WID" "$SHOT_DIR/credits.png" 2>/dev/null || break
    # Black corners and more than a few colours: text on black.
    look=$(convert "$SHOT_DIR/credits.png" -format '%[fx:p{2,2}.r+p{2,2}.g+p{2,2}.b+p{637,477}.r+p{637,477}.g+p{637,477}.b] %k' info:)
    if [ "${look% *}" = 0 ] && [ "${look#* }" -gt 8 ]; then
        first=${first:-$SECONDS} last=$SECONDS
        [ -z "$written" ] || fail "the table or the report was written while the credits rolled"
    fi
    sleep 0.1
done
[ -n "$first" ] && [ $((last - first)) -ge 8 ] || fail "the credits rolled ${first:+for $((last - first)) s}: too fast to read"
if game_running; then close_window; fi
wait_exit 10
[ "$(cat "$TABLE")" = "$expected" ] || fail "after leaving the table's file holds: $(cat "$TABLE")"
[ -f "$WORK/fps.txt" ] || fail "no fps.txt after leaving"
echo "front end passed"
