#ifndef MEDIAGEN_ART_H
#define MEDIAGEN_ART_H

// The painters of the data set, one per family of pictures and sounds. Each
// writes its files through output.h at the paths the scripts name.

#include <string>
#include <vector>

#include "gfx.h"

// The submarine, creatures with their panel icons, planes with shadows,
// bombs and rockets.
void make_units();
// Creature icon by creature name ("ryba", "meduza", ...), 26 x 26.
Canvas creature_icon(const std::string& name);

// Shells, runners, splashes, explosions, bubbles, particles, crosshairs.
void make_effects();

// The instrument panel, bonus icons and weapon cards. The panel's plate of
// each level and the weapon cards hold words.
void make_panel_plates();
void make_panel();
void make_bonuses();
void make_weapon_cards();
// A bonus icon by name, 26 x 26.
Canvas bonus_icon(const std::string& name);

// The animated seabed of each level.
void make_seabeds();

// Menu pictures, fonts, intro slides and the between-level screens; the
// level announcements list the creatures that scripts_dir's levels hold.
// All but the fonts and the loading bar hold words.
void make_fonts();
void make_menus();
void make_loading_bar();
void make_intro();
void make_screens(const std::string& scripts_dir);

void make_sounds();

// The desktop icon, 128 x 128 with transparent corners, as abyssor.png.
Canvas desktop_icon();
void make_icon();

#endif
