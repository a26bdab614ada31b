#!/bin/bash
# The game scaled by whole pixels in the real window, on a 2000 x 1500
# screen: with -X2 the window is 1280 x 960 and shows the menu exactly as the
# 640 x 480 window does, each pixel a 2 x 2 block; with -XA it takes the
# largest factor that fits, 3 (1920 x 1440). In the level, a click at the
# scaled position of a point fires at that point, as a click there does at
# 1x: the crosshair stands on it and the shell splashes there.
source "$(dirname "$0")/lib.sh" "$1" "$2"
source "$(dirname "$0")/scene.sh"

use_level 1 delo images weapons
CX=$(script_value "$DELO" stred_x)
CY=$(script_value "$DELO" stred_y)
CROSSHAIRS=$(awk '{ for (i = 1; i < NF; i++) if (index($i, "zamerovac")) print $(i + 1) }' "$IMAGES")
SPLASH_INDEX=$(script_value "$WEAPONS" zblunk)
screen_colours "$(splash_picture "$IMAGES" "$SPLASH_INDEX")" keyed >"$SHOT_DIR/splash-colours.txt"
slow_splash "$IMAGES" "$SPLASH_INDEX"
hold_back_creatures "$LEVEL_DIR"
short_intro
menu_references
start_display 2000x1500x24

stop_game() { kill -KILL "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""; }

# The menu at 1x, to be compared with the scaled ones.
start_game
wait_for_main_menu
wait_for_menu 0
shot menu-1x
stop_game

for run in "2 -X2" "3 -XA"; do
    read -r factor switch <<<"$run"
    SCALE=$factor
    start_game "$switch"
    size=$(xdotool getwindowgeometry "$WID" | awk '/Geometry/ {print $2}')
    [ "$size" = "$((640 * factor))x$((480 * factor))" ] || fail "$switch: the window is $size"
    wait_for_main_menu
    wait_for_menu 0
    shot "menu$switch"
    convert "$SHOT_DIR/menu-1x.png" -sample "$((factor * 100))%" "$SHOT_DIR/menu-1x-times-$factor.png"
    differing=$(compare -metric AE "$SHOT_DIR/menu$switch-window.png" "$SHOT_DIR/menu-1x-times-$factor.png" null: 2>&1 || true)
    [ "$differing" = 0 ] || fail "$switch: the menu is not the 1x menu scaled by $factor ($differing pixels differ)"

    hold_key Return
    pass_announcement "$LEVEL_DIR"
    move_mouse "$CX" "$CY"
    sleep 0.5
    shot "aim$switch"
    aimed=$(crosshair_match "aim$switch" "$CX" "$CY")
    [ "$aimed" -ge 80 ] || fail "$switch: no crosshair at ($CX, $CY): $aimed % of its pixels"
    before=$(count_colours_in "aim$switch" "$SHOT_DIR/splash-colours.txt" $((CX - 40)) $((CY - 60)) $((CX + 40)) $((CY + 40)))
    xdotool mousedown 1; sleep 0.1; xdotool mouseup 1
    after=0
    for i in $(seq 12); do
        shot "fired$switch-$i"
        n=$(count_colours_in "fired$switch-$i" "$SHOT_DIR/splash-colours.txt" $((CX - 40)) $((CY - 60)) $((CX + 40)) $((CY + 40)))
        [ "$n" -gt "$after" ] && after=$n
        [ "$after" -ge $((before + 15)) ] && break
    done
    echo "$switch: window $size, crosshair $aimed %, splash pixels at the target $before before the click, $after after"
    [ "$after" -ge $((before + 15)) ] || fail "$switch: the click showed no splash at ($CX, $CY)"
    stop_game
done
echo "scaled window passed"
