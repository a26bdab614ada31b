#!/bin/sh
# A long fuzz campaign by hand: every script loader in turn, a slice of time
# each, until each has had its share of runs. Each loader keeps its own
# growing corpus, so a campaign can be stopped and taken up again.
# Usage: fuzz/campaign.sh <fuzz build folder> <run folder> <work folder> [runs per loader] [seconds per slice] [loaders]
# [loaders] is a list of loader numbers, e.g. "2 5" (all twelve by default).
# The run folder is a plain build's build/run: pictures and sounds load from it.
# The tally of runs per loader is kept in <work folder>/tally.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
run_folder=$(cd "$2" && pwd)
mkdir -p "$3"
work=$(cd "$3" && pwd)
target=${4:-1000000}
slice=${5:-300}
only=${6:-"0 1 2 3 4 5 6 7 8 9 10 11"}
names="settings levels images weapons submarine creatures panel planes bonuses menu topten intro"
tally="$work/tally"
[ -f "$tally" ] || : >"$tally"

# A smaller quarantine and no filling of fresh blocks: the per-level loaders
# load and free whole pictures every run, and faulting fresh pages in is most
# of their cost. Use-after-free within the last 8 MB freed is still caught.
export ASAN_OPTIONS="quarantine_size_mb=8:max_malloc_fill_size=0"

runs_of() { awk -v n="$1" '$1 == n { total += $2; seconds += $3 } END { print total + 0, seconds + 0 }' "$tally"; }

while :; do
    busy=0
    number=0
    for name in $names; do
        set -- $(runs_of "$number")
        if [ "$1" -lt "$target" ] && echo " $only " | grep -q " $number "; then
            busy=1
            mkdir -p "$work/corpus-$number" "$work/findings-$number"
            left=$((target - $1))
            start=$(date +%s)
            status=0
            (cd "$run_folder" && ABYSSOR_FUZZ_LOADER=$number "$build/fuzz/fuzz_scripts" \
                -runs="$left" -max_total_time="$slice" -timeout=5 -rss_limit_mb=2048 -max_len=4096 \
                -close_fd_mask=3 -dict="$here/scripts.dict" -artifact_prefix="$work/findings-$number/" \
                "$work/corpus-$number" "$here/corpus/$number-$name" </dev/null >"$work/log-$number" 2>&1) || status=$?
            runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$work/log-$number" | tail -1)
            echo "$number ${runs:-0} $(( $(date +%s) - start ))" >>"$tally"
            if [ "$status" -ne 0 ]; then
                echo "loader $number ($name): a finding, see $work/findings-$number and $work/log-$number"
                exit 1
            fi
        fi
        number=$((number + 1))
    done
    [ "$busy" = 1 ] || break
done

echo "| Loader | Runs | Runs per second |"
echo "|---|---|---|"
number=0
for name in $names; do
    set -- $(runs_of "$number")
    echo " $only " | grep -q " $number " && echo "| $number $name | $1 | $(( $1 / ($2 > 0 ? $2 : 1) )) |"
    number=$((number + 1))
done
