#!/bin/bash
# Fails when the game library defines a variable that the list does not
# name: the suite resets every listed global before each test, and an
# unlisted one could carry one test's leftovers into the next.
# Usage: check_game_globals.sh LIBRARY LIST
listed=$(grep -v '^#' "$2" | sed -n 's/ | .*$//p' | sort -u)
# Data and bss symbols, local or global, but the sanitizers' own ("__", ".").
defined=$(nm -C --defined-only "$1" | sed -n 's/^[0-9a-f]* [bBdDgGsSvV] //p' | grep -v '^\(__\|\.\)' | sort -u)
missing=$(comm -23 <(echo "$defined") <(echo "$listed"))
if [ -n "$missing" ]; then
    printf 'Globals without a reset (give each one in reset_game_globals and list it in %s):\n%s\n' "$2" "$missing"
    exit 1
fi
echo "$(echo "$defined" | wc -l) globals, every one listed with its reset"
