#include "menu.h"

#include "game_loop.h"
#include "settings.h"

MenuScript menu_script;

void load_menu(const char*) {}
void free_menu() {}

// Until the main menu is built, the program plays one game from level 0 and
// then leaves.
int run_main_menu(SDL_Surface*)
{
    static int games_started = 0;
    if (games_started++ > 0) return 1;
    game.level_index = 0;
    game.score = 0;
    game.laser_energy = settings.laser;
    return 2;
}

void show_help(SDL_Surface*) {}
void draw_loading_screen(SDL_Surface*, int) {}
