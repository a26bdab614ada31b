#!/bin/bash
# The suite puts every global of the game back as the program starts, through
# reset_game_globals, before each test. This fails when the game library
# defines a variable that the list does not name, or one in a module whose
# reset reset_game_globals does not call: such a global could carry one test's
# leftovers into the next. The list names the globals; which reset puts each
# back is read from the library itself.
# Usage: check_game_globals.sh LIBRARY LIST
export LC_ALL=C
library=$1
list=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# "module<TAB>name" for the data and bss symbols, local or global, but the
# sanitizers' own ("__", ".").
nm -A -C --defined-only "$library" |
    sed -n 's/^.*\.a:\([^:]*\.o\):[0-9a-f]* [bBdDgGsSvV] \(.*\)$/\1\t\2/p' | grep -v $'\t\\(__\\|\\.\\)' |
    sort -u >"$scratch/globals"

missing=$(comm -23 <(cut -f2 "$scratch/globals" | sort -u) <(grep -v '^#' "$list" | sed 's/ | .*$//' | sort -u))
if [ -n "$missing" ]; then
    printf 'Globals not listed in %s (give each one its reset and list it):\n%s\n' "$list" "$missing"
    exit 1
fi

# The functions that reset_game_globals calls: the relocations inside its body.
reset=_Z18reset_game_globalsv
home=$(nm -A --defined-only "$library" | sed -n "s/^.*\.a:\([^:]*\.o\):[0-9a-f]* T $reset\$/\1/p")
ar p "$library" "$home" >"$scratch/home.o"
read -r section start size < <(objdump -t "$scratch/home.o" | awk -v f=$reset '$NF == f { print $(NF-2), $1, $(NF-1) }')
objdump -r -j "$section" "$scratch/home.o" |
    awk -v start=$((16#$start)) -v end=$((16#$start + 16#$size)) '
        function number(hex,  i, n) { for (i = 1; i <= length(hex); i++) n = n * 16 + index("0123456789abcdef", substr(hex, i, 1)) - 1; return n }
        $1 ~ /^[0-9a-f]+$/ && number($1) >= start && number($1) < end { sub(/[-+]0x[0-9a-f]+$/, "", $3); print $3 }' |
    sort -u >"$scratch/called"

# The modules that it reaches: its own, and each that defines a function it calls.
{
    echo "$home"
    nm -A --defined-only "$library" | sed -n 's/^.*\.a:\([^:]*\.o\):[0-9a-f]* [TtW] \(.*\)$/\2\t\1/p' |
        sort -t $'\t' -k1,1 | join -t $'\t' - "$scratch/called" | cut -f2
} | sort -u >"$scratch/reached"

constants=$(grep -v '^#' "$list" | sed -n 's/ | constant$//p' | sort -u)
unreset=$(sort -t $'\t' -k1,1 "$scratch/globals" | join -t $'\t' -v 1 - "$scratch/reached" | cut -f2 | sort -u |
          comm -23 - <(echo "$constants"))
if [ -n "$unreset" ]; then
    printf 'Globals in a module whose reset reset_game_globals does not call:\n%s\n' "$unreset"
    exit 1
fi
echo "$(wc -l <"$scratch/globals") globals, every one listed and reset through reset_game_globals"
