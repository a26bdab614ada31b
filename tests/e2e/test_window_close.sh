#!/bin/bash
# Closing the window as a window manager's close button does: in the menu the
# game leaves as through its last item; in a level (the crosshair on the
# resting pointer from the first frames) it ends the game as Escape does and
# leaves; while the intro or the credits play, behind 400 mouse motions (SDL
# keeps 127 events and drops what comes after), it ends the game within 3 s.
# Always with status 0, without the rest of the credits, having written the
# high scores and the frame-rate report.
source "$(dirname "$0")/lib.sh" "$1" "$2"

TABLE="$WORK/SCRIPT/topten.scr"
LEVEL=$(level_dir 1)
CROSSHAIRS=$(awk '$1 == "zamerovac" { print $2 }' "$WORK/SCRIPT/$LEVEL/images.scr")
# One xdotool for all: 400 motions within a moment, as a player moving the mouse.
motion_storm() {
    local args=() i
    for i in $(seq 400); do args+=(mousemove --window "$WID" $((100 + i % 2 * 7)) $((200 + i % 3))); done
    xdotool "${args[@]}"
}
start_display
for where in intro credits menu level; do
    # A short table of our own: written back, it gains eight empty entries.
    printf 'Ema 900 2\nOta 400 1\n' >"$TABLE"
    rm -f "$WORK/fps.txt"
    start_game
    case $where in
        intro) sleep 0.5 ;;  # the first slide is held for seconds
        credits) wait_for_main_menu; tap_key Up; hold_key Return; sleep 1 ;;  # the last item; the credits roll for half a minute
        menu) wait_for_main_menu ;;
        level)
            start_new_game; shot level-start   # the pointer rests where start_game put it
            [ "$(crosshair_match level-start 320 240)" -ge 80 ] || fail "the first frames show no crosshair on the resting pointer" ;;
    esac
    game_running || fail "$where: the game ended on its own"
    case $where in
        intro | credits) motion_storm; close_window; wait_exit 3 ;;
        *) close_window; wait_exit 20 ;;   # the credits would take over half a minute
    esac
    collect_exit_status
    [ "$GAME_STATUS" = 0 ] || fail "$where: the game ended with status $GAME_STATUS"
    frames=$([ "$where" = level ] && echo '[1-9][0-9]*' || echo 0)
    [ "$(sed -n 1p "$WORK/fps.txt")" = "ABYSSOR v0.2 -= Tarvik software =-" ] && grep -Eqx "FRAMES : $frames" "$WORK/fps.txt" ||
        fail "$where: fps.txt: $(cat "$WORK/fps.txt")"
    [ "$(cat "$TABLE")" = "$(printf 'Ema 900 2\nOta 400 1\n'; printf '%%00 0 0\n%.0s' $(seq 8))" ] ||
        fail "$where: the high-score table was not written back: $(cat "$TABLE")"
    ! grep -qi "Couldn't initialize SDL\|X Error\|BadWindow" "$WORK/stderr.txt" || fail "$where: $(cat "$WORK/stderr.txt")"
    [ "$where" = intro ] && short_intro   # the intro shortened from here on
done
grep -qxF "UVOLNEN SKRIPT BITMAP Z PAMETI" "$WORK/stdout.txt" || fail "the level was not released"
echo "window close passed"
