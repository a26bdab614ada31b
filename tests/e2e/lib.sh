# Helpers of the window tests, sourced with the run folder and the screenshot
# folder: a private X display, the game started from a copy of the run folder,
# xdotool's keys and clicks, ImageMagick's screenshots and comparisons.
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
e2e_cleanup() { kill $GAME_PID $XVFB_PID 2>/dev/null || true; rm -rf "$WORK"; }
trap e2e_cleanup EXIT
fail() { echo "FAIL: $*" >&2; tail -15 "$WORK/stdout.txt" "$WORK/stderr.txt" >&2 2>/dev/null; exit 1; }

# Xvfb on a free display (WxHxDEPTH, 800x600x24 unless given); -noreset, or
# it drops the game's first connection when its last client leaves.
start_display() {
    mkfifo "$WORK/.display"
    Xvfb -displayfd 3 -screen 0 "${1:-800x600x24}" -nolisten tcp -noreset 3>"$WORK/.display" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 20 number <"$WORK/.display" || fail "Xvfb did not start"
    export DISPLAY=":$number"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "display $DISPLAY does not answer"
}
# The game with the switches given; without a window manager the keyboard
# follows the pointer, which is put in the window.
start_game() {
    (cd "$WORK" && exec env SDL_AUDIODRIVER=dummy ./abyssor "$@" >stdout.txt 2>stderr.txt) &
    GAME_PID=$!
    WID=$(timeout 20 xdotool search --sync --name '^ABYSSOR$' | head -1) || fail "the game window did not appear"
    xdotool mousemove --window "$WID" 320 240 sleep 0.3
}
game_running() { kill -0 "$GAME_PID" 2>/dev/null; }
collect_exit_status() { GAME_STATUS=0; wait "$GAME_PID" || GAME_STATUS=$?; }
wait_exit() { for _ in $(seq $(($1 * 10))); do game_running || return 0; sleep 0.1; done; fail "the game did not end within $1 s"; }
# As a window manager's close button does (tests/e2e/close_window.cpp).
close_window() { "$ABYSSOR_CLOSE_WINDOW" "$WID" || fail "the close request could not be sent"; }
hold_key() { xdotool keydown "$1" sleep "${2:-0.15}" keyup "$1" sleep 0.1; }
tap_key() { hold_key "$1" 0.08; }
# A press held a few frames: the game acts on the frames whose last event it is.
press() { xdotool mousedown "${1:-1}" sleep 0.25 mouseup "${1:-1}" sleep 0.05; }
# To the middle of the window's block that shows screen pixel (x, y).
move_mouse() { xdotool mousemove --window "$WID" $(($1 * SCALE + SCALE / 2)) $(($2 * SCALE + SCALE / 2)) sleep 0.05; }

# $SHOT_DIR/<name>.png; of a scaled window one pixel of each block, the
# window itself kept as <name>-window.png.
shot() {
    local file="$SHOT_DIR/$1$([ "$SCALE" = 1 ] || echo -window).png"
    import -window "$WID" "$file" 2>/dev/null || fail "screenshot $1 failed"
    [ "$SCALE" = 1 ] || convert "$file" -sample 640x480! "$SHOT_DIR/$1.png"
}
# Mean difference (0 to 1) of the region x y w h of two screenshots or
# references, empty when they cannot be compared.
region_difference() {
    compare -metric MAE "$SHOT_DIR/$1.png[${5}x${6}+${3}+${4}]" "$SHOT_DIR/$2.png[${5}x${6}+${3}+${4}]" null: 2>&1 |
        sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p' || true
}
# Whether the first number is below the second (an empty one never is).
closer() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && b != "" && a < b) }'; }
shows_region() { closer "$(region_difference "$6" "$1" "$2" "$3" "$4" "$5")" 0.03; }

# Per cent of the opaque pixels of a picture (or a part, "picture[WxH+X+Y]";
# its top-left colour is transparent) a screenshot shows with its corner at (x, y).
shown() {
    local picture=$WORK/$2 size key opaque differing
    size=$(convert "$picture" +repage -format '%wx%h' info:)
    key=$(convert "${picture%%\[*}" -format '%[pixel:p{0,0}]' info:)
    convert "$picture" +repage -transparent "$key" "$SHOT_DIR/.pic.png"
    convert "$SHOT_DIR/$1.png" -crop "$size+$3+$4" +repage "$SHOT_DIR/.under.png"
    convert "$SHOT_DIR/.under.png" "$SHOT_DIR/.pic.png" -composite "$SHOT_DIR/.over.png"
    opaque=$(convert "$SHOT_DIR/.pic.png" -alpha extract -format '%[fx:int(mean*w*h+0.5)]' info:)
    differing=$(compare -metric AE -fuzz 5% "$SHOT_DIR/.under.png" "$SHOT_DIR/.over.png" null: 2>&1 || true)
    echo $((opaque > 0 ? 100 - 100 * ${differing%% *} / opaque : 0))
}
# Top-left corner of a picture drawn centred on the screen.
centred() { convert "$WORK/$1" -format '%[fx:320-int(w/2)] %[fx:240-int(h/2)]' info:; }
# Whether screenshot <name> shows a picture centred, at least `least` per cent of it.
shows_centred() { local x y; read -r x y <<<"$(centred "$1")"; [ "$(shown "$3" "$1" "$x" "$y")" -ge "$2" ]; }
expect_shown() { local share; share=$(shown "${@:3}"); [ "$share" -ge "$2" ] || fail "$1: only $share % of it is on the screen"; }
# Share of the best of the crosshairs $CROSSHAIRS centred on (x, y).
crosshair_match() {
    for picture in $CROSSHAIRS; do
        read -r w h <<<"$(identify -format '%w %h' "$WORK/$picture")"
        shown "$1" "$picture" $(($2 - w / 2)) $(($3 - h / 2))
    done | sort -n | tail -1
}
# Takes screenshot <name> until the command (given the name last) succeeds,
# at most `tries` times `pause` s apart: a loaded machine plays slower.
shoot_until() {
    local name=$1 tries=$2 pause=$3
    shift 3
    for _ in $(seq "$tries"); do shot "$name"; "$@" "$name" && return 0; game_running || return 1; sleep "$pause"; done
    return 1
}

# The word after the first word of a script that contains the key.
script_value() { awk -v key="$2" '{ for (i = 1; i <= NF; i++) if (found) { print $i; exit } else if (index($i, key)) found = 1 }' "$1"; }
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
# In the test's copy of the game: intro slides held 0.1 s; no creatures in a level.
short_intro() { sed -i -E 's/^(intro +[^ ]+) +[0-9]+/\1 100/' "$WORK/SCRIPT/in.scr"; }
hold_back_creatures() { sed -i -e 's/^dolni_interval .*/dolni_interval 100000/' -e 's/^horni_interval .*/horni_interval 100001/' "$WORK/SCRIPT/$1/potvory.scr"; }

shows_main_menu() { shows_region ref-main1 20 40 600 400 "$1"; }
# The menu draws itself on the first event after the intro (the intro drops
# what the player does while it plays): a motion between looks, which
# leaves the pointer where start_game put it.
shows_main_menu_once_moved() {
    shows_main_menu "$1" && return 0
    move_mouse 321 240
    move_mouse 320 240
    return 1
}
# Until the intro has ended in the main menu, whose plain and highlighted
# pictures are kept as ref-main1 and ref-main2.
wait_for_main_menu() {
    for picture in main1 main2; do reference "$picture" "$(script_value "$WORK/SCRIPT/menu.scr" "$picture")"; done
    shoot_until intro-end 120 0.25 shows_main_menu_once_moved || fail "the intro did not end in the main menu"
}
# The items (from 0) whose buttons show the highlight, each followed by a
# space, then "/" and how far the top of the screen is from the plain menu.
menu_state() {
    local x y w h args=()
    for key in b_new_game b_kod b_top-ten b_pomoc b_exit; do
        read -r x y w h <<<"$(script_value "$WORK/SCRIPT/menu.scr" "$key" | tr ',' ' ')"
        for ref in main1 main2; do args+=( \( "$SHOT_DIR/$1.png[${w}x${h}+$x+$y]" "$SHOT_DIR/ref-$ref.png[${w}x${h}+$x+$y]" +repage -compose difference -composite \) ); done
    done
    convert "${args[@]}" \( "$SHOT_DIR/$1.png[640x40+0+0]" "$SHOT_DIR/ref-main1.png[640x40+0+0]" +repage -compose difference -composite \) -format '%[fx:mean]\n' info: |
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
menu_step() { tap_key "$1"; shoot_until "$2" 20 0.1 menu_shows "$3" || fail "$2: expected item $3 highlighted, saw $(menu_state "$2")"; }

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
start_new_game() { wait_for_main_menu; hold_key Return; pass_announcement "$(level_dir 1)"; }
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
