# Helpers of the window tests that look at the scene of a level: the colours
# of the game's own pictures as the 16-bit screen shows them, the pixels of a
# screenshot, and where the submarine is. Sourced after lib.sh.

# The word after the first word of a script that contains the key.
script_value() {
    awk -v key="$2" '{ for (i = 1; i <= NF; i++) if (found) { print $i; exit } else if (index($i, key)) found = 1 }' "$1"
}

# The colours of a picture as the 16-bit screen shows them (5, 6 and 5 bits),
# one "r,g,b" a line; with "keyed" the transparent top-left colour is left out.
screen_colours() {
    convert "$WORK/$1" -depth 8 txt:- | awk -v keyed="$2" '
        NR > 1 {
            match($0, /\(([0-9.]+),([0-9.]+),([0-9.]+)/)
            split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
            colour = int(c[1] / 8) * 8 "," int(c[2] / 4) * 4 "," int(c[3] / 8) * 8
            if (NR == 2) key = colour
            if (keyed == "keyed" && colour == key) next
            if (!(colour in seen)) { seen[colour] = 1; print colour }
        }'
}

# Pixels of a screenshot: "x y r,g,b" a line.
pixels_of() {
    convert "$SHOT_DIR/$1.png" -depth 8 txt:- | awk '
        NR > 1 {
            split($1, at, /[,:]/)
            match($0, /\(([0-9.]+),([0-9.]+),([0-9.]+)/)
            split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
            print at[1], at[2], int(c[1]) "," int(c[2]) "," int(c[3])
        }'
}

# Pixels of a screenshot inside the box x0 y0 x1 y1 (clipped to the
# screenshot) whose colour is one of those listed in a file; counted from the
# colour histogram of the box, which is far quicker than reading every pixel.
count_colours_in() {
    local name=$1 colours=$2 x0=$3 y0=$4 x1=$5 y1=$6
    [ "$x0" -lt 0 ] && x0=0
    [ "$y0" -lt 0 ] && y0=0
    [ "$x1" -ge "$x0" ] && [ "$y1" -ge "$y0" ] || { echo 0; return; }
    convert "$SHOT_DIR/$name.png" -crop "$((x1 - x0 + 1))x$((y1 - y0 + 1))+$x0+$y0" +repage -depth 8 \
        -format %c histogram:info:- | awk -v colours="$colours" '
        BEGIN { while ((getline line < colours) > 0) wanted[line] = 1 }
        {
            count = $1; sub(/:$/, "", count)
            match($0, /\(([0-9.]+),([0-9.]+),([0-9.]+)/)
            split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
            if ((int(c[1]) "," int(c[2]) "," int(c[3])) in wanted) n += count
        }
        END { print n + 0 }'
}

# Where the submarine is on its ellipse (centre cx, cy, radius r, frames of
# `size` pixels): the densest cluster of its colours near the ellipse.
# Prints "angle x y pixels", or "none".
locate_submarine() {
    local name=$1 colours=$2 cx=$3 cy=$4 r=$5 size=$6
    pixels_of "$name" | awk -v cx="$cx" -v cy="$cy" -v r="$r" -v size="$size" -v colours="$colours" '
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
