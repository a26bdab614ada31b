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
expect_left_written() {
    [ "$(sed -n 1p "$WORK/fps.txt" 2>/dev/null)" = "ABYSSOR v0.2 -= Tarvik software =-" ] || fail "$1: no fps.txt"
    [ "$(cat "$TABLE")" = "$(printf 'Ema 900 2\nOta 400 1\n'; printf '%%00 0 0\n%.0s' $(seq 8))" ] ||
        fail "$1: the high-score table was not written back: $(cat "$TABLE")"
}
start_display
for where in intro credits; do
    printf 'Ema 900 2\nOta 400 1\n' >"$TABLE"
    rm -f "$WORK/fps.txt"
    start_game
    if [ "$where" = intro ]; then
        sleep 0.5   # the first slide is held for seconds
    else
        wait_for_main_menu
        tap_key Up          # the last item: leave
        hold_key Return
        sleep 1             # the credits roll for half a minute
    fi
    game_running || fail "$where: the game ended on its own"
    motion_storm
    close_window
    wait_exit 3
    collect_exit_status
    [ "$GAME_STATUS" = 0 ] || fail "$where: the game ended with status $GAME_STATUS"
    expect_left_written "$where"
    [ "$where" = credits ] || short_intro   # the intro shortened from here on
done
for where in menu level; do
    # A short table of our own: written back, it gains eight empty entries.
    printf 'Ema 900 2\nOta 400 1\n' >"$TABLE"
    rm -f "$WORK/fps.txt"
    start_game
    if [ "$where" = menu ]; then
        wait_for_main_menu
    else
        start_new_game; shot level-start   # the pointer rests where start_game put it
        [ "$(crosshair_match level-start 320 240)" -ge 80 ] || fail "the first frames show no crosshair on the resting pointer"
        game_running || fail "the game ended in the level on its own"
    fi
    close_window
    wait_exit 20   # the credits would take over half a minute
    collect_exit_status
    [ "$GAME_STATUS" = 0 ] || fail "$where: the game ended with status $GAME_STATUS"
    frames=$([ "$where" = menu ] && echo 0 || echo '[1-9][0-9]*')
    [ "$(sed -n 1p "$WORK/fps.txt")" = "ABYSSOR v0.2 -= Tarvik software =-" ] && grep -Eqx "FRAMES : $frames" "$WORK/fps.txt" ||
        fail "$where: fps.txt: $(cat "$WORK/fps.txt")"
    [ "$(cat "$TABLE")" = "$(printf 'Ema 900 2\nOta 400 1\n'; printf '%%00 0 0\n%.0s' $(seq 8))" ] ||
        fail "$where: the high-score table was not written back: $(cat "$TABLE")"
    ! grep -qi "Couldn't initialize SDL\|X Error\|BadWindow" "$WORK/stderr.txt" || fail "$where: $(cat "$WORK/stderr.txt")"
done
grep -qxF "UVOLNEN SKRIPT BITMAP Z PAMETI" "$WORK/stdout.txt" || fail "the level was not released"
echo "window close passed"
