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

# The word after the first word of a script that contains the key.
script_value() {
    awk -v key="$2" '{ for (i = 1; i <= NF; i++) if (found) { print $i; exit } else if (index($i, key)) found = 1 }' "$1"
}

# "x y w h" of a menu button.
button_rect() { script_value "$MENU_SCRIPT" "$1" | tr ',' ' '; }

# A picture of the data set as PNG in the screenshot folder.
reference() {
    local name=$1 picture=$2
    [ -f "$WORK/$picture" ] || fail "the data set lacks $picture"
    convert "$WORK/$picture" "$SHOT_DIR/ref-$name.png" || fail "cannot read $picture"
}

# Mean difference (0 to 1) of a region of two pictures.
region_difference() {
    local a=$1 b=$2 x=$3 y=$4 w=$5 h=$6
    compare -metric MAE "$SHOT_DIR/$a.png[${w}x${h}+${x}+${y}]" "$SHOT_DIR/$b.png[${w}x${h}+${x}+${y}]" null: 2>&1 \
        | sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p' || true
}

closer() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

ITEMS="b_new_game b_kod b_top-ten b_pomoc b_exit"

# The items whose buttons show the highlight picture rather than the plain
# menu picture.
highlighted_items() {
    local shot_name=$1 item=0 key
    for key in $ITEMS; do
        read -r x y w h <<<"$(button_rect "$key")"
        local plain lit
        plain=$(region_difference "$shot_name" ref-main1 "$x" "$y" "$w" "$h")
        lit=$(region_difference "$shot_name" ref-main2 "$x" "$y" "$w" "$h")
        if closer "$lit" "$plain"; then printf '%s ' "$item"; fi
        item=$((item + 1))
    done
}

# The menu with exactly the given item highlighted, the rest of the screen
# the plain menu picture.
expect_menu() {
    local shot_name=$1 item=$2
    local lit
    lit=$(highlighted_items "$shot_name")
    [ "$lit" = "$item " ] || fail "$shot_name: highlighted items '${lit}', expected $item"
    local rest
    rest=$(region_difference "$shot_name" ref-main1 0 0 640 40)
    closer "$rest" 0.03 || fail "$shot_name: the top of the screen is not the menu picture ($rest)"
}

# The first menu comes after the intro; every event redraws it.
wait_for_menu() {
    local item=$1
    for attempt in $(seq 120); do
        move_mouse $((300 + attempt % 2)) 240
        sleep 0.25
        shot menu-wait
        [ "$(highlighted_items menu-wait)" = "$item " ] && return 0
    done
    fail "the main menu did not appear"
}

menu_step() {
    local key=$1 name=$2 item=$3
    tap_key "$key"
    sleep 0.2
    shot "$name"
    expect_menu "$name" "$item"
}

reference main1 "$(script_value "$MENU_SCRIPT" main1)"
reference main2 "$(script_value "$MENU_SCRIPT" main2)"
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

start_display
start_game
wait_for_main_menu

# --- the main menu, moved with the arrow keys ---
wait_for_menu 0
shot menu-start
expect_menu menu-start 0
menu_step Down menu-down 1
menu_step Up menu-up 0
menu_step Up menu-wrapped 4
menu_step Down menu-wrapped-back 0
menu_step Down menu-item1 1
menu_step Down menu-item2 2
menu_step Down menu-item3 3

# --- help, closed with a key ---
hold_key Return
sleep 0.3
shot help
help_difference=$(region_difference help ref-help 0 0 640 480)
closer "$help_difference" 0.03 || fail "the help picture is not shown (difference $help_difference)"
tap_key space
sleep 0.3
shot after-help
expect_menu after-help 3
game_running || fail "the game ended in the help"

# --- a new game: the loading screen, then the seabed ---
menu_step Up menu-back-to-item2 2
menu_step Up menu-back-to-item1 1
menu_step Up menu-back-to-item0 0
xdotool keydown Return
sleep 0.5
shot loading
xdotool keyup Return
[ "$(pixel loading 2 2)" = "0,0,0" ] || fail "the loading screen is not cleared to black: $(pixel loading 2 2)"
loading_difference=$(region_difference loading ref-loading 0 0 640 480)
closer "$loading_difference" 0.03 || fail "the loading screen is not the loading picture with its bar ($loading_difference)"

sleep 2
# A still screen before the level would wait for a key; in play the key does nothing.
tap_key space
sleep 0.5

level_dir=$(awk '{ print $1; exit }' "$WORK/SCRIPT/levels.scr")
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
    local shot_name=$1 best=1 best_index=-1 i d
    for i in $(seq 0 $((count - 1))); do
        d=$(region_difference "$shot_name" "ref-dno$i" 0 60 640 420)
        if closer "$d" "$best"; then best=$d; best_index=$i; fi
    done
    echo "$best_index $best"
}

move_mouse 420 140
sleep 0.5
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
sleep 1
tap_key space   # a still screen after the level would wait for a key
sleep 1
shot back-in-menu
expect_menu back-in-menu 0
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
