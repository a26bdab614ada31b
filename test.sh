#!/bin/sh
# Installs what is missing, builds everything (plain and with the address and
# undefined-behaviour sanitizers) and runs the whole test suite: unit and
# integration tests, the data-set checks, the window tests under Xvfb,
# short fuzz runs, and the browser build played in headless Chromium.
set -eu
cd "$(dirname "$0")"
ABYSSOR_TEST_BUILDS=1 sh tools/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
ctest --test-dir build --output-on-failure -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
sh fuzz/run.sh build-fuzz 90
# The browser build (after the desktop's, whose media and game it uses) and
# its tests, one after the other: each drives a whole browser.
ABYSSOR_TEST_BUILDS=1 sh web.sh
ctest --test-dir build-web --output-on-failure -j 1
echo "All tests passed."
