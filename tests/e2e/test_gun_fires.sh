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

use_level 1 delo images weapons

CX=$(script_value "$DELO" stred_x)
CY=$(script_value "$DELO" stred_y)
RADIUS=$(script_value "$DELO" radius)
SUB_PICTURE=$(script_value "$DELO" image)
FRAME=$(identify -format '%h' "$WORK/$SUB_PICTURE")
# The first weapon's splash: its number in the splash table of images.scr.
SPLASH_INDEX=$(script_value "$WEAPONS" zblunk)
SPLASH=$(splash_picture "$IMAGES" "$SPLASH_INDEX")
[ -f "$WORK/$SPLASH" ] || fail "splash $SPLASH_INDEX of the first weapon ($SPLASH) is missing"
SHELL=$(script_value "$WEAPONS" strela)
screen_colours "$SPLASH" keyed >"$SHOT_DIR/splash-colours.txt"
screen_colours "$SHELL" keyed >"$SHOT_DIR/shell-colours.txt"
slow_splash "$IMAGES" "$SPLASH_INDEX"
screen_colours "$SUB_PICTURE" keyed >"$SHOT_DIR/submarine-colours.txt"
# A shell that ends in a creature shows no splash: in this copy of the level
# the creatures do not come up while the test runs.
hold_back_creatures "$LEVEL_DIR"
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

# Aims at (x, y), counts the splash pixels there in the screenshot
# <name>-calm, presses and watches a burst of up to `count` screenshots
# <name>-1, ... (until `more` splash pixels than before have shown, when
# given). Prints the splash pixels before and the most after.
fire_at() {
    local name=$1 x=$2 y=$3 count=$4 more=${5:-} calm
    move_mouse "$x" "$y"
    sleep 0.4
    shot "$name-calm"
    calm=$(splash_near "$name-calm" "$x" "$y")
    press
    echo "$calm $(burst_peak "$name" "$x" "$y" "$count" ${more:+$((calm + more))})"
}

play_first_level
REACH=$(grep -m1 "^script: SCRIPT/$LEVEL_DIR/weapons.scr : dostrel : " "$WORK/stdout.txt" | sed 's/.* : //')
[ -n "$REACH" ] || fail "the log does not report the first weapon's reach"
[ "$RADIUS" -lt "$REACH" ] || fail "the ellipse's centre lies beyond the first weapon's reach ($RADIUS, $REACH)"
echo "the first weapon reaches $REACH"

# --- a click within reach: a shell comes down at the pointer and splashes ---
read -r calm hit <<<"$(fire_at click "$CX" "$CY" 12 15)"
calm_shells=$(shells click-calm)
[ "$calm_shells" -le 5 ] || fail "the scene shows the shell's colours without firing ($calm_shells pixels)"
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
# The shell's splash at the centre has faded (each comparison is with the
# splash pixels just before the click anyway).
sleep 1.5
read -r far_x far_y <<<"$(aim_from_submarine where-far $((REACH + 40)))"
read -r far_calm far <<<"$(fire_at far "$far_x" "$far_y" 3)"
far_shells=0
for i in 1 2 3; do far_shells=$((far_shells + $(shells "far-$i"))); done
echo "beyond the reach at ($far_x, $far_y): $far_calm splash pixels before the click, up to $far after it, $far_shells shell pixels"
[ "$far" -le $((far_calm + 5)) ] && [ "$far_shells" -le 15 ] \
    || fail "a click beyond reach fired ($far_calm splash pixels before, $far after, $far_shells shell pixels)"

read -r near_x near_y <<<"$(aim_from_submarine where-near $((REACH - 40)))"
read -r near_calm near <<<"$(fire_at near "$near_x" "$near_y" 12 15)"
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
held_since=$SECONDS
firing=0
for i in 1 2 3 4; do shot "held-$i"; done
for i in 1 2 3 4; do [ "$(shells "held-$i")" -ge 20 ] && firing=$((firing + 1)); done
echo "held button: shells in flight in $firing of 4 screenshots"
[ "$firing" -ge 3 ] || fail "a held button does not keep firing (shells in $firing of 4 screenshots)"
# Then shells stop: three screenshots in a row without one, within about
# 20 s of holding (screenshots come slower on a loaded machine, so they are
# counted until the gun has stopped, not for a fixed time).
stopped=0
for i in $(seq 30); do
    shot "hot-$i"
    if [ "$(shells "hot-$i")" -le 5 ]; then stopped=$((stopped + 1)); else stopped=0; fi
    [ "$stopped" -ge 3 ] && break
    [ "$SECONDS" -lt "$((held_since + 20))" ] || break
    sleep 0.3
done
xdotool mouseup 1
echo "held for $((SECONDS - held_since)) s: no shell in flight in the last $stopped screenshots"
[ "$stopped" -ge 3 ] || fail "the gun still fires after about 20 s of a held button"

# --- cooled, it fires again ---
sleep 4
read -r cool_calm cooled <<<"$(fire_at cooled "$CX" "$CY" 12 15)"
echo "cooled: $cool_calm before the click, up to $cooled after it"
[ "$cooled" -ge $((cool_calm + 15)) ] || fail "the cooled gun does not fire again ($cool_calm before, $cooled after)"

# --- leave: Escape ends the game, the menu's last item ends the program ---
move_mouse 2 2
leave_game 30
grep -qxF "UVOLNEN SKRIPT ZBRANI Z PAMETI" "$WORK/stdout.txt" || fail "the log does not show the weapons released"
echo "gun fires passed"
