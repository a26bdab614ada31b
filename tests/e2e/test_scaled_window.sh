#!/bin/bash
# The game scaled by whole pixels on a 2000 x 1500 screen: with -XA it asks
# the display for the desktop's size and takes the largest factor that fits,
# 3, and the window, 1920 x 1440, shows the menu exactly as the 640 x 480
# window does, each pixel a 3 x 3 block. (Other factors and the pointer
# mapped back to the screen are the unit tests' ScaleFactor cases.)
source "$(dirname "$0")/lib.sh" "$1" "$2"

short_intro
start_display 2000x1500x24
stop_game() { kill -KILL "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""; }

start_game; wait_for_main_menu; wait_for_menu 0
shot menu-1x; stop_game
SCALE=3
start_game -XA
size=$(xdotool getwindowgeometry "$WID" | awk '/Geometry/ { print $2 }')
[ "$size" = 1920x1440 ] || fail "-XA: the window is $size"
wait_for_main_menu; wait_for_menu 0; shot menu-XA
convert "$SHOT_DIR/menu-1x.png" -sample 300% "$SHOT_DIR/menu-1x-times-3.png"
differing=$(compare -metric AE "$SHOT_DIR/menu-XA-window.png" "$SHOT_DIR/menu-1x-times-3.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "-XA: the menu is not the 1x menu scaled by 3 ($differing pixels differ)"
stop_game
echo "scaled window passed"
