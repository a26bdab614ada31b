#!/bin/bash
# The game installed into a scratch prefix the player cannot write to, its
# launcher started twice with an empty data folder: the first start makes the
# run folder (scripts copied, media linked), where the game, asked to quit by
# an interrupt, writes its high scores and report; the second keeps what the
# player has there. Nothing in the prefix may change.
# Usage: test_install.sh <build folder>
set -euo pipefail
BUILD=$(cd "$1" && pwd)
SCRATCH=$(mktemp -d /tmp/abyssor-install-XXXXXX)
PREFIX="$SCRATCH/prefix"
GAME_PID=""
cleanup() {
    if [ -n "$GAME_PID" ]; then kill -KILL "$GAME_PID" 2>/dev/null || true; fi
    chmod -R u+w "$SCRATCH" 2>/dev/null || true
    rm -rf "$SCRATCH"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; tail -15 "$SCRATCH"/out.txt "$SCRATCH"/err.txt >&2 2>/dev/null; exit 1; }
# Every file, folder and link of the prefix: type, mode, size, time, contents.
snapshot() { (cd "$PREFIX" && find . -printf '%p %y %m %s %T@ %l\n' | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum); }

cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null || fail "cmake --install failed"
LAUNCHER="$PREFIX/bin/abyssor" DESKTOP="$PREFIX/share/applications/abyssor.desktop"
[ -x "$LAUNCHER" ] && grep -qxF "Exec=$LAUNCHER" "$DESKTOP" || fail "no launcher in bin/ that the desktop entry starts"
icon=$(sed -n 's/^Icon=//p' "$DESKTOP")
[ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "the desktop entry's icon $icon is no PNG"
chmod -R a-w "$PREFIX"  # an installed tree the player cannot write to
before=$(snapshot)

export XDG_DATA_HOME="$SCRATCH/data" HOME="$SCRATCH/home"
mkdir -p "$HOME" "$SCRATCH/elsewhere"
RUN="$XDG_DATA_HOME/abyssor"

# The launcher started from an unrelated folder with the switches given
# (recorded in session.rec), asked to quit once it has read its menu.
play_and_quit() {
    local where=$1 status=0
    shift
    (cd "$SCRATCH/elsewhere" && ABYSSOR_RECORD="$SCRATCH/session.rec" exec "$LAUNCHER" "$@") \
        >"$SCRATCH/out.txt" 2>"$SCRATCH/err.txt" &
    GAME_PID=$!
    for _ in $(seq 200); do
        grep -q "SCRIPT/menu.scr : Nahrana bitmapa" "$SCRATCH/out.txt" 2>/dev/null && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "$where: the game ended before its menu"
        sleep 0.1
    done
    grep -q "SCRIPT/menu.scr : Nahrana bitmapa" "$SCRATCH/out.txt" || fail "$where: the game did not read its menu"
    kill -TERM "$GAME_PID"
    for _ in $(seq 600); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
    ! kill -0 "$GAME_PID" 2>/dev/null || fail "$where: the game did not quit"
    wait "$GAME_PID" || status=$?
    GAME_PID=""
    [ "$status" = 0 ] || fail "$where: the game ended with status $status"
    [ -z "$(ls -A "$SCRATCH/elsewhere")" ] || fail "$where: the game wrote into the folder it was started from"
}

play_and_quit "first start" -EF1
grep -qx 'args -XA -EF1' "$SCRATCH/session.rec" || fail "the launcher did not ask for the largest scale: $(sed -n 2p "$SCRATCH/session.rec")"
[ -d "$RUN/SCRIPT" ] || fail "no run folder with scripts at $RUN"
for media in GFX SFX; do [ "$(readlink "$RUN/$media")" = "$PREFIX/share/abyssor/$media" ] || fail "$media is not linked to the installed media"; done
diff -r "$PREFIX/share/abyssor/SCRIPT" "$RUN/SCRIPT" >/dev/null || fail "the run folder's scripts differ from the installed ones"
[ "$(sed -n 1p "$RUN/fps.txt")" = "ABYSSOR v0.2 -= Tarvik software =-" ] || fail "no frame-rate report in the run folder"
[ -w "$RUN/SCRIPT/topten.scr" ] || fail "the player's high-score table cannot be written"

# The player's own table and an edited script outlive the next start.
sed -i '1s/.*/Hrac 99999 4/' "$RUN/SCRIPT/topten.scr"
echo "# mine" >>"$RUN/SCRIPT/misc.scr"
rm "$RUN/fps.txt"
play_and_quit "second start" -FS-X2
grep -qx 'args -FS-X2' "$SCRATCH/session.rec" || fail "the launcher overrode the scale named: $(sed -n 2p "$SCRATCH/session.rec")"
[ "$(sed -n 1p "$RUN/SCRIPT/topten.scr")" = "Hrac 99999 4" ] || fail "the player's high scores were replaced: $(head -2 "$RUN/SCRIPT/topten.scr")"
[ "$(tail -1 "$RUN/SCRIPT/misc.scr")" = "# mine" ] || fail "the player's script was replaced"
[ -f "$RUN/fps.txt" ] || fail "no frame-rate report after the second start"

[ "$(snapshot)" = "$before" ] || fail "the installed tree changed: $(diff <(echo "$before") <(snapshot) | head -5)"
echo "install passed"
