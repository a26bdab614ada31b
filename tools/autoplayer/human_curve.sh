#!/bin/bash
# The difficulty curve of the data set as the human-like player meets it, at
# skills 1, 3 and 5: 40 games a level and skill (seeds 1 ... 40), played by
# the ladder (ladder.sh: two programs at a time, under nice). The curve:
#   - level 1 is won by at least 90 % at every skill;
#   - at every skill each level is won less often than the one before,
#     unless the one before is won 98 % or more;
#   - from one skill to a higher one no level is won more than 10 points a
#     skill less often;
#   - skill 1 wins levels 2, 3, 4 at least 50, 30, 10 %; skill 3 at least
#     75, 55, 35 %; skill 5 wins level 4 between 50 and 85 %;
#   - at every skill the gun meets its heat limit (the ready lamp goes out)
#     in some game of every level;
#   - every win of level 1 scores above the lowest shipped high score.
# Each threshold is widened by twice the binomial noise of 40 games (the
# noise of both counts where two rates are compared), so that the luck of
# 40 games alone seldom fails a data set whose rates meet the curve.
#
# Usage: human_curve.sh <autoplayer> <run folder> <source SCRIPT folder>
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SCRIPTS=$(cd "$3" && pwd)
GAMES=40
OUT=$(mktemp /tmp/abyssor-curve-XXXXXX)
trap 'rm -f "$OUT"' EXIT
bash "$HERE/ladder.sh" "$1" "$2" "$SCRIPTS" --games $GAMES --skills "1 3 5" --each-game >"$OUT" \
    || { cat "$OUT" >&2; echo "FAIL: the ladder did not play through" >&2; exit 1; }
grep -v '^game:' "$OUT"
lowest=$(awk '{ print $2 }' "$SCRIPTS/topten.scr" | sort -n | head -1)
awk -v games="$GAMES" -v levels="$(grep -c . "$SCRIPTS/levels.scr")" -v lowest="$lowest" '
    function noise(p) { return 200 * sqrt(p * (1 - p) / games) }
    function noise2(a, b,    p) { p = (a + b) / 200; return 200 * sqrt(2 * p * (1 - p) / games) }
    function at_least(skill, level, least) {
        if (rate[skill, level] < least - noise(least / 100))
            fail("skill " skill " won level " level " " rate[skill, level] " %, under " least " % (less its noise)")
    }
    function fail(text) { print "FAIL: " text; bad = 1 }
    / human-like, skill / { s = $7 + 0; l = $3 + 0; rate[s, l] = ($9 + 0) * 100 / games; seen[s] = 1; cells++ }
    /^heat: / { hot[$3 + 0, $5 + 0] = $6 + 0 }
    /^game: / && $3 == 1 && $4 == "won" && $5 + 0 <= lowest { fail("a win of level 1 scored " $5 ", not above the lowest high score " lowest) }
    END {
        n = 0
        for (s = 1; s <= 5; s++) if (s in seen) order[++n] = s
        if (cells != n * levels) fail(cells " cells reported of " n * levels)
        for (i = 1; i <= n; i++) {
            s = order[i]
            at_least(s, 1, 90)
            for (l = 1; l <= levels; l++) {
                if (hot[s, l] == 0) fail("at skill " s " the gun never met its heat limit on level " l)
                if (l > 1 && rate[s, l - 1] < 98 - noise(0.98) && rate[s, l] >= rate[s, l - 1] + noise2(rate[s, l], rate[s, l - 1]))
                    fail("skill " s " won level " l " " rate[s, l] " %, not less often than level " l - 1 " (" rate[s, l - 1] " %)")
                if (i > 1 && rate[s, l] < rate[order[i - 1], l] - 10 * (s - order[i - 1]) - noise2(rate[s, l], rate[order[i - 1], l]))
                    fail("skill " s " won level " l " " rate[s, l] " %, more than 10 points a skill under skill " order[i - 1] " (" rate[order[i - 1], l] " %)")
            }
        }
        if (1 in seen) { at_least(1, 2, 50); at_least(1, 3, 30); at_least(1, 4, 10) }
        if (3 in seen) { at_least(3, 2, 75); at_least(3, 3, 55); at_least(3, 4, 35) }
        if (5 in seen) {
            at_least(5, 4, 50)
            if (rate[5, 4] > 85 + noise(0.85)) fail("skill 5 won level 4 " rate[5, 4] " %, over 85 % (and its noise): the last level is no challenge")
        }
        exit bad
    }' "$OUT" >&2
