#!/bin/bash
# The ladder of skills: the human-like player's games of every level at every
# skill it is given, each cell (a skill and a level) in a program of its own,
# at most two at a time under nice. Prints the player's line per cell, then
# the table of win rates (skills by levels) and the table of the games in
# which the gun met its heat limit (the ready lamp went out).
#
# Usage: ladder.sh <autoplayer> <run folder> <source SCRIPT folder>
#                  [--games N] [--skills "K ..."] [--levels "L ..."] [--each-game]
#   --games N     games a cell, seeds 1 ... N (100 unless given)
#   --skills      the skills played (1 to 5 unless given)
#   --levels      the levels played (all unless given)
#   --each-game   also a line per game:
#                 "game: SKILL LEVEL OUTCOME SCORE LAMP_OUTS FRAMES HITS_TAKEN"
set -euo pipefail
AUTOPLAYER=$(realpath "$1")
RUN_DIR=$(cd "$2" && pwd)
SCRIPTS=$(cd "$3" && pwd)
shift 3
GAMES=100 SKILLS="1 2 3 4 5" EACH_GAME=0 PLAYED=""
while [ $# -gt 0 ]; do
    case "$1" in
    --games) GAMES=$2; shift 2 ;;
    --skills) SKILLS=$2; shift 2 ;;
    --levels) PLAYED=$2; shift 2 ;;
    --each-game) EACH_GAME=1; shift ;;
    *) echo "ladder.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
LEVELS=$(grep -c . "$SCRIPTS/levels.scr")
PLAYED=${PLAYED:-$(seq 1 "$LEVELS")}
WORK=$(mktemp -d /tmp/abyssor-ladder-XXXXXX)
trap 'rm -rf "$WORK"' EXIT

# One cell: a folder of its own (the scripts copied, the high-score table the
# data set ships, the pictures and sounds shared), its log kept.
play_cell() {
    local skill=$1 level=$2 cell="$WORK/cell-$1-$2"
    mkdir -p "$cell"
    cp -r "$RUN_DIR/SCRIPT" "$cell/SCRIPT"
    cp "$SCRIPTS/topten.scr" "$cell/SCRIPT/topten.scr"
    ln -s "$RUN_DIR/GFX" "$cell/GFX"
    ln -s "$RUN_DIR/SFX" "$cell/SFX"
    nice -n 10 "$AUTOPLAYER" "$cell" --each-level --level "$level" --human --skill "$skill" --games "$GAMES" \
        >"$WORK/log-$skill-$level" 2>&1 || echo "FAIL: skill $skill, level $level: the autoplayer failed" >>"$WORK/log-$skill-$level"
}
export -f play_cell
export AUTOPLAYER RUN_DIR SCRIPTS GAMES WORK

for skill in $SKILLS; do
    for level in $PLAYED; do echo "$skill $level"; done
done | xargs -P 2 -n 2 bash -c 'play_cell "$0" "$1"'

status=0
for skill in $SKILLS; do
    for level in $PLAYED; do
        log="$WORK/log-$skill-$level"
        if grep -q '^FAIL' "$log"; then
            grep '^FAIL' "$log" >&2
            tail -3 "$log" >&2
            status=1
        fi
        grep 'human-like, skill' "$log" || true
        if [ "$EACH_GAME" = 1 ]; then
            sed -n "s/^autoplayer: level \([0-9]*\) .* human-like game [0-9]*: \([a-z ]*\), \([0-9]*\) frames, score \(-*[0-9]*\), hits taken \([0-9]*\), lamp out \([0-9]*\) times\$/game: $skill \1 \2 \4 \6 \3 \5/p" "$log"
        fi
        # The games in which the lamp went out at least once.
        { grep -c 'human-like game [0-9]*: .*, lamp out [1-9][0-9]* times' "$log" || true; } | sed "s/^/heat: skill $skill level $level: /"
    done
done >"$WORK/lines"
cat "$WORK/lines"

awk -v levels="$LEVELS" -v games="$GAMES" '
    / human-like, skill / { skill = $7 + 0; level = $3 + 0; won[skill, level] = $9 + 0; skills[skill] = 1 }
    /^heat:/ { hot[$3 + 0, $5 + 0] = $6 + 0 }
    function table(title, cells,    s, l, line) {
        print ""
        print title
        print ""
        line = "| Skill |"
        for (l = 1; l <= levels; l++) line = line " Level " l " |"
        print line
        line = "|---|"
        for (l = 1; l <= levels; l++) line = line "---|"
        print line
        for (s = 1; s <= 5; s++) {
            if (!(s in skills)) continue
            line = "| " s " |"
            for (l = 1; l <= levels; l++)
                line = line ((s, l) in won ? sprintf(" %d %% |", (cells == "won" ? won[s, l] : hot[s, l]) * 100 / games) : " |")
            print line
        }
    }
    END {
        table("Games won (" games " a cell):", "won")
        table("Games in which the gun met its heat limit (the ready lamp went out):", "hot")
    }' "$WORK/lines"
exit $status
