#ifndef ABYSSOR_MENU_H
#define ABYSSOR_MENU_H

#include <SDL/SDL.h>

#include "sounds.h"  // the menu's sounds and the announcements play on CHANNEL_ANNOUNCE

enum MenuItem {
    ITEM_NEW_GAME = 0,
    ITEM_LEVEL_CODE = 1,
    ITEM_TOP_TEN = 2,
    ITEM_HELP = 3,
    ITEM_LEAVE = 4,
    MENU_ITEMS = 5
};

struct MenuButton {
    int x, y, w, h;
};

// "SCRIPT/menu.scr": everything the menus and the between-level screens show
// and play. The front end's screens draw with it, so it stands low in the
// house; the main menu that opens them stands above them (main_menu.h).
struct MenuScript {
    int chosen;
    int highlighted;
    int code_x, code_y, code_width;
    Mix_Chunk* menu_sound;
    Mix_Chunk* button_sound;
    Mix_Chunk* press_sound;
    Mix_Chunk* prepare_sound;
    Mix_Chunk* gameover_sound;
    Mix_Chunk* level_completed_sound;
    Mix_Chunk* overheat_sound;
    SDL_Surface* code_picture;
    SDL_Surface* topten_picture;
    SDL_Surface* help_picture;
    SDL_Surface* main_picture;
    SDL_Surface* highlight_picture;
    MenuButton buttons[MENU_ITEMS];
    SDL_Surface* loading_picture;
    SDL_Surface* bar_picture;
    int bar_x, bar_y;
    SDL_Surface* font;
    int name_x, name_y;
    SDL_Surface* highscore_picture;
    int table_x, table_y, table_spacing;
};

extern MenuScript menu_script;

void load_menu(const char* path);
// Frees the menu's pictures and its own sounds after a visit; the
// announcements stay for the screens of the levels.
void free_menu();
// The menu script back as the program starts: what free_menu frees, then the
// announcements it keeps, then every field 0.
void reset_menu();
void draw_loading_screen(SDL_Surface* screen, int percentage);

#endif
