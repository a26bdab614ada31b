# Shared helpers of the window tests: a private X display, the game started
# from a copy of the run folder, keys and clicks through xdotool, screenshots
# and pictures compared through ImageMagick. Sourced with the run folder and
# the screenshot folder as arguments.
set -euo pipefail
RUN_DIR=$(cd "$1" && pwd)
SHOT_DIR=$2
mkdir -p "$SHOT_DIR"
WORK=$(mktemp -d /tmp/abyssor-e2e-XXXXXX)
cp -r "$RUN_DIR"/. "$WORK"/
XVFB_PID="" GAME_PID="" WID=""
# In a window scaled by a whole factor the helpers point at and look at the
# 640 x 480 screen the game draws.
SCALE=1

e2e_cleanup() {
    if [ -n "$GAME_PID" ]; then kill "$GAME_PID" 2>/dev/null || true; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in stdout stderr; do
        [ -f "$WORK/$log.txt" ] && { echo "--- game $log (tail)" >&2; tail -15 "$WORK/$log.txt" >&2; }
    done
    exit 1
}

# Xvfb on a free display (WxHxDEPTH, 800x600x24 unless given). Without
# -noreset it would reset whenever its last client leaves and drop the game's
# first connection now and then.
start_display() {
    mkfifo "$WORK/.display"
    Xvfb -displayfd 3 -screen 0 "${1:-800x600x24}" -nolisten tcp -noreset 3>"$WORK/.display" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 20 number <"$WORK/.display" || fail "Xvfb did not start"
    export DISPLAY=":$number"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "display $DISPLAY does not answer"
}

# The game in the copied run folder with the switches given; without a
# window manager the keyboard follows the pointer, which is put in the window.
start_game() {
    (cd "$WORK" && exec env SDL_AUDIODRIVER=dummy ./abyssor "$@" >stdout.txt 2>stderr.txt) &
    GAME_PID=$!
    WID=$(timeout 20 xdotool search --sync --name '^ABYSSOR$' | head -1) || fail "the game window did not appear"
    xdotool mousemove --window "$WID" 320 240
    sleep 0.3
}
game_running() { kill -0 "$GAME_PID" 2>/dev/null; }
collect_exit_status() { GAME_STATUS=0; wait "$GAME_PID" || GAME_STATUS=$?; }
wait_exit() {
    for _ in $(seq $(($1 * 10))); do game_running || return 0; sleep 0.1; done
    fail "the game did not end within $1 s"
}
# As a window manager's close button does (tests/e2e/close_window.cpp).
close_window() { "$ABYSSOR_CLOSE_WINDOW" "$WID" || fail "the close request could not be sent"; }

hold_key() { xdotool keydown "$1"; sleep "${2:-0.15}"; xdotool keyup "$1"; sleep 0.1; }
tap_key() { hold_key "$1" 0.08; }
# A press held a few frames: the game acts on the frames whose last event it is.
press() { xdotool mousedown "${1:-1}"; sleep 0.25; xdotool mouseup "${1:-1}"; sleep 0.05; }
# To the middle of the window's block that shows screen pixel (x, y).
move_mouse() { xdotool mousemove --window "$WID" $(($1 * SCALE + SCALE / 2)) $(($2 * SCALE + SCALE / 2)); sleep 0.05; }

# $SHOT_DIR/<name>.png; of a scaled window one pixel of each block, the
# window itself kept as <name>-window.png.
shot() {
    local file="$SHOT_DIR/$1.png"
    [ "$SCALE" = 1 ] || file="$SHOT_DIR/$1-window.png"
    import -window "$WID" "$file" 2>/dev/null || fail "screenshot $1 failed"
    [ "$SCALE" = 1 ] || convert "$file" -sample 640x480! "$SHOT_DIR/$1.png"
}
pixel() { convert "$SHOT_DIR/$1.png" -depth 8 -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
# Mean difference (0 to 1) of two pictures of one size; empty if they cannot be compared.
mean_difference() { compare -metric MAE "$1" "$2" null: 2>&1 | sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p' || true; }
# ... of the region x y w h of two screenshots (or references ref-*).
region_difference() { mean_difference "$SHOT_DIR/$1.png[${5}x${6}+${3}+${4}]" "$SHOT_DIR/$2.png[${5}x${6}+${3}+${4}]"; }
# Whether the first number is below the second (an empty one never is).
closer() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && b != "" && a < b) }'; }
shows_region() { closer "$(region_difference "$6" "$1" "$2" "$3" "$4" "$5")" 0.03; }
# Mean differences of regions of one screenshot from references, in one run:
# each argument "reference x y w h"; one number a line.
region_differences() {
    local name=$1 ref x y w h args=()
    shift
    for region in "$@"; do
        read -r ref x y w h <<<"$region"
        args+=( \( "$SHOT_DIR/$name.png[${w}x${h}+${x}+${y}]" "$SHOT_DIR/$ref.png[${w}x${h}+${x}+${y}]" \
                 +repage -compose difference -composite \) )
    done
    convert "${args[@]}" -format '%[fx:mean]\n' info:
}

# Per cent of the opaque pixels of a picture (its top-left colour is the
# transparent one; "picture[WxH+X+Y]" takes a part) that a screenshot shows
# with its top-left corner at (x, y), colours as the 16-bit screen holds them.
shown() {
    local name=$1 picture=$2 x=$3 y=$4 size key opaque differing
    picture=$WORK/$picture
    size=$(convert "$picture" +repage -format '%wx%h' info:)
    key=$(convert "${picture%%\[*}" -format '%[pixel:p{0,0}]' info:)
    convert "$picture" +repage -transparent "$key" "$SHOT_DIR/.pic.png"
    convert "$SHOT_DIR/$name.png" -crop "$size+$x+$y" +repage "$SHOT_DIR/.under.png"
    convert "$SHOT_DIR/.under.png" "$SHOT_DIR/.pic.png" -composite "$SHOT_DIR/.over.png"
    opaque=$(convert "$SHOT_DIR/.pic.png" -alpha extract -format '%[fx:int(mean*w*h+0.5)]' info:)
    differing=$(compare -metric AE -fuzz 5% "$SHOT_DIR/.under.png" "$SHOT_DIR/.over.png" null: 2>&1 || true)
    echo $((opaque > 0 ? 100 - 100 * ${differing%% *} / opaque : 0))
}
# Top-left corner of a picture drawn centred on the screen.
centred() { convert "$WORK/$1" -format '%[fx:320-int(w/2)] %[fx:240-int(h/2)]' info:; }
# Whether screenshot <name> shows a picture centred, at least `least` per cent of it.
shows_centred() { local x y; read -r x y <<<"$(centred "$1")"; [ "$(shown "$3" "$1" "$x" "$y")" -ge "$2" ]; }
expect_shown() {
    local what=$1 least=$2 share
    share=$(shown "${@:3}")
    [ "$share" -ge "$least" ] || fail "$what: only $share % of the picture is on the screen"
}
# Share of a crosshair of $CROSSHAIRS centred on (x, y), the best of them.
crosshair_match() {
    local best=0 picture w h share
    for picture in $CROSSHAIRS; do
        read -r w h <<<"$(identify -format '%w %h' "$WORK/$picture")"
        share=$(shown "$1" "$picture" $(($2 - w / 2)) $(($3 - h / 2)))
        [ "$share" -gt "$best" ] && best=$share
    done
    echo "$best"
}

# Takes screenshot <name> until the command (given the name last) succeeds,
# at most `tries` times `pause` s apart: a loaded machine plays slower.
shoot_until() {
    local name=$1 tries=$2 pause=$3
    shift 3
    for _ in $(seq "$tries"); do
        shot "$name"
        "$@" "$name" && return 0
        game_running || return 1
        sleep "$pause"
    done
    return 1
}

# The word after the first word of a script that contains the key.
script_value() {
    awk -v key="$2" '{ for (i = 1; i <= NF; i++) if (found) { print $i; exit } else if (index($i, key)) found = 1 }' "$1"
}
level_dir() { awk -v n="${1:-1}" 'NR == n { print $1; exit }' "$WORK/SCRIPT/levels.scr"; }
# The picture of the n-th (from 0) "misc" line of a level's images.scr.
misc_picture() { awk -v n="$2" '$1 == "misc" && n-- == 0 { print $2; exit }' "$WORK/SCRIPT/$1/images.scr"; }
# A picture of the data set as PNG in the screenshot folder: ref-<name>.png.
reference() { convert "$WORK/$2" "$SHOT_DIR/ref-$1.png" || fail "the data set lacks $2"; }
# Colours of a picture as the 16-bit screen shows them, "r,g,b" a line,
# without its transparent top-left colour.
screen_colours() {
    convert "$WORK/$1" -depth 8 txt:- | awk 'NR > 1 {
        match($0, /\(([0-9.]+),([0-9.]+),([0-9.]+)/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
        colour = int(c[1] / 8) * 8 "," int(c[2] / 4) * 4 "," int(c[3] / 8) * 8
        if (NR == 2) key = colour; else if (colour != key && !seen[colour]++) print colour }'
}
# Pixels of a screenshot in the box x0 y0 x1 y1 whose colour a file lists.
count_colours_in() {
    local x0=$(($3 < 0 ? 0 : $3)) y0=$(($4 < 0 ? 0 : $4)) x1=$(($5 > 639 ? 639 : $5)) y1=$(($6 > 479 ? 479 : $6))
    convert "$SHOT_DIR/$1.png" -crop "$((x1 - x0 + 1))x$((y1 - y0 + 1))+$x0+$y0" +repage -depth 8 -format %c histogram:info:- |
        awk -v file="$2" 'BEGIN { while ((getline l < file) > 0) wanted[l] = 1 }
            { match($0, /\(([0-9.]+),([0-9.]+),([0-9.]+)/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
              if ((int(c[1]) "," int(c[2]) "," int(c[3])) in wanted) n += $1 }
            END { print n + 0 }'
}

# Changes to the test's copy of the game: each slide of the intro held a
# tenth of a second; the credits rising 40 pixels a frame; a level's
# creatures kept from coming up.
short_intro() { sed -i -E 's/^(intro +[^ ]+) +[0-9]+/\1 100/' "$WORK/SCRIPT/in.scr"; }
short_credits() { sed -i -E 's/^krok2 +[0-9]+/krok2 40/' "$WORK/SCRIPT/in.scr"; }
hold_back_creatures() {
    sed -i -e 's/^dolni_interval .*/dolni_interval 100000/' -e 's/^horni_interval .*/horni_interval 100001/' \
        "$WORK/SCRIPT/$1/potvory.scr"
}

# The main menu: its buttons from the first item to the last, its plain and
# highlighted pictures as ref-main1 and ref-main2.
MENU_ITEMS=(b_new_game b_kod b_top-ten b_pomoc b_exit)
menu_references() {
    reference main1 "$(script_value "$WORK/SCRIPT/menu.scr" main1)"
    reference main2 "$(script_value "$WORK/SCRIPT/menu.scr" main2)"
}
shows_main_menu() { shows_region ref-main1 20 40 600 400 "$1"; }
# The last slide leaves a strip at one edge until the menu redraws.
wait_for_main_menu() { menu_references; shoot_until intro-end 120 0.25 shows_main_menu || fail "the intro did not end in the main menu"; }
# The items (from 0) whose buttons show the highlight, each followed by a
# space, then "/" and how far the top of the screen is from the plain picture.
menu_state() {
    local key x y w h regions=()
    for key in "${MENU_ITEMS[@]}"; do
        read -r x y w h <<<"$(script_value "$WORK/SCRIPT/menu.scr" "$key" | tr ',' ' ')"
        regions+=("ref-main1 $x $y $w $h" "ref-main2 $x $y $w $h")
    done
    region_differences "$1" "${regions[@]}" "ref-main1 0 0 640 40" |
        awk 'NR == 11 { printf "/%s\n", $1; exit } NR % 2 { plain = $1; next } $1 < plain { printf "%d ", NR / 2 - 1 }'
}
menu_shows() { local state; state=$(menu_state "$2"); [ "${state%/*}" = "$1 " ] && closer "${state#*/}" 0.03; }
# The menu answers every event by drawing itself, mouse motion being one.
wait_for_menu() {
    for attempt in $(seq 80); do
        move_mouse $((300 + attempt % 2)) 240
        shot menu-wait
        menu_shows "$1" menu-wait && return 0
        game_running || break
        sleep 0.2
    done
    fail "the main menu did not appear with item $1 highlighted, saw $(menu_state menu-wait)"
}
# A key in the menu and the item it should leave highlighted.
menu_step() {
    tap_key "$1"
    shoot_until "$2" 20 0.1 menu_shows "$3" || fail "$2: expected item $3 highlighted, saw $(menu_state "$2")"
}

# Waits for the announcement of a level and presses keys until the level plays.
pass_announcement() {
    local picture
    picture=$(misc_picture "$1" 1)
    shoot_until announcement 120 0.25 shows_centred "$picture" 80 || fail "the announcement of $1 did not show"
    for _ in $(seq 40); do
        tap_key space
        shot announcement-gone
        shows_centred "$picture" 30 announcement-gone || return 0
    done
    fail "the announcement of $1 did not give way to the level"
}
# Through the intro and the menu's first item into the first level.
start_new_game() {
    wait_for_main_menu
    hold_key Return
    pass_announcement "$(level_dir 1)"
}
# The game started into its first level, the intro held short.
play_first_level() { short_intro; start_display; start_game; move_mouse 2 2; start_new_game; }
# Escape ends the game, a key passes the game-over screen, the menu's last
# item (Up from the first) leaves, keys pass the credits.
leave_game() {
    hold_key Escape
    shoot_until game-over 60 0.25 shows_centred "$(misc_picture "$1" 2)" 80 || fail "Escape did not show the game-over screen"
    tap_key space
    shoot_until menu-again 60 0.25 shows_main_menu || fail "the menu did not come back after the game"
    tap_key Up
    hold_key Return
    for _ in $(seq 20); do game_running || break; tap_key space; sleep 0.5; done
    wait_exit 30
}
