#!/bin/sh
# Installs what is missing, builds everything (plain and with the address and
# undefined-behaviour sanitizers) and runs the whole test suite: unit and
# integration tests, the data-set checks, the window tests under Xvfb and
# short fuzz runs.
set -eu
cd "$(dirname "$0")"
ABYSSOR_TEST_BUILDS=1 sh tools/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
ctest --test-dir build --output-on-failure -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
sh fuzz/run.sh build-fuzz 90
echo "All tests passed."
