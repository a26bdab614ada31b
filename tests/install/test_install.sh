#!/bin/bash
# The game installed into a scratch prefix the player cannot write to, its
# launcher started with an empty data folder, in each edition: the first
# start makes the edition's run folder (scripts copied, media linked), where
# the game, asked to quit by an interrupt, writes its report and its high
# scores; the other edition then starts on those scores, and later starts
# keep what the player has there. A player's folder of an older installation
# (one Czech run folder) is taken over. Nothing in the prefix may change.
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
LAUNCHER="$PREFIX/bin/abyssor" DESKTOP="$PREFIX/share/applications/cz.tarvik.abyssor.desktop" DATA="$PREFIX/share/abyssor"
[ -x "$LAUNCHER" ] && grep -qxF "Exec=$LAUNCHER" "$DESKTOP" || fail "no launcher in bin/ that the desktop entry starts"
icon=$(sed -n 's/^Icon=//p' "$DESKTOP")
[ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "the desktop entry's icon $icon is no PNG"
chmod -R a-w "$PREFIX"  # an installed tree the player cannot write to
before=$(snapshot)

export XDG_DATA_HOME="$SCRATCH/data" HOME="$SCRATCH/home" LANG=en_US.UTF-8
unset LC_ALL LC_MESSAGES LANGUAGE
mkdir -p "$HOME" "$SCRATCH/elsewhere"
HOME_DIR="$XDG_DATA_HOME/abyssor"

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
# The edition's run folder as the launcher made it: scripts copied, media
# linked, the table a link to the shared one (or the file the game wrote
# in its place).
check_run_folder() {
    local edition=$1 run=$HOME_DIR/$1
    [ -d "$run/SCRIPT" ] || fail "no run folder with scripts at $run"
    for media in GFX SFX; do [ "$(readlink "$run/$media")" = "$DATA/$edition/$media" ] || fail "$edition: $media is not linked to the installed media"; done
    diff -r -x topten.scr "$DATA/$edition/SCRIPT" "$run/SCRIPT" >/dev/null || fail "$edition: the run folder's scripts differ from the installed ones"
    [ "$(sed -n 1p "$run/fps.txt")" = "ABYSSOR v0.2 -= Tarvik software =-" ] || fail "$edition: no frame-rate report in the run folder"
    [ -f "$run/SCRIPT/topten.scr" ] && [ ! -L "$run/SCRIPT/topten.scr" ] || fail "$edition: the game wrote no table of its own"
}

# English by the locale; the game gets the largest scale.
play_and_quit "first start" -EF1
grep -qx 'args -XA -EF1' "$SCRATCH/session.rec" || fail "the launcher did not ask for the largest scale: $(sed -n 2p "$SCRATCH/session.rec")"
check_run_folder en
[ ! -e "$HOME_DIR/cs" ] || fail "the English start made a Czech run folder"
cmp -s "$HOME_DIR/en/SCRIPT/in.scr" "$DATA/en/SCRIPT/in.scr" || fail "the English run folder has not the English credits"

# The English game's new best score, then the Czech edition, named outright:
# it starts on that score, and the player's own script changes stay.
sed -i '1s/.*/Hrac 99999 4/' "$HOME_DIR/en/SCRIPT/topten.scr"
echo "# mine" >>"$HOME_DIR/en/SCRIPT/misc.scr"
play_and_quit "Czech start" --lang cs -FS-X2
grep -qx 'args -FS-X2' "$SCRATCH/session.rec" || fail "the launcher passed on --lang or overrode the scale named: $(sed -n 2p "$SCRATCH/session.rec")"
check_run_folder cs
cmp -s "$HOME_DIR/cs/SCRIPT/in.scr" "$DATA/cs/SCRIPT/in.scr" || fail "the Czech run folder has not the Czech credits"
[ "$(sed -n 1p "$HOME_DIR/cs/SCRIPT/topten.scr")" = "Hrac 99999 4" ] || fail "the Czech edition did not get the English game's scores: $(head -2 "$HOME_DIR/cs/SCRIPT/topten.scr")"

# Back in English: one table again, the same for both, and still the player's.
rm "$HOME_DIR/en/fps.txt"
play_and_quit "second English start" --lang=en
[ -f "$HOME_DIR/en/fps.txt" ] || fail "no frame-rate report after the second English start"
[ "$(sed -n 1p "$HOME_DIR/en/SCRIPT/topten.scr")" = "Hrac 99999 4" ] || fail "the player's high scores were replaced: $(head -2 "$HOME_DIR/en/SCRIPT/topten.scr")"
[ "$(grep -c . "$HOME_DIR/en/SCRIPT/topten.scr")" = 10 ] || fail "the table holds more or less than ten entries"
[ "$(tail -1 "$HOME_DIR/en/SCRIPT/misc.scr")" = "# mine" ] || fail "the player's script was replaced"
[ "$(readlink "$HOME_DIR/cs/SCRIPT/topten.scr")" = "$HOME_DIR/topten.scr" ] || fail "the Czech table is no link to the shared one"

# An older installation's player: one Czech run folder, media linked.
export XDG_DATA_HOME="$SCRATCH/old"
HOME_DIR="$XDG_DATA_HOME/abyssor"
mkdir -p "$HOME_DIR"
cp -r "$DATA/cs/SCRIPT" "$HOME_DIR/SCRIPT"
chmod -R u+w "$HOME_DIR"
sed -i '1s/.*/Stary 77777 3/' "$HOME_DIR/SCRIPT/topten.scr"
ln -s "$PREFIX/share/abyssor/GFX" "$HOME_DIR/GFX"
LANG=cs_CZ.UTF-8 play_and_quit "older player's start"
check_run_folder cs
[ ! -e "$HOME_DIR/SCRIPT" ] && [ ! -L "$HOME_DIR/GFX" ] || fail "the older run folder was not taken over"
[ "$(sed -n 1p "$HOME_DIR/cs/SCRIPT/topten.scr")" = "Stary 77777 3" ] || fail "the older player's scores were lost"

[ "$(snapshot)" = "$before" ] || fail "the installed tree changed: $(diff <(echo "$before") <(snapshot) | head -5)"
echo "install passed"
