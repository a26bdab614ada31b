#!/bin/bash
# The Debian package as a player's machine gets it: cpack makes it from the
# build folder, lintian, appstreamcli and desktop-file-validate find no
# error in it, dpkg installs it into a scratch root, its launcher starts the
# installed game in a window under Xvfb, by the locale and by --lang, and
# the menu shown is that edition's; dpkg removes it again and nothing of it
# is left but the player's own folder.
# Usage: test_package.sh <build folder> <screenshot folder>
set -euo pipefail
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/../e2e/lib.sh" "$BUILD/run" "$2"
SCRATCH=$(mktemp -d /tmp/abyssor-package-XXXXXX)
trap 'e2e_cleanup; rm -rf "$SCRATCH"' EXIT
ROOT=$SCRATCH/root PLAYER=$SCRATCH/player
export PATH="$PATH:/usr/sbin:/sbin"

# --- The package and the validators -----------------------------------------------
(cd "$SCRATCH" && cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$SCRATCH/out" >"$SCRATCH/cpack.txt" 2>&1) ||
    fail "cpack failed: $(tail -5 "$SCRATCH/cpack.txt")"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
DEB=$SCRATCH/out/abyssor_${version}_$(dpkg --print-architecture).deb
[ -f "$DEB" ] || fail "no $(basename "$DEB"), but: $(ls "$SCRATCH/out")"
dpkg-deb -f "$DEB" Depends | grep -q 'libsdl1.2debian.*libsdl-mixer1.2\|libsdl-mixer1.2.*libsdl1.2debian' ||
    fail "the package does not depend on SDL and its mixer: $(dpkg-deb -f "$DEB" Depends)"
lintian --fail-on error "$DEB" || fail "lintian found errors"
dpkg-deb -x "$DEB" "$SCRATCH/files"
metainfo=$(ls "$SCRATCH"/files/usr/share/metainfo/*.metainfo.xml)
desktop=$(ls "$SCRATCH"/files/usr/share/applications/*.desktop)
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $(basename "$metainfo")"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $(basename "$desktop")"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" || fail "the metainfo does not launch the desktop entry"
# Each screenshot it names is one the build took, 640 x 480.
for name in $(sed -n 's|.*<image[^>]*>.*/\([^/]*\.png\)</image>.*|\1|p' "$metainfo"); do
    [ "$(identify -format '%wx%h' "$BUILD/screenshots/$name" 2>/dev/null)" = 640x480 ] || fail "the build has no 640 x 480 screenshot $name"
done

# --- Installed into a scratch root ----------------------------------------------------
mkdir -p "$ROOT/var/lib/dpkg/info" "$ROOT/var/lib/dpkg/updates" "$SCRATCH/home" "$SCRATCH/elsewhere"
touch "$ROOT/var/lib/dpkg/status"
dpkg_root() { dpkg --root="$ROOT" --log="$SCRATCH/dpkg.log" --force-not-root --force-depends "$@" >"$SCRATCH/dpkg.txt" 2>&1 || fail "dpkg $*: $(cat "$SCRATCH/dpkg.txt")"; }
dpkg_root -i "$DEB"
LAUNCHER=$ROOT/usr/games/abyssor
[ -x "$LAUNCHER" ] || fail "the package installed no launcher in /usr/games"
for edition in cs en; do convert "$ROOT/usr/share/abyssor/$edition/GFX/menu/main1.bmp" "$SHOT_DIR/ref-$edition-main1.png"; done

# --- Each edition's menu in a window --------------------------------------------------
start_display 1024x768x24
# The buttons of items 1 to 4 (the first one shows the highlight).
BUTTONS="220 246 200 214"
# Whether screenshot $2 shows the menu of edition $1: near its picture, and
# nearer to it than to the other edition's.
shows_menu_of() {
    local other=cs own theirs
    [ "$1" = en ] || other=en
    own=$(region_difference "$2" "ref-$1-main1" $BUTTONS)
    theirs=$(region_difference "$2" "ref-$other-main1" $BUTTONS)
    closer "$own" 0.03 && closer "$own" "$theirs"
}
# The installed launcher started with the locale and switches given (after
# the edition expected), from a folder of no concern, as a player would.
menu_in_edition() {
    local expected=$1 locale=$2 name=menu-$3
    shift 3
    (cd "$SCRATCH/elsewhere" && exec env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG="$locale" HOME="$SCRATCH/home" \
        XDG_DATA_HOME="$PLAYER" SDL_AUDIODRIVER=dummy "$LAUNCHER" "$@" >"$WORK/stdout.txt" 2>"$WORK/stderr.txt") &
    GAME_PID=$!
    WID=$(timeout 20 xdotool search --sync --name '^ABYSSOR$' | head -1) || fail "$name: the game window did not appear"
    for attempt in $(seq 120); do
        move_mouse $((300 + attempt % 2)) 240
        shot "$name"
        shows_menu_of "$expected" "$name" && break
        game_running || fail "$name: the game ended before its menu"
        sleep 0.25
    done
    shows_menu_of "$expected" "$name" ||
        fail "$name: not the $expected menu (difference $(region_difference "$name" "ref-$expected-main1" $BUTTONS))"
    kill -TERM "$GAME_PID"
    wait_exit 30
    GAME_PID=""
}
menu_in_edition en en_US.UTF-8 english
menu_in_edition cs cs_CZ.UTF-8 czech
menu_in_edition en cs_CZ.UTF-8 named-english --lang en
[ -d "$PLAYER/abyssor/cs" ] && [ -d "$PLAYER/abyssor/en" ] && [ -f "$PLAYER/abyssor/topten.scr" ] ||
    fail "the player's folder holds no run folder of each edition and their table"

# --- Removed ---------------------------------------------------------------------------
dpkg_root --purge abyssor
left=$(cd "$ROOT" && find . -mindepth 1 ! -path './var' ! -path './var/lib' ! -path './var/lib/dpkg' ! -path './var/lib/dpkg/*')
[ -z "$left" ] || fail "removing the package left: $(echo "$left" | head -5)"
! grep -rqs abyssor "$ROOT/var/lib/dpkg/info" "$ROOT/var/lib/dpkg/status" || fail "dpkg still knows the package"
[ -z "$(find "$SCRATCH/home" "$SCRATCH/elsewhere" -mindepth 1)" ] || fail "the game wrote outside the player's folder"
echo "package passed"
