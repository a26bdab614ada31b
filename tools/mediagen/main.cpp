// Generates every picture and sound of the game's data set into the run
// folder, at the paths the scripts name. The output depends on nothing but
// this program and the fonts it is given: no clock, no system random source.
//
// Usage: abyssor_mediagen <output folder> <scripts folder> <font folder> [part] [--edition cs|en]
//
// The scripts folder is read for the creatures each level announces. A part
// (units, effects, seabeds, panel, fonts, menus, screens, sounds) makes
// only that family, for work on the art; the part "words" makes only the
// pictures that hold words. The part "icon" makes the desktop icon,
// abyssor.png, which is not part of the game's data set and is made only
// when asked for.
//
// The Czech edition (cs, the default) is the whole data set. Any other
// edition is made of its pictures that hold words alone, under the same
// names: the rest of the data set is the same in every edition.

#include <stdio.h>
#include <string.h>

#include <string>

#include "art.h"
#include "output.h"
#include "text.h"
#include "words.h"

int main(int argc, char** argv)
{
    std::string only;
    Edition chosen = CZECH;
    int positional = 0;
    const char* folders[3] = {NULL, NULL, NULL};
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--edition") == 0 && i + 1 < argc) {
            if (!edition_named(argv[++i], &chosen)) {
                fprintf(stderr, "mediagen: no edition %s (cs or en)\n", argv[i]);
                return 2;
            }
        } else if (positional < 3) {
            folders[positional++] = argv[i];
        } else if (positional == 3 && only.empty()) {
            only = argv[i];
        } else {
            positional = -1;
            break;
        }
    }
    if (positional < 3) {
        fprintf(stderr, "usage: %s <output folder> <scripts folder> <font folder> [part] [--edition cs|en]\n", argv[0]);
        return 2;
    }
    set_edition(chosen);
    bool words_only = chosen != CZECH || only == "words";
    if (words_only && only == "words") only.clear();
    output_begin(folders[0]);
    text_init(folders[2]);
    auto wanted = [&](const char* part) { return only.empty() || only == part; };
    if (words_only) {
        if (wanted("panel")) {
            make_panel_plates();
            make_weapon_cards();
        }
        if (wanted("menus")) {
            make_menus();
            make_intro();
        }
        if (wanted("screens")) make_screens(folders[1]);
    } else {
        if (only == "icon") make_icon();
        if (wanted("units")) make_units();
        if (wanted("effects")) make_effects();
        if (wanted("seabeds")) make_seabeds();
        if (wanted("panel")) {
            make_panel_plates();
            make_panel();
            make_bonuses();
            make_weapon_cards();
        }
        if (wanted("fonts")) make_fonts();
        if (wanted("menus")) {
            make_menus();
            make_loading_bar();
            make_intro();
        }
        if (wanted("screens")) make_screens(folders[1]);
        if (wanted("sounds")) make_sounds();
    }
    text_quit();
    printf("mediagen: %d files written to %s\n", output_count(), folders[0]);
    return 0;
}
