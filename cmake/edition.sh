# The edition a player gets and the high-score table that all editions keep,
# for ./play.sh and the installed launcher (which holds a copy of this file).
# POSIX shell functions; they set variables named abyssor_*.

# abyssor_pick_edition ARGUMENTS...: abyssor_edition becomes cs or en, and
# abyssor_arguments the arguments less "--lang X" / "--lang=X", which names
# the edition outright (cs or en). Otherwise the player's locale decides, as
# gettext reads it: LANGUAGE, a list by preference, unless the locale is C or
# POSIX; then LC_ALL, LC_MESSAGES, LANG. Czech or Slovak gets the Czech
# edition, anything else the English one. Returns 1 on an unknown edition.
abyssor_pick_edition() {
    abyssor_edition=""
    abyssor_arguments=""
    abyssor_named=0
    for abyssor_argument do
        if [ "$abyssor_named" = 1 ]; then
            abyssor_edition=$abyssor_argument
            abyssor_named=2
            continue
        fi
        case $abyssor_argument in
            --lang) abyssor_named=1; continue ;;
            --lang=*) abyssor_edition=${abyssor_argument#--lang=}; abyssor_named=2; continue ;;
        esac
        # Kept quoted, for eval "set -- $abyssor_arguments".
        abyssor_arguments="$abyssor_arguments '$(printf '%s' "$abyssor_argument" | sed "s/'/'\\\\''/g")'"
    done
    if [ "$abyssor_named" != 0 ]; then
        case $abyssor_edition in
            cs | en) return 0 ;;
            *) echo "abyssor: no edition '$abyssor_edition': --lang cs (Czech) or --lang en (English)" >&2; return 1 ;;
        esac
    fi
    abyssor_locale=${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}
    case $abyssor_locale in
        "" | C | C.* | POSIX) ;;
        *)
            abyssor_wanted=$(printf '%s' "${LANGUAGE:-}" | tr ':' ' ')
            for abyssor_language in $abyssor_wanted; do
                case $abyssor_language in
                    cs* | sk*) abyssor_edition=cs; return 0 ;;
                    en*) abyssor_edition=en; return 0 ;;
                esac
            done
            ;;
    esac
    case $abyssor_locale in
        cs* | sk*) abyssor_edition=cs ;;
        *) abyssor_edition=en ;;
    esac
}

# abyssor_merge_tables NEWER OLDER: one table of the best ten of both, the
# newer's entries first among equal scores; an entry both hold counts once.
abyssor_merge_tables() {
    awk 'FNR == NR { held[$0]++; print; next } NF && seen[$0]++ >= held[$0]' "$1" "$2" |
        sort -s -k2,2nr | head -n 10
}

# abyssor_share_table SHARED DEFAULT RUN_FOLDER...: every run folder's
# SCRIPT/topten.scr becomes a link to the one table SHARED (made from DEFAULT
# when there is none yet). The game saves its table by writing a new file and
# renaming it over the old, which replaces such a link with a file: a file
# found in a link's place holds the newest scores of that edition, and is
# merged into SHARED first. A run folder whose table is SHARED itself keeps it.
abyssor_share_table() {
    abyssor_shared=$1
    abyssor_default=$2
    shift 2
    for abyssor_run do
        abyssor_table=$abyssor_run/SCRIPT/topten.scr
        [ -f "$abyssor_table" ] && [ ! -L "$abyssor_table" ] || continue
        [ ! "$abyssor_table" -ef "$abyssor_shared" ] || continue
        if [ -f "$abyssor_shared" ]; then
            abyssor_merge_tables "$abyssor_table" "$abyssor_shared" >"$abyssor_shared.new"
            mv "$abyssor_shared.new" "$abyssor_shared"
            rm "$abyssor_table"
        else
            mv "$abyssor_table" "$abyssor_shared"
        fi
    done
    if [ ! -f "$abyssor_shared" ]; then
        cp "$abyssor_default" "$abyssor_shared"
        chmod u+w "$abyssor_shared"
    fi
    for abyssor_run do
        abyssor_table=$abyssor_run/SCRIPT/topten.scr
        [ -d "$abyssor_run/SCRIPT" ] && [ ! "$abyssor_table" -ef "$abyssor_shared" ] || continue
        if [ -L "$abyssor_table" ] || [ ! -e "$abyssor_table" ]; then ln -sfn "$abyssor_shared" "$abyssor_table"; fi
    done
}
