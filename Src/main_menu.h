#ifndef ABYSSOR_MAIN_MENU_H
#define ABYSSOR_MAIN_MENU_H

#include <SDL/SDL.h>

// The main menu: new game, level code, high-score table, help, leave. It
// opens the code entry and the table, so it stands above them; what it shows
// comes from the menu script (menu.h).

// Returns 1 when the player leaves, 2 when a game is to start.
int run_main_menu(SDL_Surface* screen);
void show_help(SDL_Surface* screen);

#endif
