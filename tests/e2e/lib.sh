# Shared helpers of the window tests: a private X display, the game started
# from a copy of the run folder, keys and clicks through xdotool, screenshots
# and pixel reads through ImageMagick.
#
# A test script sources this file with the run folder as its first argument
# and the folder for its screenshots as its second.
set -euo pipefail

RUN_DIR=$(cd "$1" && pwd)
SHOT_DIR=$2
mkdir -p "$SHOT_DIR"
WORK=$(mktemp -d /tmp/abyssor-e2e-XXXXXX)
cp -r "$RUN_DIR"/. "$WORK"/
XVFB_PID=""
GAME_PID=""
WID=""

e2e_cleanup() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill "$GAME_PID" 2>/dev/null || true; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$WORK/stdout.txt" ]; then echo "--- game stdout (tail)" >&2; tail -20 "$WORK/stdout.txt" >&2; fi
    if [ -f "$WORK/stderr.txt" ]; then echo "--- game stderr (tail)" >&2; tail -20 "$WORK/stderr.txt" >&2; fi
    exit 1
}

# Starts Xvfb on a free display and waits until it answers. Without
# -noreset the server resets whenever its last client leaves (xdpyinfo below,
# or SDL's own check of the display) and drops any connection made
# meanwhile, so the game's first attempt to open the display would fail now
# and then.
start_display() {
    local fifo="$WORK/.display"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 20 number <"$fifo" || fail "Xvfb did not start"
    export DISPLAY=":$number"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "display $DISPLAY does not answer"
}

# Starts the game in the copied run folder with the given switches and waits
# for its window.
start_game() {
    (cd "$WORK" && exec env SDL_AUDIODRIVER=dummy ./abyssor "$@" >stdout.txt 2>stderr.txt) &
    GAME_PID=$!
    WID=$(timeout 20 xdotool search --sync --name '^ABYSSOR$' | head -1) || fail "the game window did not appear"
    # Without a window manager the keyboard follows the pointer.
    xdotool mousemove --window "$WID" 320 240
    sleep 0.3
}

game_running() { kill -0 "$GAME_PID" 2>/dev/null; }

# Asks the game window to close, as a window manager's close button does.
close_window() {
    [ -x "${ABYSSOR_CLOSE_WINDOW:-}" ] || fail "ABYSSOR_CLOSE_WINDOW does not name the window-closing tool"
    "$ABYSSOR_CLOSE_WINDOW" "$WID" || fail "the close request could not be sent"
}

# Sets GAME_STATUS to the game's exit status, once it has ended.
collect_exit_status() {
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
}

# Holds a key long enough for the game to see it in its key table.
hold_key() {
    local key=$1 seconds=${2:-0.15}
    xdotool keydown "$key"
    sleep "$seconds"
    xdotool keyup "$key"
    sleep 0.1
}

tap_key() { hold_key "$1" 0.08; }

move_mouse() { xdotool mousemove --window "$WID" "$1" "$2"; sleep 0.05; }

click() { xdotool click "$1"; sleep 0.05; }

# Saves a screenshot of the game window as $SHOT_DIR/<name>.png.
shot() {
    import -window "$WID" "$SHOT_DIR/$1.png" 2>/dev/null || fail "screenshot $1 failed"
}

# Prints "r,g,b" of one pixel of a screenshot.
pixel() {
    convert "$SHOT_DIR/$1.png" -format '%[fx:int(255*p{'"$2"','"$3"'}.r+0.5)],%[fx:int(255*p{'"$2"','"$3"'}.g+0.5)],%[fx:int(255*p{'"$2"','"$3"'}.b+0.5)]' info:
}

# Number of distinct colours of a screenshot: a blank window has one.
colour_count() { convert "$SHOT_DIR/$1.png" -format '%k' info:; }

# Mean difference of two screenshots (0 = identical).
shot_difference() {
    compare -metric MAE "$SHOT_DIR/$1.png" "$SHOT_DIR/$2.png" null: 2>&1 | sed 's/ .*//' || true
}

# Waits up to N seconds for the game to end.
wait_exit() {
    local seconds=$1
    for _ in $(seq $((seconds * 10))); do game_running || return 0; sleep 0.1; done
    fail "the game did not end within $seconds s"
}

work_file() { cat "$WORK/$1"; }

# Waits until the intro has slid into the main menu's picture (the last
# slide leaves a strip a few pixels wide at one edge until the menu redraws).
wait_for_main_menu() {
    local picture difference
    picture=$(awk '{ for (i = 1; i < NF; i++) if (index($i, "main1")) { print $(i + 1); exit } }' "$WORK/SCRIPT/menu.scr")
    [ -f "$WORK/$picture" ] || fail "the data set lacks the main menu picture"
    convert "$WORK/$picture" "$SHOT_DIR/ref-main-menu.png" || fail "cannot read $picture"
    for _ in $(seq 120); do
        shot intro-end
        difference=$(compare -metric MAE "$SHOT_DIR/intro-end.png[600x400+20+40]" \
            "$SHOT_DIR/ref-main-menu.png[600x400+20+40]" null: 2>&1 | sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p' || true)
        awk -v d="$difference" 'BEGIN { exit !(d != "" && d < 0.03) }' && return 0
        sleep 0.25
    done
    fail "the intro did not end in the main menu"
}

# From the start of the game into the first level: through the intro, the
# menu's first item, the loading and a key past the announcement.
start_new_game() {
    wait_for_main_menu
    hold_key Return
    for _ in $(seq 100); do grep -q "INICIALIZUJI PONORKU" "$WORK/stdout.txt" 2>/dev/null && break; sleep 0.2; done
    grep -q "INICIALIZUJI PONORKU" "$WORK/stdout.txt" || fail "the first level was not loaded"
    sleep 2
    tap_key space
    sleep 0.5
}

# Share (per cent) of a crosshair's opaque pixels found on the screen
# around (x, y); the best of the crosshair pictures named in $CROSSHAIRS.
crosshair_match() {
    local shot_name=$1 cx=$2 cy=$3 best_share=0 picture
    for picture in $CROSSHAIRS; do
        local size w h
        size=$(identify -format '%w %h' "$WORK/$picture")
        read -r w h <<<"$size"
        local left=$((cx - w / 2)) top=$((cy - h / 2))
        local share
        share=$( { convert "$WORK/$picture" txt:- | sed 's/^/P /'
                   convert "$SHOT_DIR/$shot_name.png" -crop "${w}x${h}+${left}+${top}" +repage txt:- | sed 's/^/S /'; } \
            | awk '
                $2 ~ /^[0-9]+,[0-9]+:$/ {
                    split($2, at, /[,:]/); match($0, /\(([0-9.]+),([0-9.]+),([0-9.]+)/)
                    split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
                    key = at[1] "," at[2]
                    if ($1 == "P") { pr[key] = c[1]; pg[key] = c[2]; pb[key] = c[3]; if (key == "0,0") { kr = c[1]; kg = c[2]; kb = c[3] } }
                    else { sr[key] = c[1]; sg[key] = c[2]; sb[key] = c[3] }
                }
                function near(a, b) { return a - b <= 12 && b - a <= 12 }
                END {
                    for (k in pr) {
                        if (pr[k] == kr && pg[k] == kg && pb[k] == kb) continue
                        opaque++
                        if ((k in sr) && near(pr[k], sr[k]) && near(pg[k], sg[k]) && near(pb[k], sb[k])) found++
                    }
                    print opaque ? int(100 * found / opaque) : 0
                }')
        [ "$share" -gt "$best_share" ] && best_share=$share
    done
    echo "$best_share"
}
