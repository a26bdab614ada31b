#!/bin/sh
# Installs what is missing, builds the game and its data, and starts it from
# its run folder (build/run). Switches are passed on, e.g. ./play.sh -SND -EF1
set -eu
cd "$(dirname "$0")"
sh tools/setup.sh
cd build/run
exec ./abyssor "$@"
