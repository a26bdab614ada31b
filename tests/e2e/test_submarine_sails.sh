#!/bin/bash
# The player's submarine in the real window: it sails the ellipse of the first
# level's "delo.scr" on its own, goes round faster while Right is held and
# slower again with Left, leaves a trail of foam behind it when fast, and
# shows the reach ring of its weapon. The submarine is found in screenshots
# by the colours of its own picture near the ellipse.
source "$(dirname "$0")/lib.sh" "$1" "$2"
source "$(dirname "$0")/scene.sh"

use_level 1 delo images
# The submarine is followed by its colours for a while: in this copy of the
# level the creatures do not come up to cross its path or ram it.
hold_back_creatures "$LEVEL_DIR"

CX=$(script_value "$DELO" stred_x)
CY=$(script_value "$DELO" stred_y)
RADIUS=$(script_value "$DELO" radius)
SUB_PICTURE=$(script_value "$DELO" image)
[ -f "$WORK/$SUB_PICTURE" ] || fail "the submarine picture $SUB_PICTURE is missing"
FRAME=$(identify -format '%h' "$WORK/$SUB_PICTURE")
STRIP=$(awk '/\[\*BARVA\]/ { getline; print $1; exit }' "$IMAGES")
[ -f "$WORK/$STRIP" ] || fail "the first particle strip $STRIP is missing"
echo "ellipse centre ($CX, $CY), radius $RADIUS, submarine frames $FRAME px, foam $STRIP"

screen_colours "$SUB_PICTURE" keyed >"$SHOT_DIR/submarine-colours.txt"
screen_colours "$STRIP" plain >"$SHOT_DIR/foam-colours.txt"
[ -s "$SHOT_DIR/submarine-colours.txt" ] || fail "the submarine picture has no opaque colour"

# Angle (degrees, 0 ... 360, growing clockwise on screen) and position of the
# submarine: the densest cluster of its colours on the ellipse. Prints
# "angle x y pixels".
locate() { locate_submarine "$1" "$SHOT_DIR/submarine-colours.txt" "$CX" "$CY" "$RADIUS" "$FRAME"; }

# How far (degrees, 0 ... 360) the submarine went round from one angle to the next.
advance() { awk -v a="$1" -v b="$2" 'BEGIN { d = b - a; if (d < 0) d += 360; printf "%.1f\n", d }'; }
greater() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Position in a screenshot: sets ANGLE, SUB_X, SUB_Y.
look_at() {
    local found
    found=$(locate "$1")
    [ "$found" != "none" ] || fail "$1: no submarine on the ellipse"
    read -r ANGLE SUB_X SUB_Y _ <<<"$found"
    echo "$1: submarine at ($SUB_X, $SUB_Y), angle $ANGLE" >&2
}
look() { shot "$1"; look_at "$1"; }

# Degrees gone round between two shots taken a short time apart; both shots
# are taken before either is examined.
measure() {
    local name=$1 a
    shot "$name-a"
    sleep 0.6
    shot "$name-b"
    look_at "$name-a"
    a=$ANGLE
    look_at "$name-b"
    advance "$a" "$ANGLE"
}

# Into the first level: the submarine sails from its first frame on.
play_first_level

# --- on its own it drifts slowly round the ellipse ---
look drift-1
first_angle=$ANGLE
first_x=$SUB_X
first_y=$SUB_Y
sleep 3
look drift-2
drift=$(advance "$first_angle" "$ANGLE")
greater "$drift" 1 || fail "the submarine does not move on its own (advanced $drift degrees in 3 s)"
greater 90 "$drift" || fail "the submarine drifts too fast ($drift degrees in 3 s)"
[ "$first_x,$first_y" != "$SUB_X,$SUB_Y" ] || fail "the submarine stayed at ($SUB_X, $SUB_Y)"
slow=$(measure rest)
echo "at rest: $slow degrees per interval"

# --- Right speeds it up ---
xdotool keydown Right
sleep 1
fast=$(measure right)
look right-wake
wake_angle=$ANGLE
xdotool keyup Right
echo "with Right held: $fast degrees per interval"
greater "$fast" "$(awk -v s="$slow" 'BEGIN { print 4 * s + 5 }')" \
    || fail "holding Right did not speed the submarine up ($fast against $slow degrees)"

# --- the wake: foam trails behind the fast submarine, none ahead of it ---
foam_around() {
    local name=$1 from=$2 to=$3
    pixels_of "$name" "$(ellipse_band "$CX" "$CY" "$RADIUS" "$FRAME")" |
        awk -v cx="$CX" -v cy="$CY" -v r="$RADIUS" -v size="$FRAME" -v from="$from" -v to="$to" \
        -v colours="$SHOT_DIR/foam-colours.txt" -v own="$SHOT_DIR/submarine-colours.txt" '
        BEGIN {
            while ((getline line < colours) > 0) foam[line] = 1
            while ((getline line < own) > 0) sub_colour[line] = 1
            pi = atan2(0, -1)
        }
        ($3 in foam) && !($3 in sub_colour) {
            dx = $1 - cx; dy = ($2 - cy) / 0.623
            d = sqrt(dx * dx + dy * dy)
            if (d < r - size || d > r + size) next
            a = atan2(dy, dx) * 180 / pi; if (a < 0) a += 360
            rel = a - from; if (rel < 0) rel += 360
            span = to - from; if (span < 0) span += 360
            if (rel <= span) n++
        }
        END { print n + 0 }'
}
behind=$(foam_around right-wake "$(awk -v a="$wake_angle" 'BEGIN { print (a + 360 - 70) % 360 }')" \
                                "$(awk -v a="$wake_angle" 'BEGIN { print (a + 360 - 12) % 360 }')")
ahead=$(foam_around right-wake "$(awk -v a="$wake_angle" 'BEGIN { print (a + 12) % 360 }')" \
                               "$(awk -v a="$wake_angle" 'BEGIN { print (a + 70) % 360 }')")
echo "foam pixels behind the submarine: $behind, ahead: $ahead"
greater "$behind" "$((ahead + 15))" || fail "no wake behind the fast submarine ($behind behind, $ahead ahead)"

# --- Left slows it down again ---
xdotool keydown Left
sleep 1
slowed=$(measure left)
xdotool keyup Left
echo "with Left held: $slowed degrees per interval"
greater "$(awk -v f="$fast" 'BEGIN { print f / 4 }')" "$slowed" \
    || fail "holding Left did not slow the submarine down ($slowed against $fast degrees)"

# --- the reach ring, judged once the log tells the weapon's reach ---
look ring
ring_x=$SUB_X
ring_y=$SUB_Y

# --- leave: Escape ends the game, the menu's last item ends the program ---
leave_game 60

log="$WORK/stdout.txt"
grep -qxF "script: SCRIPT/$LEVEL_DIR/delo.scr : INICIALIZUJI PONORKU ... #0 ...OK" "$log" \
    || fail "the log does not show the submarine built from delo.scr"
grep -q "^UVOLNENO DELO(0x[0-9a-f]*) Z PAMETI$" "$log" || fail "the log does not show the submarine released"

# Pure green dots round the submarine: "dots on the reach, dots elsewhere",
# distances measured with the vertical undone by 0.623. The submarine's
# position comes from the colours of its picture, a few pixels off its true
# centre, hence the width of the band.
ring_of() {
    local around=$(($4 + 40))
    pixels_of "$1" "$(box_geometry $(($2 - around)) $(($3 - around)) $(($2 + around)) $(($3 + around)))" |
        awk -v x0="$2" -v y0="$3" -v reach="$4" '
        {
            split($3, c, ",")
            if (c[1] != 0 || c[3] != 0 || c[2] == 0) next
            dx = $1 - x0; dy = ($2 - y0) / 0.623
            d = sqrt(dx * dx + dy * dy)
            if (d < 8 || d > reach + 40) next
            if (d > reach - 15 && d < reach + 15) on++; else off++
        }
        END { print on + 0, off + 0 }'
}

# The weapon catalogue reports each weapon's reach; the first one printed is
# the weapon the submarine starts with.
reach=$(grep -m1 "^script: SCRIPT/$LEVEL_DIR/weapons.scr : dostrel : " "$log" | sed 's/.* : //' || true)
if [ -n "$reach" ] && [ "$reach" -gt 8 ]; then
    read -r on_ring off_ring <<<"$(ring_of ring "$ring_x" "$ring_y" "$reach")"
    echo "reach $reach: $on_ring green dots on the ring, $off_ring elsewhere"
    [ "$on_ring" -ge 100 ] || fail "the weapon reaches $reach but the ring shows $on_ring dots"
    [ "$on_ring" -gt $((4 * off_ring)) ] || fail "green dots off the ring: $off_ring against $on_ring on it"
else
    echo "the first weapon has no reach in this build (${reach:-not reported}): no ring to see"
fi
echo "submarine sails passed"
