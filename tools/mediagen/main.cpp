// Generates every picture and sound of the game's data set into the run
// folder, at the paths the scripts name. The output depends on nothing but
// this program and the fonts it is given: no clock, no system random source.
//
// Usage: abyssor_mediagen <output folder> <scripts folder> <font folder> [part]
//
// The scripts folder is read for the creatures each level announces. A part
// (units, effects, seabeds, panel, fonts, menus, screens, sounds) makes
// only that family, for work on the art. The part "icon" makes the desktop
// icon, abyssor.png, which is not part of the game's data set and is made only
// when asked for.

#include <stdio.h>
#include <string.h>

#include <string>

#include "art.h"
#include "output.h"
#include "text.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: %s <output folder> <scripts folder> <font folder> [part]\n", argv[0]);
        return 2;
    }
    std::string only = argc > 4 ? argv[4] : "";
    output_begin(argv[1]);
    text_init(argv[3]);
    auto wanted = [&](const char* part) { return only.empty() || only == part; };
    if (only == "icon") make_icon();
    if (wanted("units")) make_units();
    if (wanted("effects")) make_effects();
    if (wanted("seabeds")) make_seabeds();
    if (wanted("panel")) {
        make_panel();
        make_bonuses();
        make_weapon_cards();
    }
    if (wanted("fonts")) make_fonts();
    if (wanted("menus")) {
        make_menus();
        make_intro();
    }
    if (wanted("screens")) make_screens(argv[2]);
    if (wanted("sounds")) make_sounds();
    text_quit();
    printf("mediagen: %d files written to %s\n", output_count(), argv[1]);
    return 0;
}
