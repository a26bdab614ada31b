#!/bin/sh
# Installs whatever the game needs that this Debian machine lacks, then
# configures and builds the game (run folder included) in build/, and with
# ABYSSOR_TEST_BUILDS=1 also the sanitizer build in build-asan/ and the
# fuzzers in build-fuzz/.
set -eu
cd "$(dirname "$0")/.."

PACKAGES="build-essential cmake ninja-build pkg-config git
  libsdl1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev fonts-dejavu-core zlib1g-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xdotool imagemagick x11-utils"

missing=""
for package in $PACKAGES; do
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
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
if [ "${ABYSSOR_TEST_BUILDS:-0}" = 1 ]; then
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DABYSSOR_SANITIZE=ON -DABYSSOR_BENCHMARKS=OFF >/dev/null
    cmake --build build-asan -j "$jobs"
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DABYSSOR_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j "$jobs"
fi
