#!/bin/bash
# Closing the window as a window manager's close button does. In the menu,
# the game leaves as through its last item; in a level (where the crosshair
# stands on the pointer from the first frame) the game ends as with Escape
# and then leaves. Either way it ends with status 0 without rolling the
# credits, having written the high scores and the frame-rate report.
source "$(dirname "$0")/lib.sh" "$1" "$2"

TABLE="$WORK/SCRIPT/topten.scr"

# A short table of our own: written back, it gains eight empty entries.
short_table() { printf 'Ema 900 2\nOta 400 1\n' >"$TABLE"; }

expect_way_out() {
    local where=$1 frames=$2
    collect_exit_status
    [ "$GAME_STATUS" = 0 ] || fail "$where: the game ended with status $GAME_STATUS"
    [ -f "$WORK/fps.txt" ] || fail "$where: no fps.txt"
    [ "$(sed -n 1p "$WORK/fps.txt")" = "ABYSSOR v0.2 -= Tarvik software =-" ] || fail "$where: fps.txt banner: $(cat "$WORK/fps.txt")"
    grep -Eq "^FRAMES : $frames\$" "$WORK/fps.txt" || fail "$where: fps.txt frames: $(cat "$WORK/fps.txt")"
    local expected
    expected=$(printf 'Ema 900 2\nOta 400 1\n'; for _ in $(seq 8); do printf '%%00 0 0\n'; done)
    [ "$(cat "$TABLE")" = "$expected" ] || fail "$where: the high-score table was not written back: $(cat "$TABLE")"
    if grep -q "Couldn't initialize SDL" "$WORK/stderr.txt"; then fail "$where: SDL did not start at the first attempt"; fi
    if grep -qi "X Error\|BadWindow" "$WORK/stderr.txt"; then fail "$where: an X error"; fi
}

short_intro
start_display

# --- in the menu ---
short_table
start_game
wait_for_main_menu
close_window
wait_exit 60
expect_way_out menu 0

# --- in a level ---
short_table
rm -f "$WORK/fps.txt"
level_dir=$(awk '{ print $1; exit }' "$WORK/SCRIPT/levels.scr")
CROSSHAIRS=$(awk '{ for (i = 1; i < NF; i++) if (index($i, "zamerovac")) print $(i + 1) }' "$WORK/SCRIPT/$level_dir/images.scr")
[ -n "$CROSSHAIRS" ] || fail "the first level names no crosshair"
start_game
start_new_game   # the pointer rests where start_game put it, at (320, 240)
shot level-start
match=$(crosshair_match level-start 320 240)
[ "$match" -ge 80 ] || fail "the first frames show no crosshair on the resting pointer: $match % of its pixels"
game_running || fail "the game ended in the level on its own"
close_window
wait_exit 20   # the credits would take over half a minute
expect_way_out level '[1-9][0-9]*'
grep -qxF "UVOLNEN SKRIPT BITMAP Z PAMETI" "$WORK/stdout.txt" || fail "the level was not released"
echo "window close passed"
