#!/bin/bash
# The first level played into the second: the panel (life, lamp, air-support
# calls, score, creature tally), the gun firing within its reach only, a
# right click calling the support plane onto the pointer, shells killing the
# fish until the level is won, Escape's game-over screen. (Pausing, the
# arrows' speed and the bomber's raids are the game loop's and the planes'
# unit tests'.) This copy of the game grants two calls, plays splashes slower
# (a screenshot takes most of a second) and sends one fish up at the centre.
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
slow_splash "$L" "$GUN_SPLASH"; slow_splash "$L" "$BOMB_SPLASH"
sed -i 's/laser[^ ]* *[0-9]*/laser 2/' "$WORK/SCRIPT/misc.scr"
hold_back_creatures "$NEXT"
FISH=$(value potvory bitmap) FISH_ICON=$(value potvory skore_b)
# One kind, one fish to finish: it rises exactly at the centre 1600 frames
# into the level, when the gun and the plane have been tried, and stays there.
printf '[*RYBA]\nbitmap %s\nskore_b %s\ndeath_sound NULL\ncreate_sound NULL\npocet_snimku 36\nrychlost 0\ndolez 1
zivoty 10\ndolni_interval 1600\nhorni_interval 1601\nhloubka_max 121\nhloubka_min 120\nvynorovani 1\nsila 15\nsound 1
skore 100\nzbran -1\nvystrel_prodleva 0\nalfa 0\npocet 1\n[END]\n' "$FISH" "$FISH_ICON" >"$L/potvory.scr"

for what in "sub $(value delo image)" "gun $GUN_SPLASH" "bomb $BOMB_SPLASH" "plane $(record_value "$L/plane.scr" 2 bitmap)"; do
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

# --- the second level: Escape shows the game-over screen ---
pass_announcement "$NEXT"
leave_game "$NEXT"
read -r x y <<<"$(centred "$COMPLETED")"
[ "$(shown game-over "$COMPLETED" "$x" "$y")" -lt $(($(shown game-over "$(misc_picture "$NEXT" 2)" "$x" "$y") - 15)) ] ||
    fail "Escape showed the level-completed screen"
echo "level played passed"
