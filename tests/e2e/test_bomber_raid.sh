#!/bin/bash
# The enemy bomber in the real window, second level: it crosses the sea and
# drops its bombs over the band just outside the submarine's ellipse, where
# they come down with their splash. This test's copy of the game plays the
# second level first, sends a bomber every 240 frames instead of the level's
# interval and plays the bombs' splash slower (12 frames a picture), since a
# screenshot takes most of a second. Nothing else of the level splashes with
# the bombs' picture: the player does not fire.
source "$(dirname "$0")/lib.sh" "$1" "$2"
source "$(dirname "$0")/scene.sh"

use_level 2 plane weapons images delo
[ "$(script_value "$PLANES" enemy_plane)" -gt 0 ] || fail "the second level sends no bomber"

BOMBER=$(record_value "$PLANES" 0 bitmap)
BOMB=$(record_value "$PLANES" 0 zbran)
SPLASH_INDEX=$(record_value "$WEAPONS" "$BOMB" zblunk)
SPLASH=$(splash_picture "$IMAGES" "$SPLASH_INDEX")
for f in "$BOMBER" "$SPLASH"; do [ -f "$WORK/$f" ] || fail "picture $f is missing"; done
CX=$(script_value "$DELO" stred_x)
CY=$(script_value "$DELO" stred_y)
RADIUS=$(script_value "$DELO" radius)
echo "bomber $BOMBER drops weapon $BOMB, splashing with $SPLASH; ellipse ($CX, $CY) radius $RADIUS"

sed -n 2p "$WORK/SCRIPT/levels.scr" >"$WORK/levels.second" && mv "$WORK/levels.second" "$WORK/SCRIPT/levels.scr"
sed -i 's/enemy_plane *[0-9]*/enemy_plane 240/' "$PLANES"
slow_splash "$IMAGES" "$SPLASH_INDEX"
# Creatures share colours with the bomber and its splash: in this copy of
# the level they do not come up while the test runs.
hold_back_creatures "$LEVEL_DIR"
screen_colours "$BOMBER" keyed >"$SHOT_DIR/bomber-colours.txt"
screen_colours "$SPLASH" keyed >"$SHOT_DIR/splash-colours.txt"

# Where the splash colours of a screenshot lie: "x y pixels", their centre.
splash_centre() {
    pixels_of "$1" 640x430+0+50 | awk -v colours="$SHOT_DIR/splash-colours.txt" '
        BEGIN { while ((getline line < colours) > 0) wanted[line] = 1 }
        $2 >= 50 && ($3 in wanted) { n++; x += $1; y += $2 }
        END { if (n) printf "%d %d %d\n", x / n, y / n, n; else print "0 0 0" }'
}

play_first_level
grep -qF "SCRIPT/$LEVEL_DIR/plane.scr" "$WORK/stdout.txt" || fail "the second level was not loaded"
move_mouse 630 470

# Screenshots for about 18 seconds, looked at afterwards.
COUNT=24
for i in $(seq "$COUNT"); do shot "raid-$i"; done
least_bomber=100000
least_splash=100000
for i in $(seq "$COUNT"); do
    read -r "b[$i]" "s[$i]" <<<"$(count_colours_in "raid-$i" "$SHOT_DIR/bomber-colours.txt" 0 50 639 479 \
        "$SHOT_DIR/splash-colours.txt")"
    [ "${b[$i]}" -lt "$least_bomber" ] && least_bomber=${b[$i]}
    [ "${s[$i]}" -lt "$least_splash" ] && least_splash=${s[$i]}
done
flying=0
best=0
best_shot=0
for i in $(seq "$COUNT"); do
    [ "${b[$i]}" -ge $((least_bomber + 100)) ] && flying=$((flying + 1))
    [ "${s[$i]}" -gt "$best" ] && { best=${s[$i]}; best_shot=$i; }
done
echo "bomber in $flying of $COUNT screenshots; splash pixels from $least_splash up to $best"
[ "$flying" -ge 2 ] || fail "no bomber crossed the sea"
[ "$best" -ge $((least_splash + 60)) ] || fail "the bomber's bombs did not come down"

# The splash lies about the submarine's ellipse: bombs are dropped just
# outside it and carry on a little along the bomber's course.
read -r sx sy sn <<<"$(splash_centre "raid-$best_shot")"
distance=$(awk -v x="$sx" -v y="$sy" -v cx="$CX" -v cy="$CY" 'BEGIN { dx = x - cx; dy = (y - cy) / 0.623; printf "%d", sqrt(dx * dx + dy * dy) }')
echo "strongest splash in screenshot $best_shot around ($sx, $sy): $distance from the ellipse's centre on the unflattened sea"
[ "$distance" -ge $((RADIUS - 90)) ] && [ "$distance" -le $((RADIUS + 110)) ] \
    || fail "the bombs came down $distance from the centre, far from the ellipse of radius $RADIUS"

# --- leave ---
move_mouse 2 2
leave_game 30
grep -qxF "UVOLNEN SKRIPT LETADEL Z PAMETI" "$WORK/stdout.txt" || fail "the log does not show the planes released"
echo "bomber raid passed"
