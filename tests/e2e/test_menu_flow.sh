#!/bin/bash
# The player's way through the front end: the main menu drawn from the data
# set, the highlight moved with the arrow keys, the help opened and closed, a
# new game loaded behind the progress bar, the animated seabed with the
# crosshair on the pointer, Escape back to the menu, and the last item to
# leave, after which the frame-rate report exists and the log tells of the
# loading.
source "$(dirname "$0")/lib.sh" "$1" "$2"

MENU_SCRIPT="$WORK/SCRIPT/menu.scr"
[ -f "$MENU_SCRIPT" ] || fail "the run folder has no SCRIPT/menu.scr"

menu_references
reference help "$(script_value "$MENU_SCRIPT" help)"

# The loading screen as it should look with the full bar: black, the loading
# picture centred and the bar at its offset, both transparent where their
# top-left colour is.
loading_screen_reference() {
    local picture bar key bar_key w h bx by
    picture="$WORK/$(script_value "$MENU_SCRIPT" loading)"
    bar="$WORK/$(script_value "$MENU_SCRIPT" load_bar)"
    [ -f "$picture" ] && [ -f "$bar" ] || fail "the data set lacks the loading pictures"
    read -r w h <<<"$(identify -format '%w %h' "$picture")"
    read -r bx by <<<"$(script_value "$MENU_SCRIPT" load_souradnice | tr ',' ' ')"
    key=$(convert "$picture" -format '%[pixel:p{0,0}]' info:)
    bar_key=$(convert "$bar" -format '%[pixel:p{0,0}]' info:)
    local x=$((320 - w / 2)) y=$((240 - h / 2))
    convert -size 640x480 xc:black \( "$picture" -transparent "$key" \) -geometry "+$x+$y" -composite \
        \( "$bar" -transparent "$bar_key" \) -geometry "+$((x + bx))+$((y + by))" -composite \
        "$SHOT_DIR/ref-loading.png"
}
loading_screen_reference

short_intro
short_credits
start_display
start_game
wait_for_main_menu

# --- the main menu, moved with the arrow keys ---
wait_for_menu 0
menu_step Down menu-down 1
menu_step Up menu-up 0
menu_step Up menu-wrapped 4
menu_step Down menu-wrapped-back 0
menu_step Down menu-item1 1
menu_step Down menu-item2 2
menu_step Down menu-item3 3

# --- help, closed with a key ---
hold_key Return
shoot_until help 20 0.1 shows_region ref-help 0 0 640 480 || fail "the help picture is not shown (difference $(region_difference help ref-help 0 0 640 480))"
tap_key space
shoot_until after-help 20 0.1 menu_shows 3 || expect_menu after-help 3
game_running || fail "the game ended in the help"

# --- a new game: the loading screen, then the seabed ---
menu_step Up menu-back-to-item2 2
menu_step Up menu-back-to-item1 1
menu_step Up menu-back-to-item0 0
# The full bar stays on the screen for a second once the level is loaded.
xdotool keydown Return
shoot_until loading 40 0 shows_region ref-loading 0 0 640 480 || true
xdotool keyup Return
[ "$(pixel loading 2 2)" = "0,0,0" ] || fail "the loading screen is not cleared to black: $(pixel loading 2 2)"
loading_difference=$(region_difference loading ref-loading 0 0 640 480)
closer "$loading_difference" 0.03 || fail "the loading screen is not the loading picture with its bar ($loading_difference)"

level_dir=$(level_dir 1)
pass_announcement "$level_dir"

IMAGES="$WORK/SCRIPT/$level_dir/images.scr"
[ -f "$IMAGES" ] || fail "the first level has no images.scr"
seabeds=$(awk '/\[\*DNO\]/ { on = 1; getline; next } on && /\[END\]/ { exit } on { for (i = 1; i <= NF; i++) print $i }' "$IMAGES")
[ -n "$seabeds" ] || fail "the first level names no seabed pictures"
count=0
for picture in $seabeds; do
    reference "dno$count" "$picture"
    count=$((count + 1))
done

# The seabed below the panel: index and difference of the closest of the
# level's seabed pictures.
closest_seabed() {
    local i regions=()
    for i in $(seq 0 $((count - 1))); do regions+=("ref-dno$i 0 60 640 420"); done
    region_differences "$1" "${regions[@]}" | awk '
        NR == 1 || $1 < best { best = $1; index_of_best = NR - 1 }
        END { print index_of_best, best }'
}

move_mouse 420 140
sleep 0.3
shot level
game_running || fail "the game ended on its own"
# The seabed plays: over half a second it shows more than one picture.
for i in 0 1 2 3; do
    shot "sea-$i"
    sleep 0.15
done
shown=""
for i in 0 1 2 3; do
    read -r index difference <<<"$(closest_seabed "sea-$i")"
    closer "$difference" 0.05 || fail "sea-$i does not show the seabed (closest difference $difference)"
    shown="$shown $index"
done
[ "$(tr ' ' '\n' <<<"$shown" | sort -u | grep -c .)" -ge 2 ] || fail "the seabed stands still: pictures$shown"

# The crosshair sits on the pointer and follows it.
CROSSHAIRS=$(awk '{ for (i = 1; i < NF; i++) if (index($i, "zamerovac")) print $(i + 1) }' "$IMAGES")
[ -n "$CROSSHAIRS" ] || fail "the first level names no crosshair"

at_first=$(crosshair_match level 420 140)
[ "$at_first" -ge 80 ] || fail "no crosshair on the pointer at (420, 140): $at_first % of its pixels"
move_mouse 200 200
sleep 0.5
shot level-moved
at_second=$(crosshair_match level-moved 200 200)
[ "$at_second" -ge 80 ] || fail "the crosshair did not follow the pointer to (200, 200): $at_second %"
left_behind=$(crosshair_match level-moved 420 140)
[ "$left_behind" -lt 50 ] || fail "the crosshair stayed behind at (420, 140): $left_behind %"

# --- Escape ends the game; the menu returns with its highlight ---
hold_key Escape
shoot_until game-over 60 0.25 shows_centred_picture "$(misc_picture "$level_dir" 2)" || fail "Escape did not end the game"
tap_key space   # the game-over screen waits for a key
shoot_until back-in-menu 40 0.25 menu_shows 0 || expect_menu back-in-menu 0
game_running || fail "the game ended after Escape"

# --- the last item leaves ---
menu_step Up menu-leave 4
hold_key Return
wait_exit 60

[ -f "$WORK/fps.txt" ] || fail "no fps.txt after leaving"
[ "$(sed -n 1p "$WORK/fps.txt")" = "ABYSSOR v0.2 -= Tarvik software =-" ] || fail "fps.txt banner: $(cat "$WORK/fps.txt")"

log="$WORK/stdout.txt"
grep -qxF "script: SCRIPT/$level_dir/images.scr : NAHRAVAM BITMAPY DNA" "$log" || fail "the log does not show the seabed loading"
grep -qxF "UVOLNEN SKRIPT BITMAP Z PAMETI" "$log" || fail "the log does not show the level's release"
[ "$(grep -c '^SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa ' "$log")" -gt 0 ] || fail "the log does not show the menu's pictures"
if grep -q "Pokus o nahrani neexistujiciho levelu" "$WORK/stderr.txt"; then fail "a level script path was refused"; fi
echo "menu flow passed"
