#!/bin/sh
# Builds ABYSSOR for the browser into build-web/site (index.html, abyssor.js,
# abyssor.wasm, and the data: each edition's start-cs.data or start-en.data,
# and levels.data with levels-cs.data or levels-en.data), installing what is
# missing: the desktop build (./play.sh's packages) that draws the game's
# pictures and sounds, Debian's WebAssembly tool chain and the sources of
# SDL 1.2 and SDL_mixer 1.2.
# Serve the folder over HTTP, e.g.
#   cd build-web/site && python3 -m http.server 8000
# and open http://localhost:8000/ (file:// does not work).
# With ABYSSOR_TEST_BUILDS=1 (./test.sh) it also installs what the browser
# tests need: Debian's Chromium and the test driver from npm.
set -eu
cd "$(dirname "$0")"
sh tools/setup.sh

WEB_PACKAGES="emscripten dpkg-dev"
testing=${ABYSSOR_TEST_BUILDS:-0}
if [ "$testing" = 1 ]; then WEB_PACKAGES="$WEB_PACKAGES chromium"; fi
missing=""
for package in $WEB_PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
# npm may come with a Node.js of another origin than Debian's.
if [ "$testing" = 1 ] && ! command -v npm >/dev/null 2>&1; then missing="$missing npm"; fi
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="sudo"; fi
    $as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
fi

# Debian's emscripten finds its JavaScript tools among Debian's node modules.
NODE_PATH=/usr/share/nodejs
export NODE_PATH
jobs=$(nproc 2>/dev/null || echo 2)
# The English edition's pictures, which the browser's data packages take
# from the desktop build as they take the Czech ones.
cmake --build build -j "$jobs" --target abyssor_media_en
if [ ! -f build-web/CMakeCache.txt ]; then
    emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release -DABYSSOR_DESKTOP_BUILD="$PWD/build" >/dev/null
fi
cmake --build build-web -j "$jobs"

if [ "$testing" = 1 ]; then
    # The browser tests' driver, from the lock file, outside the source tree.
    node_dir=build-web/node
    mkdir -p "$node_dir"
    if ! cmp -s web/tests/package-lock.json "$node_dir/package-lock.json" || [ ! -d "$node_dir/node_modules" ]; then
        cp web/tests/package.json web/tests/package-lock.json "$node_dir/"
        (cd "$node_dir" && npm ci --no-audit --no-fund --loglevel=error)
    fi
fi
echo "The browser build is in build-web/site: serve it with"
echo "  (cd build-web/site && python3 -m http.server 8000)   and open http://localhost:8000/"
