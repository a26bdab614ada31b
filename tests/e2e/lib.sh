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
# A test of a window scaled by a whole factor sets SCALE: the helpers then
# point and look at the 640 x 480 screen the game draws (see shot, move_mouse).
SCALE=1

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
# and then. The screen is 800 x 600 unless a size (WxHxDEPTH) is given.
start_display() {
    local fifo="$WORK/.display"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-800x600x24}" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
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

# To the middle of the window's block that shows screen pixel (x, y).
move_mouse() { xdotool mousemove --window "$WID" $(($1 * SCALE + SCALE / 2)) $(($2 * SCALE + SCALE / 2)); sleep 0.05; }

click() { xdotool click "$1"; sleep 0.05; }

# Saves a screenshot of the game window as $SHOT_DIR/<name>.png. Of a scaled
# window it is one pixel of each block, and the window as it shows is kept as
# <name>-window.png.
shot() {
    if [ "$SCALE" = 1 ]; then
        import -window "$WID" "$SHOT_DIR/$1.png" 2>/dev/null || fail "screenshot $1 failed"
        return
    fi
    import -window "$WID" "$SHOT_DIR/$1-window.png" 2>/dev/null || fail "screenshot $1 failed"
    convert "$SHOT_DIR/$1-window.png" -sample 640x480! "$SHOT_DIR/$1.png"
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

# The word after the first word of a script that contains the key.
script_value() {
    awk -v key="$2" '{ for (i = 1; i <= NF; i++) if (found) { print $i; exit } else if (index($i, key)) found = 1 }' "$1"
}

# The folder (under SCRIPT/) of the n-th level of the catalogue, from 1.
level_dir() { awk -v n="${1:-1}" 'NR == n { print $1; exit }' "$WORK/SCRIPT/levels.scr"; }

# The picture of the n-th (from 0) "misc" line of a level's images.scr.
misc_picture() {
    awk -v n="$2" '{ for (i = 1; i <= NF; i++) if (index($i, "misc") && n-- == 0) { print $(i + 1); exit } }' \
        "$WORK/SCRIPT/$1/images.scr"
}

# Holds each intro slide a tenth of a second in this copy of the game: the
# tests that do not look at the intro need not sit through it.
short_intro() {
    local file="$WORK/SCRIPT/in.scr"
    sed -i -E 's/^(intro[^ ]* +[^ ]+) +[0-9]+/\1 100/' "$file"
    grep -Eq '^intro[^ ]* +[^ ]+ +100' "$file" || fail "the intro of the test's copy could not be shortened"
}

# Makes the credits rise 40 pixels a frame in this copy of the game (about a
# second in all): the tests that do not look at them need not sit through
# the half minute they take to read.
short_credits() {
    local file="$WORK/SCRIPT/in.scr"
    sed -i -E 's/^krok2 +[0-9]+/krok2 40/' "$file"
    grep -Eq '^krok2 40$' "$file" || fail "the credits of the test's copy could not be shortened"
}

# Keeps a level's creatures from coming up while a test runs (the copy of
# the level in the test's run folder): they would cross what the test looks
# at, ram the submarine or take its shells.
hold_back_creatures() {
    local file="$WORK/SCRIPT/$1/potvory.scr"
    [ -f "$file" ] || fail "the level $1 has no potvory.scr"
    sed -i -e 's/^dolni_interval .*/dolni_interval 100000/' -e 's/^horni_interval .*/horni_interval 100001/' "$file"
    grep -q "^dolni_interval 100000" "$file" || fail "the creatures of the test's level could not be held back"
}

# A picture of the data set as PNG in the screenshot folder: ref-<name>.png.
reference() {
    local name=$1 picture=$2
    [ -f "$WORK/$picture" ] || fail "the data set lacks $picture"
    convert "$WORK/$picture" "$SHOT_DIR/ref-$name.png" || fail "cannot read $picture"
}

# Mean difference (0 to 1) of two pictures of one size (file[WxH+X+Y] crops
# them); empty when they cannot be compared.
mean_difference() {
    compare -metric MAE "$1" "$2" null: 2>&1 | sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p' || true
}

# Mean difference (0 to 1) of a region of two pictures of the screenshot
# folder.
region_difference() {
    local a=$1 b=$2 x=$3 y=$4 w=$5 h=$6
    mean_difference "$SHOT_DIR/$a.png[${w}x${h}+${x}+${y}]" "$SHOT_DIR/$b.png[${w}x${h}+${x}+${y}]"
}

# Mean differences (0 to 1) of regions of a screenshot from pictures of the
# screenshot folder, all in one ImageMagick run: each argument is
# "picture x y w h"; one number a line, in their order.
region_differences() {
    local name=$1 region ref x y w h args=()
    shift
    for region in "$@"; do
        read -r ref x y w h <<<"$region"
        args+=( \( "$SHOT_DIR/$name.png[${w}x${h}+${x}+${y}]" "$SHOT_DIR/$ref.png[${w}x${h}+${x}+${y}]" \
                 +repage -compose difference -composite \) )
    done
    convert "${args[@]}" -format '%[fx:mean]\n' info:
}

# Whether the first number is below the second (an empty one never is).
closer() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && b != "" && a < b) }'; }

# Whether a region of a screenshot (named last) is a reference picture's.
shows_region() { closer "$(region_difference "$6" "$1" "$2" "$3" "$4" "$5")" 0.03; }

# Whether a screenshot shows a picture of the data set drawn centred on the
# 640 x 480 screen: the middle half of the picture is compared, since the
# pictures' edges may be transparent.
shows_centred() {
    local name=$1 picture="$WORK/$2" limit=${3:-0.05} w h
    read -r w h <<<"$(identify -format '%w %h' "$picture")"
    closer "$(mean_difference "$SHOT_DIR/$name.png[$((w / 2))x$((h / 2))+$((320 - w / 2 + w / 4))+$((240 - h / 2 + h / 4))]" \
        "$picture[$((w / 2))x$((h / 2))+$((w / 4))+$((h / 4))]")" "$limit"
}

# Takes the screenshot <name> until the command given (with the screenshot's
# name as its last argument) succeeds, at most `tries` times `pause` seconds
# apart; returns non-zero when it never does or the game has ended. A
# loaded machine plays slower: callers
# give generous upper bounds, the loop ends as soon as the screen is right.
shoot_until() {
    local name=$1 tries=$2 pause=$3 i
    shift 3
    for i in $(seq "$tries"); do
        shot "$name"
        "$@" "$name" && return 0
        game_running || return 1
        sleep "$pause"
    done
    return 1
}

# Waits until the intro has slid into the main menu's picture (the last
# slide leaves a strip a few pixels wide at one edge until the menu redraws).
wait_for_main_menu() {
    local picture
    picture=$(script_value "$WORK/SCRIPT/menu.scr" main1)
    reference main-menu "$picture"
    shoot_until intro-end 120 0.25 shows_main_menu || fail "the intro did not end in the main menu"
}
shows_main_menu() { closer "$(region_difference "$1" ref-main-menu 20 40 600 400)" 0.03; }

# The main menu: its five buttons, from the first item to the last.
MENU_ITEMS=(b_new_game b_kod b_top-ten b_pomoc b_exit)

# The menu's plain and highlight pictures as ref-main1 and ref-main2.
menu_references() {
    reference main1 "$(script_value "$WORK/SCRIPT/menu.scr" main1)"
    reference main2 "$(script_value "$WORK/SCRIPT/menu.scr" main2)"
}

# What a screenshot of the menu shows: the items (from 0) whose buttons show
# the highlight picture rather than the plain one, each followed by a space,
# then "/" and the difference of the top of the screen from the plain menu
# picture.
menu_state() {
    local name=$1 key x y w h regions=()
    for key in "${MENU_ITEMS[@]}"; do
        read -r x y w h <<<"$(script_value "$WORK/SCRIPT/menu.scr" "$key" | tr ',' ' ')"
        regions+=("ref-main1 $x $y $w $h" "ref-main2 $x $y $w $h")
    done
    region_differences "$name" "${regions[@]}" "ref-main1 0 0 640 40" | awk '
        NR == 11 { printf "/%s\n", $1; exit }
        NR % 2 == 1 { plain = $1; next }
        $1 < plain { printf "%d ", NR / 2 - 1 }'
}

# Whether a screenshot shows the menu with exactly the given item
# highlighted, the rest of its top the plain menu picture.
menu_shows() {
    local item=$1 name=$2 state
    state=$(menu_state "$name")
    [ "${state%/*}" = "$item " ] && closer "${state#*/}" 0.03
}

# Fails unless a screenshot shows the menu with the item highlighted.
expect_menu() {
    local name=$1 item=$2
    menu_shows "$item" "$name" || fail "$name: expected the menu with item $item highlighted, saw $(menu_state "$name")"
}

# Waits for the menu with the item highlighted; the menu answers every
# event by drawing itself, mouse motion being one.
wait_for_menu() {
    local item=$1 attempt
    for attempt in $(seq 80); do
        move_mouse $((300 + attempt % 2)) 240
        shot menu-wait
        menu_shows "$item" menu-wait && return 0
        game_running || break
        sleep 0.2
    done
    fail "the main menu did not appear with item $item highlighted"
}

# A key in the menu, and the highlight it should leave on an item; the
# screenshot <name> shows it.
menu_step() {
    local key=$1 name=$2 item=$3
    tap_key "$key"
    shoot_until "$name" 20 0.1 menu_shows "$item" || expect_menu "$name" "$item"
}

# Waits for the announcement of the level whose folder is given and presses
# a key past it; returns once the level plays.
pass_announcement() {
    local level=$1 picture
    picture=$(misc_picture "$level" 1)
    [ -f "$WORK/$picture" ] || fail "the level $level has no announcement picture"
    shoot_until announcement 120 0.25 shows_centred_picture "$picture" || fail "the announcement of $level did not show"
    tap_key space
    for _ in $(seq 40); do
        shot announcement-gone
        shows_centred announcement-gone "$picture" || return 0
        tap_key space
    done
    fail "the announcement of $level did not give way to the level"
}
shows_centred_picture() { shows_centred "$2" "$1"; }

# From the start of the game into the first level: through the intro, the
# menu's first item, the loading and a key past the announcement.
start_new_game() {
    wait_for_main_menu
    hold_key Return
    for _ in $(seq 150); do grep -q "INICIALIZUJI PONORKU" "$WORK/stdout.txt" 2>/dev/null && break; sleep 0.2; done
    grep -q "INICIALIZUJI PONORKU" "$WORK/stdout.txt" || fail "the first level was not loaded"
    pass_announcement "$(level_dir 1)"
}

# The game started into its first level, the intro held short and the
# pointer in the corner, away from the sea.
play_first_level() {
    short_intro
    start_display
    start_game
    move_mouse 2 2
    start_new_game
    game_running || fail "the game ended before the level"
}

# From a level out of the program: Escape ends the game, a key passes the
# game-over screen, and the menu's last item (Up from the first) leaves; the
# credits are passed with keys. Waits up to N seconds for the end.
leave_game() {
    local seconds=${1:-30} level=${2:-$(level_dir 1)} game_over
    game_over=$(misc_picture "$level" 2)
    hold_key Escape
    if [ -f "$WORK/$game_over" ]; then
        shoot_until game-over 60 0.25 shows_centred_picture "$game_over" || fail "Escape did not show the game-over screen"
    else
        sleep 1
    fi
    tap_key space
    shoot_until menu-again 60 0.25 shows_main_menu || fail "the menu did not come back after the game"
    tap_key Up
    hold_key Return
    for _ in $(seq 20); do game_running || break; tap_key space; sleep 0.5; done
    wait_exit "$seconds"
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
