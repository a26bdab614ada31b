# Helpers of the window tests that look at the scene of a level: the colours
# of the game's own pictures as the 16-bit screen shows them, the pixels of a
# screenshot, where the submarine is, and the test's own copies of the
# level's scripts. Sourced after lib.sh.

# Makes the n-th level of the catalogue (from 1) the test's: LEVEL_DIR, its
# folder L and the paths of its scripts DELO, IMAGES, WEAPONS, PANEL,
# PLANES and CREATURES; fails unless the scripts named (delo, images, ...)
# are there.
use_level() {
    local n=$1 name
    shift
    [ -f "$WORK/SCRIPT/levels.scr" ] || fail "the run folder has no SCRIPT/levels.scr"
    LEVEL_DIR=$(level_dir "$n")
    [ -n "$LEVEL_DIR" ] || fail "the run folder has no level $n"
    L="$WORK/SCRIPT/$LEVEL_DIR"
    DELO="$L/delo.scr" IMAGES="$L/images.scr" WEAPONS="$L/weapons.scr"
    PANEL="$L/panel.scr" PLANES="$L/plane.scr" CREATURES="$L/potvory.scr"
    for name in "$@"; do [ -f "$L/$name.scr" ] || fail "the level $LEVEL_DIR lacks $name.scr"; done
}

# The value after `key` in record n (from 0) of a script whose records start
# with a word holding "*".
record_value() {
    awk -v n="$2" -v key="$3" '{ for (i = 1; i <= NF; i++) {
        if (index($i, "*")) { r++; continue }
        if (r == n + 1 && $i == key) { print $(i + 1); exit } } }' "$1"
}

# The picture of splash n (from 0) of the splash table of an images.scr.
splash_picture() {
    awk -v want="$2" '
        /\[\*ZBLUNK\]/ { inside = 1; n = 0; next }
        inside && /\[END\]/ { inside = 0 }
        inside && NF { if (n == want) { print $1; exit } n++ }' "$1"
}

# Plays splash n of an images.scr slower (12 frames a picture): a screenshot
# takes most of a second, and a splash of the level's own speed could come
# and go between two of them.
slow_splash() {
    local images=$1 index=$2
    awk -v want="$index" '
        /\[\*ZBLUNK\]/ { inside = 1; n = 0; print; next }
        inside && /\[END\]/ { inside = 0 }
        inside && NF { if (n == want) $3 = 12; n++ }
        { print }' "$images" >"$images.slow" && mv "$images.slow" "$images"
}

# The colours of a picture as the 16-bit screen shows them (5, 6 and 5 bits),
# one "r,g,b" a line; with "keyed" the transparent top-left colour is left out.
screen_colours() {
    pixels_of_file "$WORK/$1" | awk -v keyed="$2" '
        {
            split($3, c, ",")
            colour = int(c[1] / 8) * 8 "," int(c[2] / 4) * 4 "," int(c[3] / 8) * 8
            if (NR == 1) key = colour
            if (keyed == "keyed" && colour == key) next
            if (!(colour in seen)) { seen[colour] = 1; print colour }
        }'
}

# Pixels of a picture file, "x y r,g,b" a line; with a geometry WxH+X+Y
# (X and Y not negative) only that part, at its coordinates on the whole.
# Read from a plain PPM, far quicker than ImageMagick's text listing.
pixels_of_file() {
    local file=$1 geometry=${2:-} x0=0 y0=0
    local crop=()
    if [ -n "$geometry" ]; then
        crop=(-crop "$geometry" +repage)
        x0=${geometry#*+}; y0=${x0#*+}; x0=${x0%%+*}
    fi
    convert "$file" "${crop[@]}" -depth 8 -compress none ppm:- 2>/dev/null | awk -v x0="$x0" -v y0="$y0" '
        {
            for (i = 1; i <= NF; i++) {
                if (h < 4) { head[++h] = $i; if (h == 4) w = head[2]; continue }
                v[k % 3] = $i
                if (++k % 3 == 0) { p = k / 3 - 1; print x0 + p % w, y0 + int(p / w), v[0] "," v[1] "," v[2] }
            }
        }'
}

# Pixels of a screenshot (or of the part WxH+X+Y of it): "x y r,g,b" a line.
pixels_of() { pixels_of_file "$SHOT_DIR/$1.png" "${2:-}"; }

# The part WxH+X+Y of the 640 x 480 screen that a box x0 y0 x1 y1 covers,
# or nothing when it covers none.
box_geometry() {
    local x0=$1 y0=$2 x1=$3 y1=$4
    [ "$x0" -lt 0 ] && x0=0
    [ "$y0" -lt 0 ] && y0=0
    [ "$x1" -gt 639 ] && x1=639
    [ "$y1" -gt 479 ] && y1=479
    [ "$x1" -ge "$x0" ] && [ "$y1" -ge "$y0" ] || return 0
    echo "$((x1 - x0 + 1))x$((y1 - y0 + 1))+$x0+$y0"
}

# Pixels of a screenshot inside the box x0 y0 x1 y1 (clipped to the
# screenshot) whose colour is one of those listed in a file; counted from the
# colour histogram of the box, which is far quicker than reading every pixel.
# With several files, one count each, on one line.
count_colours_in() {
    local name=$1 x0=$3 y0=$4 x1=$5 y1=$6 geometry
    local colours=("$2" "${@:7}")
    geometry=$(box_geometry "$x0" "$y0" "$x1" "$y1")
    if [ -z "$geometry" ]; then
        printf '0%.0s ' "${colours[@]}" | sed 's/ $//'
        echo
        return
    fi
    convert "$SHOT_DIR/$name.png" -crop "$geometry" +repage -depth 8 \
        -format %c histogram:info:- | awk -v files="${colours[*]}" '
        BEGIN {
            sets = split(files, file, " ")
            for (f = 1; f <= sets; f++) while ((getline line < file[f]) > 0) wanted[f, line] = 1
        }
        {
            count = $1; sub(/:$/, "", count)
            match($0, /\(([0-9.]+),([0-9.]+),([0-9.]+)/)
            split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
            colour = int(c[1]) "," int(c[2]) "," int(c[3])
            for (f = 1; f <= sets; f++) if ((f, colour) in wanted) n[f] += count
        }
        END { for (f = 1; f <= sets; f++) printf "%d%s", n[f], f < sets ? " " : "\n" }'
}

# The part of the screen the submarine's ellipse (centre cx, cy, radius r,
# frames of `size` pixels, flattened by 0.623) can show it in.
ellipse_band() {
    local cx=$1 cy=$2 r=$3 size=$4
    box_geometry $((cx - r - size)) $((cy - (r + size) * 623 / 1000 - size)) \
                 $((cx + r + size)) $((cy + (r + size) * 623 / 1000 + size))
}

# Where the submarine is on its ellipse (centre cx, cy, radius r, frames of
# `size` pixels): the densest cluster of its colours near the ellipse.
# Prints "angle x y pixels", or "none".
locate_submarine() {
    local name=$1 colours=$2 cx=$3 cy=$4 r=$5 size=$6
    pixels_of "$name" "$(ellipse_band "$cx" "$cy" "$r" "$size")" |
        awk -v cx="$cx" -v cy="$cy" -v r="$r" -v size="$size" -v colours="$colours" '
        BEGIN { while ((getline line < colours) > 0) mine[line] = 1; pi = atan2(0, -1) }
        ($3 in mine) {
            dx = $1 - cx; dy = ($2 - cy) / 0.623
            d = sqrt(dx * dx + dy * dy)
            if (d < r - size || d > r + size) next
            a = atan2(dy, dx) * 180 / pi; if (a < 0) a += 360
            bin = int(a / 5); n[bin]++; sx[bin] += $1; sy[bin] += $2
        }
        END {
            best = -1
            for (b = 0; b < 72; b++) {
                s = n[b] + n[(b + 71) % 72] + n[(b + 1) % 72]
                if (s > best_n) { best_n = s; best = b }
            }
            if (best < 0 || best_n < 10) { print "none"; exit }
            t = 0; X = 0; Y = 0
            for (k = -1; k <= 1; k++) { b = (best + k + 72) % 72; t += n[b]; X += sx[b]; Y += sy[b] }
            X /= t; Y /= t
            a = atan2((Y - cy) / 0.623, X - cx) * 180 / pi; if (a < 0) a += 360
            printf "%.1f %d %d %d\n", a, X, Y, t
        }'
}
