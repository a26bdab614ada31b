#!/bin/bash
# The difficulty curve of the data set, as the human-like player of skill 5
# meets it: 20 games per level (seeds 1 ... 20), each from a fresh copy of the
# run folder's program. The first level must be won in at least 18 of them, the
# second 14, the third 10, the fourth 6, each level less often than the one
# before, and every win of the first level must score enough to enter the
# shipped high-score table. Prints the player's line per level.
#
# Usage: human_curve.sh <autoplayer> <run folder> <source SCRIPT folder>
set -euo pipefail
AUTOPLAYER=$1
RUN_DIR=$(cd "$2" && pwd)
SCRIPTS=$(cd "$3" && pwd)
GAMES=20
WORK=$(mktemp -d /tmp/abyssor-human-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cp -r "$RUN_DIR"/. "$WORK"/
cp "$SCRIPTS/topten.scr" "$WORK/SCRIPT/topten.scr"
"$AUTOPLAYER" "$WORK" --each-level --human --games $GAMES >"$WORK/autoplayer.log" 2>&1 \
    || { tail -5 "$WORK/autoplayer.log" >&2; echo "FAIL: the autoplayer failed" >&2; exit 1; }
grep 'human-like, skill' "$WORK/autoplayer.log"
lowest=$(awk '{ print $2 }' "$SCRIPTS/topten.scr" | sort -n | head -1)
awk -v games=$GAMES -v levels="$(grep -c . "$SCRIPTS/levels.scr")" -v lowest="$lowest" '
    BEGIN { split("18 14 10 6", least, " ") }
    / human-like, skill [0-9]+, won / {
        level = $3; won = $9 + 0; seen++
        if (level in least && won < least[level]) { print "FAIL: level " level " won " won " of " games ", fewer than " least[level]; bad = 1 }
        if (level > 1 && won >= before) { print "FAIL: level " level " won " won " times, not less often than level " level - 1 " (" before ")"; bad = 1 }
        before = won
    }
    / human-like game [0-9]+: won, / && $3 == 1 {
        score = $12 + 0
        if (score <= lowest) { print "FAIL: a win of level 1 scored " score ", not above the lowest high score " lowest; bad = 1 }
    }
    END {
        if (seen != levels) { print "FAIL: " seen " levels reported of " levels; bad = 1 }
        exit bad
    }' "$WORK/autoplayer.log" >&2
