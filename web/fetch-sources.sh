#!/bin/sh
# Fetches the sources of the SDL 1.2 and SDL_mixer 1.2 that the desktop game
# links, in the very Debian versions, into the folder given (default
# build-web/sources), as SDL/ and SDL_mixer/ with Debian's patches applied. A
# private sources list is used, so the machine's own apt configuration is left
# as it is. Nothing is fetched when the sources are already there.
set -eu
dest=${1:-build-web/sources}
SDL_VERSION=1.2.15+dfsg2-8
MIXER_VERSION=1.2.12-17
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
if [ -f "$dest/libsdl1.2-$SDL_VERSION.ok" ] && [ -f "$dest/sdl-mixer1.2-$MIXER_VERSION.ok" ]; then exit 0; fi
rm -f "$dest"/*.ok

apt_dir="$dest/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main" > "$apt_dir/sources.list"
set -- -o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null \
       -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache::Archives="$apt_dir/archives" \
       -o APT::Sandbox::User=root
apt-get "$@" update -qq
cd "$dest"
# Each source package is unpacked (with Debian's patches applied) and its
# tree renamed to a fixed name: SDL/ and SDL_mixer/.
for triple in "libsdl1.2=$SDL_VERSION=SDL" "sdl-mixer1.2=$MIXER_VERSION=SDL_mixer"; do
    pair=${triple%=*}
    tree=${triple##*=}
    name=${pair%%=*}
    version=${pair#*=}
    rm -rf "$tree" "$name-src"
    mkdir -p "$name-src"
    (cd "$name-src" && apt-get "$@" source -qq "$pair" >/dev/null)
    mv "$name-src/$name-${version%-*}" "$tree"
    rm -rf "$name-src"
    touch "$name-$version.ok"
done
