#!/bin/sh
# Makes a copy of a run folder whose pictures are a quarter of their width and
# height, for fuzzing the picture script: loading full-size seabeds and strips
# dominates a run there, and the script's handling of frames, periods and
# strips is the same at any size. Needs ImageMagick.
# Usage: fuzz/small_pictures.sh <run folder> <new folder>
set -eu
source=$(cd "$1" && pwd)
rm -rf "$2"
cp -r "$source" "$2"
find "$2" -name '*.bmp' | while read -r picture; do
    convert "$picture" -sample 25% -compress None "BMP3:$picture.small" && mv "$picture.small" "$picture"
done
