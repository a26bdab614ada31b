#!/bin/sh
# Installs what is missing, builds the game and its data, and starts it from
# its run folder: build/run-en for the English edition, build/run for the
# Czech one. The player's locale picks the edition (Czech or Slovak gets the
# Czech one); --lang cs or --lang en names it. Both editions keep one
# high-score table (build/run's). Other switches are passed on, e.g.
# ./play.sh -SND -EF1; unless a scale is named (-X1 ... -X4, -XA) the game is
# shown at the largest whole scale that fits the desktop (-XA).
set -eu
cd "$(dirname "$0")"
. ./cmake/edition.sh
abyssor_pick_edition "$@" || exit 2
eval "set -- $abyssor_arguments"
sh tools/setup.sh
cmake --build build --target abyssor_run_en >/dev/null

here=$(pwd)
abyssor_share_table "$here/build/run/SCRIPT/topten.scr" "$here/SCRIPT/topten.scr" "$here/build/run" "$here/build/run-en"
if [ "$abyssor_edition" = cs ]; then cd build/run; else cd build/run-en; fi

# A scale is named as the game finds its switches: anywhere in an argument.
scale=-XA
for argument in "$@"; do
    case $argument in *-X1* | *-X2* | *-X3* | *-X4* | *-XA*) scale= ;; esac
done
exec ./abyssor ${scale:+"$scale"} "$@"
