#!/bin/sh
# Installs whatever this Debian machine lacks, then configures and builds.
#
# Plain (./play.sh): only what building and running the game need, and only
# the game with its scripts and generated media in build/run (and its icon,
# for `cmake --install`).
# With ABYSSOR_TEST_BUILDS=1 (./test.sh): also what the tests need, and
# everything in build/ (tests and benchmarks included), the sanitizer build in
# build-asan/ and the fuzzers in build-fuzz/.
set -eu
cd "$(dirname "$0")/.."

# Compilers and build tools; SDL 1.2 and its mixer for the game; SDL_ttf,
# the DejaVu fonts and zlib for the media generator that the build runs.
PLAY_PACKAGES="build-essential cmake ninja-build pkg-config
  libsdl1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev fonts-dejavu-core zlib1g-dev"
# GoogleTest and the benchmark library; clang and its fuzzing runtime; for
# the window tests a virtual X server, xdotool, ImageMagick, xdpyinfo and
# Xlib (the tool that closes the window as a window manager would); the
# checkers of the Debian package, its AppStream data and its desktop entry
# (dpkg-shlibdeps, which finds its dependencies, comes with build-essential).
TEST_PACKAGES="libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  xvfb xdotool imagemagick x11-utils libx11-dev lintian appstream desktop-file-utils"

testing=${ABYSSOR_TEST_BUILDS:-0}
packages=$PLAY_PACKAGES
if [ "$testing" = 1 ]; then packages="$PLAY_PACKAGES $TEST_PACKAGES"; fi

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="sudo"; fi
    $as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq $missing
fi

jobs=$(nproc 2>/dev/null || echo 2)
if [ "$testing" = 1 ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DABYSSOR_TESTS=ON -DABYSSOR_BENCHMARKS=ON >/dev/null
    cmake --build build -j "$jobs"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DABYSSOR_SANITIZE=ON -DABYSSOR_BENCHMARKS=OFF >/dev/null
    cmake --build build-asan -j "$jobs"
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DABYSSOR_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j "$jobs"
else
    # A first build leaves the tests and benchmarks out (their packages may be
    # missing); a folder that the test command has set up keeps them.
    if [ -f build/CMakeCache.txt ]; then
        cmake -S . -B build >/dev/null
    else
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DABYSSOR_TESTS=OFF -DABYSSOR_BENCHMARKS=OFF >/dev/null
    fi
    # The game with its data, and the icon that installing it needs.
    cmake --build build -j "$jobs" --target abyssor abyssor_icon
fi
