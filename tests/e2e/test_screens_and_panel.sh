#!/bin/bash
# The screens around and inside a level, and the panel over it, in the real
# window: the announcement with the level's code word, the level with its
# instrument panel (life bar, ready lamp, air-support icons, score, creature
# tally), the pause on P and the game going on after P again, the game-over
# screen after Escape, and back to the menu. Pictures are recognised by
# comparing their opaque pixels with the data set's own files.
source "$(dirname "$0")/lib.sh" "$1" "$2"
source "$(dirname "$0")/scene.sh"

use_level 1 images panel potvory
CODE=$(awk '{ print $2; exit }' "$WORK/SCRIPT/levels.scr")
# The panel is read while the submarine sails: in this copy of the level the
# creatures do not come up to ram it or shoot at it and change its life bar.
hold_back_creatures "$LEVEL_DIR"

# The n-th (from 0) "misc" line of images.scr: "picture x,y".
misc_line() { awk -v n="$1" '{ for (i = 1; i <= NF; i++) if (index($i, "misc") && n-- == 0) { print $(i + 1), $(i + 2); exit } }' "$IMAGES"; }
read -r COMPLETED_PICTURE _ <<<"$(misc_line 0)"
read -r ANNOUNCE_PICTURE ANNOUNCE_AT <<<"$(misc_line 1)"
read -r GAMEOVER_PICTURE _ <<<"$(misc_line 2)"
read -r PAUSE_PICTURE _ <<<"$(misc_line 3)"
CODE_X=${ANNOUNCE_AT%,*}
CODE_Y=${ANNOUNCE_AT#*,}
panel_word() { sed -n "$1p" "$PANEL"; }
panel_pos() { sed -n "$((13 + $1))p" "$PANEL" | tr ',' ' '; }
LAMP=$(panel_word 6); LIFE=$(panel_word 7); ICON=$(panel_word 9); DIGITS=$(panel_word 10)
read -r LIFE_X LIFE_Y <<<"$(panel_pos 2)"
read -r ICON_X ICON_Y <<<"$(panel_pos 3)"
read -r LAMP_X LAMP_Y <<<"$(panel_pos 7)"
read -r SCORE_X SCORE_Y <<<"$(panel_pos 9)"
CALLS=$(script_value "$WORK/SCRIPT/misc.scr" laser)
echo "code $CODE at $CODE_X,$CODE_Y; life at $LIFE_X,$LIFE_Y; $CALLS air-support calls from $ICON_X,$ICON_Y"

size_of() { identify -format '%w %h' "$WORK/$1"; }

# Per cent of the opaque pixels of a picture (or of the part sx,sy,w,h of it)
# that a screenshot shows at (x, y), colours compared as the 16-bit screen
# holds them. The picture's top-left colour is its transparent one.
match_picture() {
    local name=$1 picture=$2 x=$3 y=$4 crop="" pw ph
    if [ $# -ge 8 ]; then crop="${7}x${8}+${5}+${6}"; fi
    read -r pw ph <<<"$(convert "$WORK/$picture" ${crop:+-crop "$crop" +repage} -format '%w %h' info:)"
    {
        pixels_of_file "$WORK/$picture" 1x1+0+0 | sed 's/^/K /'
        pixels_of_file "$WORK/$picture" "$crop" | sed 's/^/P /'
        pixels_of "$name" "${pw}x${ph}+${x}+${y}" | sed 's/^/S /'
    } | awk -v x="$x" -v y="$y" -v sx="${5:-0}" -v sy="${6:-0}" '
        function q(rgb) { split(rgb, c, ","); return int(c[1] / 8) "," int(c[2] / 4) "," int(c[3] / 8) }
        $1 == "K" { key = q($4); next }
        $1 == "P" { picture[($2 - sx) "," ($3 - sy)] = q($4); next }
        { shown[($2 - x) "," ($3 - y)] = q($4) }
        END {
            for (p in picture) {
                if (picture[p] == key) continue
                total++
                if (p in shown && shown[p] == picture[p]) same++
            }
            printf "%d\n", total ? 100 * same / total : 0
        }'
}

expect_picture() {
    local what=$1 at_least=$2 score
    shift 2
    score=$(match_picture "$@")
    echo "$what: $score % of its pixels shown"
    [ "$score" -ge "$at_least" ] || fail "$what: only $score % of the picture is on the screen"
}

expect_no_picture() {
    local what=$1 score
    shift
    score=$(match_picture "$@")
    echo "$what: $score % of its pixels shown"
    [ "$score" -lt 30 ] || fail "$what is still on the screen ($score %)"
}

# Position of a picture centred on the 640 x 480 screen.
centred_at() {
    local w h
    read -r w h <<<"$(size_of "$1")"
    echo "$((320 - w / 2)) $((240 - h / 2))"
}

short_intro
short_credits
start_display
start_game
move_mouse 2 2

# Through the intro and the menu's first item until the announcement shows.
read -r AX AY <<<"$(centred_at "$ANNOUNCE_PICTURE")"
wait_for_main_menu
hold_key Return
shoot_until announcement 120 0.25 shows_centred_picture "$ANNOUNCE_PICTURE" || fail "the announcement never showed"
expect_picture "announcement" 80 announcement "$ANNOUNCE_PICTURE" "$AX" "$AY"
[ "$(pixel announcement 5 5)" = "0,0,0" ] || fail "the announcement's screen is not black around the picture"

# The code word: the font's warm letters over the picture's cold box, where
# the picture itself has none.
warm_pixels() {
    pixels_of_file "$1" "${2}x${3}+${4}+${5}" | awk '
        { split($3, c, ","); if (c[1] > 180 && c[2] > 100 && c[3] < 140) n++ }
        END { print n + 0 }'
}
convert "$WORK/$ANNOUNCE_PICTURE" "$SHOT_DIR/ref-announcement.png"
code_width=$((${#CODE} * 22))
on_screen=$(warm_pixels "$SHOT_DIR/announcement.png" "$code_width" 24 "$CODE_X" "$CODE_Y")
in_picture=$(warm_pixels "$SHOT_DIR/ref-announcement.png" "$code_width" 24 $((CODE_X - AX)) $((CODE_Y - AY)))
beyond=$(warm_pixels "$SHOT_DIR/announcement.png" 60 24 $((CODE_X + code_width + 10)) "$CODE_Y")
echo "code word $CODE: $on_screen letter pixels (picture alone: $in_picture, beyond the word: $beyond)"
[ "$on_screen" -gt $((in_picture + 100)) ] || fail "the code word $CODE is not written at $CODE_X,$CODE_Y"
[ "$beyond" -lt 10 ] || fail "letters beyond the code word $CODE"

# --- the level with its panel ---
tap_key space
not_announced() { ! shows_centred "$1" "$ANNOUNCE_PICTURE"; }
shoot_until level 40 0.25 not_announced || fail "a key did not end the announcement"
sleep 0.5
shot level
expect_no_picture "announcement after a key" level "$ANNOUNCE_PICTURE" "$AX" "$AY"
expect_picture "life bar (full)" 90 level "$LIFE" "$LIFE_X" "$LIFE_Y"
expect_picture "ready lamp (cold gun)" 90 level "$LAMP" "$LAMP_X" "$LAMP_Y"
read -r icon_w _ <<<"$(size_of "$ICON")"
for i in $(seq 0 $((CALLS - 1))); do
    expect_picture "air-support icon $((i + 1))" 90 level "$ICON" $((ICON_X + i * (icon_w + 1))) "$ICON_Y"
done
read -r digits_w digits_h <<<"$(size_of "$DIGITS")"
expect_picture "score 0" 90 level "$DIGITS" "$SCORE_X" "$SCORE_Y" 0 0 $((digits_w / 10)) "$digits_h"
# The tally: the first kind's panel picture at the top of the column.
kinds=$(grep -o '\[\*' "$CREATURES" | wc -l)
first_icon=$(script_value "$CREATURES" skore_b)
read -r _ first_h <<<"$(size_of "$first_icon")"
expect_picture "first creature kind in the tally" 90 level "$first_icon" 1 $((240 - first_h * (kinds - 1) / 2))

# --- pause and resume ---
# P is pressed briefly, in one xdotool call: a press that lasts beyond the
# end of the pause (its 100 ms and a frame) would pause again at once.
tap_p() {
    xdotool keydown p sleep 0.04 keyup p
    sleep 0.1
}
tap_p
sleep 0.5
shot paused-1
read -r PX PY <<<"$(centred_at "$PAUSE_PICTURE")"
expect_picture "pause" 90 paused-1 "$PAUSE_PICTURE" "$PX" "$PY"
sleep 1
shot paused-2
[ "$(shot_difference paused-1 paused-2)" = "0" ] || fail "the game went on during the pause"
tap_p
sleep 0.5
shot resumed-1
sleep 0.5
shot resumed-2
expect_no_picture "pause after P again" resumed-2 "$PAUSE_PICTURE" "$PX" "$PY"
[ "$(shot_difference resumed-1 resumed-2)" != "0" ] || fail "the game did not go on after the pause"
expect_picture "life bar after the pause" 90 resumed-2 "$LIFE" "$LIFE_X" "$LIFE_Y"

# --- Escape: game over over the last frame ---
hold_key Escape
sleep 1
shot game-over
read -r GX GY <<<"$(centred_at "$GAMEOVER_PICTURE")"
expect_picture "game over" 90 game-over "$GAMEOVER_PICTURE" "$GX" "$GY"
expect_picture "the last frame's panel under game over" 90 game-over "$LIFE" "$LIFE_X" "$LIFE_Y"
# The two end pictures share their frame: the game-over one must fit better.
read -r CX CY <<<"$(centred_at "$COMPLETED_PICTURE")"
completed=$(match_picture game-over "$COMPLETED_PICTURE" "$CX" "$CY")
over=$(match_picture game-over "$GAMEOVER_PICTURE" "$GX" "$GY")
echo "level completed picture: $completed %, game over picture: $over %"
[ "$completed" -lt $((over - 15)) ] || fail "Escape showed the level-completed screen"
sleep 1
shot game-over-still
[ "$(shot_difference game-over game-over-still)" = "0" ] || fail "the game-over screen did not wait"

# --- a key: back to the menu; its last item leaves ---
tap_key space
sleep 1
shot menu
expect_no_picture "game over after a key" menu "$GAMEOVER_PICTURE" "$GX" "$GY"
tap_key Up
sleep 0.3
hold_key Return
for _ in $(seq 20); do game_running || break; tap_key space; sleep 0.5; done
wait_exit 60

grep -qxF "UVOLNEN SKRIPT PANEL Z PAMETI" "$WORK/stdout.txt" || fail "the log does not show the panel released"
if grep -q "GFX/panel\|$ANNOUNCE_PICTURE\|$PAUSE_PICTURE" "$WORK/stderr.txt"; then
    fail "pictures of the panel or the screens did not load"
fi
echo "screens and panel passed"
