#!/bin/bash
# The real game in a real window: it opens at 640 x 480, plays frames of a
# level started from the menu (after its announcement), ends the level on
# Escape (through the game-over screen) and, left through the menu, writes
# its frame-rate report.
source "$(dirname "$0")/lib.sh" "$1" "$2"

short_intro
short_credits
start_display
start_game

geometry=$(xdotool getwindowgeometry "$WID" | awk '/Geometry/ {print $2}')
[ "$geometry" = "640x480" ] || fail "window is $geometry, not 640x480"

# After the intro the main menu opens on its first item: start a new game.
wait_for_main_menu
shot menu
hold_key Return
pass_announcement "$(level_dir 1)"   # after the loading; it waits for a key
move_mouse 400 300
sleep 1
shot level
[ "$(colour_count level)" -gt 50 ] || fail "the level shows no scene (only $(colour_count level) colours)"
game_running || fail "the game ended on its own"

hold_key Escape
sleep 1
tap_key space  # the game-over screen waits for a key
sleep 1.5
shot back-in-menu
# Up from the first item wraps to the last one: leave.
tap_key Up
sleep 0.3
hold_key Return
wait_exit 20

[ -f "$WORK/fps.txt" ] || fail "no fps.txt after leaving"
report=$(cat "$WORK/fps.txt")
[ "$(sed -n 1p "$WORK/fps.txt")" = "ABYSSOR v0.2 -= Tarvik software =-" ] || fail "fps.txt banner: $report"
[ "$(sed -n 2p "$WORK/fps.txt")" = "--------------------------" ] || fail "fps.txt rule: $report"
sed -n 3p "$WORK/fps.txt" | grep -Eq '^fps : [0-9]+\.[0-9]{6}$' || fail "fps line: $report"
[ -z "$(sed -n 4p "$WORK/fps.txt")" ] || fail "no empty line after fps: $report"
frames=$(sed -n 's/^FRAMES : //p' "$WORK/fps.txt")
[ "${frames:-0}" -gt 20 ] || fail "only ${frames:-no} frames were drawn: $report"
time_ms=$(sed -n 's/^TIME : //p' "$WORK/fps.txt")
[ "${time_ms:-0}" -gt 1000 ] || fail "level time ${time_ms:-none} ms: $report"
# At most one frame per 25 ms.
[ $((frames * 25)) -le $((time_ms + 25)) ] || fail "more than 40 frames per second: $report"
echo "window test passed: $frames frames in $time_ms ms"
