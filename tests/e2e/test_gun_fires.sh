#!/bin/bash
# The gun in the real window, first level: a click within the reach of the
# selected weapon launches a shell that comes down at the pointer with the
# weapon's splash; a click beyond the reach fires nothing; holding the button
# keeps firing until the gun reaches its heat limit and stops, and once it
# has cooled it fires again. Splashes are found in screenshots by the colours
# of the splash picture of the level's first weapon, shells in flight by the
# colours of its shell. A screenshot takes most of a second here, so this
# test's copy of the level plays that splash slower (12 frames a picture)
# to be sure to catch it.
source "$(dirname "$0")/lib.sh" "$1" "$2"
source "$(dirname "$0")/scene.sh"

[ -f "$WORK/SCRIPT/levels.scr" ] || fail "the run folder has no SCRIPT/levels.scr"
LEVEL_DIR=$(awk '{ print $1; exit }' "$WORK/SCRIPT/levels.scr")
DELO="$WORK/SCRIPT/$LEVEL_DIR/delo.scr"
IMAGES="$WORK/SCRIPT/$LEVEL_DIR/images.scr"
WEAPONS="$WORK/SCRIPT/$LEVEL_DIR/weapons.scr"
for f in "$DELO" "$IMAGES" "$WEAPONS"; do [ -f "$f" ] || fail "the first level lacks $f"; done

CX=$(script_value "$DELO" stred_x)
CY=$(script_value "$DELO" stred_y)
RADIUS=$(script_value "$DELO" radius)
SUB_PICTURE=$(script_value "$DELO" image)
FRAME=$(identify -format '%h' "$WORK/$SUB_PICTURE")
# The first weapon's splash: its number in the splash table of images.scr.
SPLASH_INDEX=$(script_value "$WEAPONS" zblunk)
SPLASH=$(awk -v want="$SPLASH_INDEX" '
    /\[\*ZBLUNK\]/ { inside = 1; n = 0; next }
    inside && /\[END\]/ { inside = 0 }
    inside && NF { if (n == want) { print $1; exit } n++ }' "$IMAGES")
[ -f "$WORK/$SPLASH" ] || fail "splash $SPLASH_INDEX of the first weapon ($SPLASH) is missing"
SHELL=$(script_value "$WEAPONS" strela)
screen_colours "$SPLASH" keyed >"$SHOT_DIR/splash-colours.txt"
screen_colours "$SHELL" keyed >"$SHOT_DIR/shell-colours.txt"
awk -v want="$SPLASH_INDEX" '
    /\[\*ZBLUNK\]/ { inside = 1; n = 0; print; next }
    inside && /\[END\]/ { inside = 0 }
    inside && NF { if (n == want) $3 = 12; n++ }
    { print }' "$IMAGES" >"$IMAGES.slow" && mv "$IMAGES.slow" "$IMAGES"
screen_colours "$SUB_PICTURE" keyed >"$SHOT_DIR/submarine-colours.txt"
# A shell that ends in a creature shows no splash: in this copy of the level
# the creatures do not come up while the test runs.
POTVORY="$WORK/SCRIPT/$LEVEL_DIR/potvory.scr"
sed -i -e 's/^dolni_interval .*/dolni_interval 100000/' -e 's/^horni_interval .*/horni_interval 100001/' "$POTVORY"
grep -q "^dolni_interval 100000" "$POTVORY" || fail "the creatures of the test's level could not be held back"
echo "ellipse ($CX, $CY) radius $RADIUS; first weapon splashes with $SPLASH"

# Splash pixels around a point of the screen where a shell comes down (it
# lands up to two of its steps past the point aimed at).
splash_near() { count_colours_in "$1" "$SHOT_DIR/splash-colours.txt" $(($2 - 40)) $(($3 - 60)) $(($2 + 40)) $(($3 + 40)); }

# Shell pixels anywhere on the screen.
shells() { count_colours_in "$1" "$SHOT_DIR/shell-colours.txt" 0 0 639 479; }

# The most splash pixels near (x, y) in a burst of up to `count`
# screenshots; with `enough` given, the burst stops once that many splash
# pixels have shown (a loaded machine may take several screenshots before
# the shell comes down).
burst_peak() {
    local name=$1 x=$2 y=$3 count=$4 enough=${5:-} best=0 n
    for i in $(seq "$count"); do
        shot "$name-$i"
        n=$(splash_near "$name-$i" "$x" "$y")
        [ "$n" -gt "$best" ] && best=$n
        [ -n "$enough" ] && [ "$best" -ge "$enough" ] && break
    done
    echo "$best"
}

# A press held for a few frames: the game fires in the frames whose last
# event is the press.
press() { xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; }

start_display
start_game
move_mouse 2 2
start_new_game
sleep 1
game_running || fail "the game ended before the level"
REACH=$(grep -m1 "^script: SCRIPT/$LEVEL_DIR/weapons.scr : dostrel : " "$WORK/stdout.txt" | sed 's/.* : //')
[ -n "$REACH" ] || fail "the log does not report the first weapon's reach"
[ "$RADIUS" -lt "$REACH" ] || fail "the ellipse's centre lies beyond the first weapon's reach ($RADIUS, $REACH)"
echo "the first weapon reaches $REACH"

# --- a click within reach: a shell comes down at the pointer and splashes ---
move_mouse "$CX" "$CY"
sleep 0.5
shot calm
calm=$(splash_near calm "$CX" "$CY")
calm_shells=$(shells calm)
[ "$calm_shells" -le 5 ] || fail "the scene shows the shell's colours without firing ($calm_shells pixels)"
press
hit=$(burst_peak click "$CX" "$CY" 12 $((calm + 15)))
echo "splash pixels at the ellipse's centre: $calm before the click, up to $hit after it"
[ "$hit" -ge $((calm + 15)) ] || fail "a click within reach showed no splash at the pointer ($calm before, $hit after)"

# --- beyond the reach nothing is fired; just within it a shell is ---
# Points on the line from the submarine through the ellipse's centre, 40
# pixels (on the unflattened sea) beyond and within the reach.
aim_from_submarine() {
    local name=$1 distance=$2 found
    shot "$name"
    found=$(locate_submarine "$name" "$SHOT_DIR/submarine-colours.txt" "$CX" "$CY" "$RADIUS" "$FRAME")
    [ "$found" != "none" ] || fail "$name: no submarine on the ellipse"
    read -r _ sx sy _ <<<"$found"
    awk -v sx="$sx" -v sy="$sy" -v cx="$CX" -v cy="$CY" -v d="$distance" 'BEGIN {
        ux = cx - sx; uy = (cy - sy) / 0.623; l = sqrt(ux * ux + uy * uy)
        printf "%d %d\n", sx + d * ux / l, sy + d * uy / l * 0.623 }'
}
sleep 3
read -r far_x far_y <<<"$(aim_from_submarine where-far $((REACH + 40)))"
move_mouse "$far_x" "$far_y"
sleep 0.4
shot far-calm
far_calm=$(splash_near far-calm "$far_x" "$far_y")
press
far=$(burst_peak far "$far_x" "$far_y" 3)
far_shells=0
for i in 1 2 3; do far_shells=$((far_shells + $(shells "far-$i"))); done
echo "beyond the reach at ($far_x, $far_y): $far_calm splash pixels before the click, up to $far after it, $far_shells shell pixels"
[ "$far" -le $((far_calm + 5)) ] && [ "$far_shells" -le 15 ] \
    || fail "a click beyond reach fired ($far_calm splash pixels before, $far after, $far_shells shell pixels)"

read -r near_x near_y <<<"$(aim_from_submarine where-near $((REACH - 40)))"
move_mouse "$near_x" "$near_y"
sleep 0.4
shot near-calm
near_calm=$(splash_near near-calm "$near_x" "$near_y")
press
near=$(burst_peak near "$near_x" "$near_y" 12 $((near_calm + 15)))
echo "just within the reach at ($near_x, $near_y): $near_calm before, up to $near after"
[ "$near" -ge $((near_calm + 15)) ] || fail "a click just within reach showed no splash ($near_calm before, $near after)"

# --- a held button fires until the gun is at its heat limit ---
# Every volley heats the gun more than the frames until the next one cool
# it: after some seconds it reaches its limit, and while the button stays
# down every further volley is charged and refused.
sleep 3
move_mouse "$CX" "$CY"
sleep 0.5
xdotool mousedown 1
firing=0
for i in 1 2 3 4; do shot "held-$i"; done
for i in 1 2 3 4; do [ "$(shells "held-$i")" -ge 20 ] && firing=$((firing + 1)); done
echo "held button: shells in flight in $firing of 4 screenshots"
[ "$firing" -ge 3 ] || fail "a held button does not keep firing (shells in $firing of 4 screenshots)"
sleep 4
stopped=0
for i in 1 2 3; do shot "hot-$i"; done
for i in 1 2 3; do [ "$(shells "hot-$i")" -le 5 ] && stopped=$((stopped + 1)); done
xdotool mouseup 1
echo "after about 10 s held: no shell in flight in $stopped of 3 screenshots"
[ "$stopped" -eq 3 ] || fail "the gun still fires after about 10 s of a held button"

# --- cooled, it fires again ---
sleep 4
shot cool-calm
cool_calm=$(splash_near cool-calm "$CX" "$CY")
press
cooled=$(burst_peak cooled "$CX" "$CY" 12 $((cool_calm + 15)))
echo "cooled: $cool_calm before the click, up to $cooled after it"
[ "$cooled" -ge $((cool_calm + 15)) ] || fail "the cooled gun does not fire again ($cool_calm before, $cooled after)"

# --- leave: Escape ends the game, the menu's last item ends the program ---
move_mouse 2 2
hold_key Escape
sleep 1
tap_key space  # past the game-over screen
sleep 0.5
tap_key Up
sleep 0.3
hold_key Return
for _ in $(seq 20); do game_running || break; tap_key space; sleep 0.5; done
wait_exit 30
grep -qxF "UVOLNEN SKRIPT ZBRANI Z PAMETI" "$WORK/stdout.txt" || fail "the log does not show the weapons released"
echo "gun fires passed"
