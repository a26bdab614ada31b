#!/bin/bash
# The first level played into the second: the panel (life, lamp, air-support
# calls, score, creature tally), P pausing and resuming, Right and Left
# changing the submarine's speed, the gun firing within its reach only, a
# right click calling the support plane onto the pointer, shells killing the
# fish until the level is won, the bomber's raid, Escape's game-over screen.
# This copy of the game grants two calls, plays splashes slower (a screenshot
# takes most of a second), sends one fish up at the centre and a bomber
# every 240 frames.
source "$(dirname "$0")/lib.sh" "$1" "$2"

LEVEL=$(level_dir 1) NEXT=$(level_dir 2)
L="$WORK/SCRIPT/$LEVEL"
value() { script_value "$L/$1.scr" "$2"; }
CX=$(value delo stred_x) CY=$(value delo stred_y)
# The value of a key in the n-th (from 1) record of a script of records.
record_value() { awk -v n="$2" -v key="$3" '/^\*/ { r++ } r == n && $1 == key { print $2; exit }' "$1"; }
splash() { awk -v n="$2" '/\[\*ZBLUNK\]/ { on = 1; next } on && NF { if (n-- == 0) { print $1; exit } }' "$1/images.scr"; }
slow_splash() { sed -i -E "s|^($2 +[0-9]+) +[0-9]+|\1 20|" "$1/images.scr"; }
GUN_SPLASH=$(splash "$L" "$(record_value "$L/weapons.scr" 1 zblunk)")
BOMB_SPLASH=$(splash "$L" "$(record_value "$L/weapons.scr" $(($(record_value "$L/plane.scr" 2 zbran) + 1)) zblunk)")
N="$WORK/SCRIPT/$NEXT"
RAID_SPLASH=$(splash "$N" "$(record_value "$N/weapons.scr" $(($(record_value "$N/plane.scr" 1 zbran) + 1)) zblunk)")
slow_splash "$L" "$GUN_SPLASH"; slow_splash "$L" "$BOMB_SPLASH"; slow_splash "$N" "$RAID_SPLASH"
sed -i 's/laser[^ ]* *[0-9]*/laser 2/' "$WORK/SCRIPT/misc.scr"
sed -i 's/enemy_plane *[0-9]*/enemy_plane 240/' "$N/plane.scr"
hold_back_creatures "$NEXT"
FISH=$(value potvory bitmap) FISH_ICON=$(value potvory skore_b)
# One kind, one fish to finish: it rises exactly at the centre 1600 frames
# into the level, when the gun and the plane have been tried, and stays there.
printf '[*RYBA]\nbitmap %s\nskore_b %s\ndeath_sound NULL\ncreate_sound NULL\npocet_snimku 36\nrychlost 0\ndolez 1
zivoty 10\ndolni_interval 1600\nhorni_interval 1601\nhloubka_max 121\nhloubka_min 120\nvynorovani 1\nsila 15\nsound 1
skore 100\nzbran -1\nvystrel_prodleva 0\nalfa 0\npocet 1\n[END]\n' "$FISH" "$FISH_ICON" >"$L/potvory.scr"

for what in "sub $(value delo image)" "gun $GUN_SPLASH" "bomb $BOMB_SPLASH" "raid $RAID_SPLASH" \
            "plane $(record_value "$L/plane.scr" 2 bitmap)" "bomber $(record_value "$N/plane.scr" 1 bitmap)"; do
    screen_colours "${what#* }" >"$SHOT_DIR/${what% *}-colours.txt"
done

# Centre "x y" of the pixels of a screenshot whose colours a file lists, or
# "none" when fewer than 30; the panel (the top 60 rows) left out.
colour_centre() {
    convert "$SHOT_DIR/$1.png" -depth 8 -compress none ppm:- | awk -v f="$2" '
        BEGIN { while ((getline l < f) > 0) want[l] = 1 }
        { for (i = 1; i <= NF; i++) { if (h < 4) { head[++h] = $i; continue }
              v[k % 3] = $i; if (++k % 3) continue
              p = k / 3 - 1; if ((v[0] "," v[1] "," v[2]) in want && p >= 640 * 60) { n++; x += p % 640; y += int(p / 640) } } }
        END { if (n < 30) print "none"; else printf "%d %d\n", x / n, y / n }'
}
# Angle (degrees, clockwise) of the submarine round the ellipse.
angle() {
    colour_centre "$1" "$SHOT_DIR/sub-colours.txt" | awk -v cx="$CX" -v cy="$CY" '$1 == "none" { exit 1 }
        { printf "%d\n", (atan2(($2 - cy) / 0.623, $1 - cx) * 45 / atan2(1, 1) + 360) % 360 }' || fail "$1: no submarine"
}
# Degrees gone round in 0.6 s, both screenshots taken before either is read.
sailed() { shot "$1-a"; sleep 0.6; shot "$1-b"; echo $((($(angle "$1-b") - $(angle "$1-a") + 360) % 360)); }
splash_near() { count_colours_in "$1" "$SHOT_DIR/$2-colours.txt" $(($3 - 50)) $(($4 - 90)) $(($3 + 50)) $(($4 + 50)); }
# The most splash pixels near (x, y) in up to `count` screenshots <name>-i,
# once `enough` have shown no more.
splash_peak() {
    local best=0 n
    for i in $(seq "$5"); do
        shot "$1-$i"; n=$(splash_near "$1-$i" "$2" "$3" "$4"); best=$((n > best ? n : best))
        [ "$best" -lt "$6" ] || break
    done
    echo "$best"
}

short_intro; start_display; start_game
move_mouse 2 2; start_new_game

# --- the panel at the start ---
shot level
panel() { sed -n "$1p" "$L/panel.scr" | tr ',' ' '; }
expect_shown "life bar (full)" 90 level "$(panel 7)" $(panel 15)
expect_shown "ready lamp (cold gun)" 90 level "$(panel 6)" $(panel 20)
read -r ICON_X ICON_Y <<<"$(panel 16)"
ICON=$(panel 9) ICON_W=$(identify -format '%w' "$WORK/$(panel 9)")
calls() { local n=0; for i in 0 1 2; do [ "$(shown "$1" "$ICON" $((ICON_X + i * (ICON_W + 1))) "$ICON_Y")" -ge 90 ] && n=$((n + 1)); done; echo $n; }
[ "$(calls level)" = 2 ] || fail "the panel does not show the two air-support calls granted ($(calls level))"
expect_shown "score 0" 90 level "$(panel 10)[$(convert "$WORK/$(panel 10)" -format '%[fx:int(w/10)]x%h' info:)+0+0]" $(panel 22)
expect_shown "the fish in the tally (its only kind, mid-height)" 90 level "$FISH_ICON" 1 240

# --- P pauses; P again goes on ---
PAUSE=$(misc_picture "$LEVEL" 3)
# One short press: one lasting beyond the pause's end would pause again.
xdotool keydown p sleep 0.04 keyup p; sleep 0.5
shot paused-1; sleep 1; shot paused-2
shows_centred "$PAUSE" 90 paused-1 || fail "P did not show the pause"
[ "$(region_difference paused-1 paused-2 0 0 640 480)" = 0 ] || fail "the game went on during the pause"
xdotool keydown p sleep 0.04 keyup p; sleep 0.5
shot resumed-1; sleep 0.5; shot resumed-2
! shows_centred "$PAUSE" 30 resumed-2 || fail "the pause stayed after P again"
[ "$(region_difference resumed-1 resumed-2 0 0 640 480)" != 0 ] || fail "the game did not go on after the pause"

# --- Right speeds the submarine up, Left slows it ---
rest=$(sailed rest)
xdotool keydown Right; sleep 1; fast=$(sailed right); xdotool keyup Right
xdotool keydown Left; sleep 1; slowed=$(sailed left); xdotool keyup Left
[ "$fast" -gt $((4 * rest + 5)) ] || fail "Right did not speed the submarine up ($rest, then $fast degrees)"
[ $((4 * slowed)) -lt "$fast" ] || fail "Left did not slow the submarine down ($fast, then $slowed degrees)"

# --- the gun: a splash at the pointer within reach, nothing beyond ---
REACH=$(grep -m1 "^script: SCRIPT/$LEVEL/weapons.scr : dostrel : " "$WORK/stdout.txt" | sed 's/.* : //')
# A point on the line from the submarine through the centre, d pixels away.
along() {
    shot "$1"; read -r sx sy <<<"$(colour_centre "$1" "$SHOT_DIR/sub-colours.txt")"
    awk -v sx="$sx" -v sy="$sy" -v cx="$CX" -v cy="$CY" -v d="$2" 'BEGIN { ux = cx - sx; uy = (cy - sy) / 0.623
        l = sqrt(ux * ux + uy * uy); printf "%d %d\n", sx + d * ux / l, sy + d * uy / l * 0.623 }'
}
# Beyond first: a splash within reach lingers long in this slowed copy.
for try in "far $((REACH + 40)) 3 0" "near $((REACH - 40)) 12 15"; do
    read -r name distance tries least <<<"$try"
    read -r x y <<<"$(along "where-$name" "$distance")"
    move_mouse "$x" "$y"; sleep 0.3; shot "$name-calm"
    calm=$(splash_near "$name-calm" gun "$x" "$y")
    press
    peak=$(splash_peak "$name" gun "$x" "$y" "$tries" $((calm + 15)))
    [ "$least" = 0 ] && { [ "$peak" -le $((calm + 5)) ] || fail "a click beyond the reach fired ($peak splash pixels)"; }
    [ "$peak" -ge $((calm + least)) ] || fail "a click within the reach showed no splash at the pointer"
done

# --- a right click calls the support plane onto the pointer ---
move_mouse 470 190; sleep 0.4; shot calm
calm=$(splash_near calm bomb 470 190) calm_plane=$(count_colours_in calm "$SHOT_DIR/plane-colours.txt" 0 50 639 479)
press 3
flying=0
for i in $(seq 30); do
    shot "call-$i"
    [ "$(count_colours_in "call-$i" "$SHOT_DIR/plane-colours.txt" 0 50 639 479)" -ge $((calm_plane + 40)) ] && flying=1
    [ "$(splash_near "call-$i" bomb 470 190)" -ge $((calm + 30)) ] && break
done
[ "$flying" = 1 ] || fail "no plane crossed the sea after the call"
[ "$(splash_near "call-$i" bomb 470 190)" -ge $((calm + 30)) ] || fail "the support's bomb did not come down at the pointer"
[ "$(calls "call-$i")" = 1 ] || fail "the call was not taken from the panel ($(calls "call-$i") shown)"

# --- shells on the centre kill the fish rising there until the level is won ---
COMPLETED=$(misc_picture "$LEVEL" 0)
move_mouse "$CX" "$CY"
for i in $(seq 80); do shot play; shows_centred "$COMPLETED" 80 play && break; press; sleep 0.3; done
shows_centred "$COMPLETED" 80 play || fail "the level-completed screen did not show"
tap_key space

# --- the second level: the bomber crosses the sea and its bombs come down ---
pass_announcement "$NEXT"
move_mouse 630 470
# Screenshots for 16 s whatever a screenshot costs (two or three raids);
# bomber and splash pixels of each, against the fewest of any.
shots=0 until=$((SECONDS + 16))
while [ "$SECONDS" -lt "$until" ] || [ "$shots" -lt 20 ]; do shots=$((shots + 1)); shot "raid-$shots"; sleep 0.2; done
for i in $(seq "$shots"); do
    echo "raid-$i $(count_colours_in "raid-$i" "$SHOT_DIR/bomber-colours.txt" 0 50 639 479)" \
         "$(count_colours_in "raid-$i" "$SHOT_DIR/raid-colours.txt" 0 50 639 479)"
done >"$SHOT_DIR/raid.txt"
flying=$(sort -k2n "$SHOT_DIR/raid.txt" | awk 'NR == 1 { b0 = $2 } $2 >= b0 + 100 { n++ } END { print n + 0 }')
best=$(sort -k3n "$SHOT_DIR/raid.txt" | awk 'NR == 1 { s0 = $3 } END { print $3 - s0 }')
[ "$flying" -ge 2 ] && [ "$best" -ge 60 ] || fail "no bomber dropped its bombs ($flying screenshots with it, $best more splash pixels)"
leave_game "$NEXT"
read -r x y <<<"$(centred "$COMPLETED")"
[ "$(shown game-over "$COMPLETED" "$x" "$y")" -lt $(($(shown game-over "$(misc_picture "$NEXT" 2)" "$x" "$y") - 15)) ] ||
    fail "Escape showed the level-completed screen"
for part in POTVOR LETADEL ZBRANI PANEL; do
    grep -qxF "UVOLNEN SKRIPT $part Z PAMETI" "$WORK/stdout.txt" || fail "the log does not show the $part script released"
done
echo "level played passed"
