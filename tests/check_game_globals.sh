#!/bin/bash
# Fails when the game library defines a variable that tests/game_globals.txt
# does not list: the suite resets every listed global before each test, and
# an unlisted one could carry one test's leftovers into the next.
# Usage: check_game_globals.sh LIBRARY LIST
set -u
library=$1
list=$2
listed=$(grep -v '^#' "$list" | sed -n 's/ | .*$//p' | sort -u)
# Data and bss symbols, local or global; the sanitizers' own start with "__"
# or ".".
defined=$(nm -C --defined-only "$library" |
          sed -n 's/^[0-9a-f]* [bBdDgGsSvV] //p' | grep -v '^\(__\|\.\)' | sort -u)
missing=$(comm -23 <(echo "$defined") <(echo "$listed"))
if [ -n "$missing" ]; then
    echo "Globals without a reset (give each one in reset_game_globals and list it in $list):"
    echo "$missing"
    exit 1
fi
echo "$(echo "$defined" | wc -l) globals, every one listed with its reset"
