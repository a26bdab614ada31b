#!/bin/bash
# Plants each fault of faults.txt in turn (one line of Src/ changed), builds,
# runs the fast suite (the unit tests in one process, the kept games, the
# data check and the autoplayer's levels) and says whether a test failed.
# The source is put back after each fault, whatever happens.
# Usage: tests/mutants/run.sh <build folder> [first fault] [last fault]
#        tests/mutants/run.sh <build folder> --check   (every fault applies)
set -uo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BUILD=$(cd "$1" && pwd)
first=${2:-1} last=${3:-100000}
check=0
[ "$first" = --check ] && { check=1; first=1; }
caught=0 missed=0 number=0 file="" from="" what=""
report() { printf '%3d %-30s %s: %s\n' "$number" "$1" "$file" "$what"; }
try_fault() {
    number=$((number + 1))
    [ "$number" -ge "$first" ] && [ "$number" -le "$last" ] || return 0
    cp "$ROOT/$file" "$BUILD/.mutant-original"
    if ! perl "$HERE/plant.pl" "$ROOT/$file" "$from" "$to"; then report BROKEN; return 0; fi
    if [ "$check" = 1 ]; then cp "$BUILD/.mutant-original" "$ROOT/$file"; report applies; return 0; fi
    local failed=""
    if ! cmake --build "$BUILD" -j2 >"$BUILD/.mutant-build.log" 2>&1; then
        cp "$BUILD/.mutant-original" "$ROOT/$file"
        report "BROKEN (does not build)"
        return 0
    elif ! (cd "$BUILD/tests" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 600 ./abyssor_tests >/dev/null 2>&1); then
        failed="unit tests"
    elif ! ctest --test-dir "$BUILD" -L golden -R golden_ >/dev/null 2>&1; then
        failed="kept games"
    elif ! ctest --test-dir "$BUILD" -R '^(datacheck|autoplayer_wins_every_level)$' --timeout 900 >/dev/null 2>&1; then
        failed="data check or autoplayer"
    fi
    cp "$BUILD/.mutant-original" "$ROOT/$file"
    if [ -n "$failed" ]; then caught=$((caught + 1)); report "caught ($failed)"; else missed=$((missed + 1)); report MISSED; fi
}
while IFS= read -r line || [ -n "$line" ]; do
    case $line in
        "# "*) what=${line#\# } ;;
        "file: "*) file=${line#file: } ;;
        "from: "*) from=${line#from: } ;;
        "to:   "*) to=${line#to:   }; try_fault ;;
    esac
done <"$HERE/faults.txt"
cmake --build "$BUILD" -j2 >/dev/null 2>&1
[ "$check" = 1 ] || echo "caught $caught of $((caught + missed))"
