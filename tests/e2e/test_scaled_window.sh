#!/bin/bash
# The game scaled by whole pixels on a 2000 x 1500 screen: with -X2 the window
# is 1280 x 960 and shows the menu exactly as the 640 x 480 window does, each
# pixel a 2 x 2 block; with -XA it takes the largest factor that fits, 3. In
# the level a click at the scaled position of a point fires at that point:
# the crosshair stands on it and the shell splashes there.
source "$(dirname "$0")/lib.sh" "$1" "$2"

LEVEL=$(level_dir 1)
L="$WORK/SCRIPT/$LEVEL"
CX=$(script_value "$L/delo.scr" stred_x) CY=$(script_value "$L/delo.scr" stred_y)
CROSSHAIRS=$(awk '$1 == "zamerovac" { print $2 }' "$L/images.scr")
# The first weapon's splash, played slower (30 frames a picture) to be seen.
SPLASH=$(awk -v n="$(script_value "$L/weapons.scr" zblunk)" '/\[\*ZBLUNK\]/ { on = 1; next } on && NF { if (n-- == 0) { print $1; exit } }' "$L/images.scr")
screen_colours "$SPLASH" >"$SHOT_DIR/splash-colours.txt"
sed -i -E "s|^($SPLASH +[0-9]+) +[0-9]+|\1 30|" "$L/images.scr"
hold_back_creatures "$LEVEL"; short_intro
start_display 2000x1500x24
stop_game() { kill -KILL "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""; }
splash() { count_colours_in "$1" "$SHOT_DIR/splash-colours.txt" $((CX - 40)) $((CY - 60)) $((CX + 40)) $((CY + 40)); }

start_game; wait_for_main_menu; wait_for_menu 0
shot menu-1x; stop_game
for run in "2 -X2" "3 -XA"; do
    read -r SCALE switch <<<"$run"
    start_game "$switch"
    size=$(xdotool getwindowgeometry "$WID" | awk '/Geometry/ { print $2 }')
    [ "$size" = "$((640 * SCALE))x$((480 * SCALE))" ] || fail "$switch: the window is $size"
    wait_for_main_menu; wait_for_menu 0; shot "menu$switch"
    convert "$SHOT_DIR/menu-1x.png" -sample "$((SCALE * 100))%" "$SHOT_DIR/menu-1x-times-$SCALE.png"
    differing=$(compare -metric AE "$SHOT_DIR/menu$switch-window.png" "$SHOT_DIR/menu-1x-times-$SCALE.png" null: 2>&1 || true)
    [ "$differing" = 0 ] || fail "$switch: the menu is not the 1x menu scaled by $SCALE ($differing pixels differ)"
    hold_key Return
    pass_announcement "$LEVEL"
    move_mouse "$CX" "$CY"; sleep 0.5; shot "aim$switch"
    [ "$(crosshair_match "aim$switch" "$CX" "$CY")" -ge 80 ] || fail "$switch: no crosshair at ($CX, $CY)"
    before=$(splash "aim$switch") after=0
    press
    for i in $(seq 12); do
        shot "fired$switch-$i"
        n=$(splash "fired$switch-$i")
        [ "$n" -gt "$after" ] && after=$n
        [ "$after" -ge $((before + 15)) ] && break
    done
    [ "$after" -ge $((before + 15)) ] || fail "$switch: the click showed no splash at ($CX, $CY) ($before, then $after pixels)"
    stop_game
done
echo "scaled window passed"
