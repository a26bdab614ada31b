#!/bin/bash
# Which edition the launcher and ./play.sh start, by the locale and by
# --lang, and the switches they pass on to the game without it.
# Usage: test_edition.sh <cmake/edition.sh>
set -uo pipefail
. "$1"
failures=0
# LC_ALL LC_MESSAGES LANG LANGUAGE | arguments | the edition
while IFS='|' read -r env_line arguments expected; do
    read -r lc_all lc_messages lang language <<<"$env_line"
    got=$(env -i LC_ALL="${lc_all#-}" LC_MESSAGES="${lc_messages#-}" LANG="${lang#-}" LANGUAGE="${language#-}" \
        sh -c '. "$1"; shift; abyssor_pick_edition "$@" 2>/dev/null && echo "$abyssor_edition" || echo error' _ "$1" $arguments)
    if [ "$got" != "$expected" ]; then
        echo "FAIL: LC_ALL=$lc_all LC_MESSAGES=$lc_messages LANG=$lang LANGUAGE=$language $arguments: $got, not $expected"
        failures=$((failures + 1))
    fi
done <<'TABLE'
- - cs_CZ.UTF-8 -||cs
- - sk_SK.UTF-8 -||cs
- - en_GB.UTF-8 -||en
- - de_DE.UTF-8 -||en
- - - -||en
C - cs_CZ.UTF-8 -||en
- cs_CZ.UTF-8 en_US.UTF-8 -||cs
cs_CZ.UTF-8 en_US.UTF-8 en_US.UTF-8 -||cs
- - en_US.UTF-8 de:sk:en||cs
- - cs_CZ.UTF-8 de:en_GB:cs||en
- - C cs||en
- - cs_CZ.UTF-8 -|--lang en|en
- - en_US.UTF-8 cs|-SND --lang=cs|cs
- - cs_CZ.UTF-8 -|--lang xx|error
TABLE

# The switches go on as given, spaces and quotes included, less --lang.
abyssor_pick_edition -SND "two words" "it's" --lang cs -X2
eval "set -- $abyssor_arguments"
[ "$#|$1|$2|$3|$4" = "4|-SND|two words|it's|-X2" ] || { echo "FAIL: the switches passed on: $*"; failures=$((failures + 1)); }

[ "$failures" = 0 ] && echo "edition passed"
