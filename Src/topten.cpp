#include "topten.h"

#include "media.h"
#include "menu.h"
#include "platform.h"

TopTenTable topten;

// The high-score table's own work fills these in.
void load_topten(const char*) {}
void sort_topten() {}
void save_topten(const char*) {}
int topten_qualifies(int) { return 0; }
void insert_topten(const char*, int, int) {}

// The table's picture until a key is pressed (or no event can come).
void show_topten(SDL_Surface* screen)
{
    draw_bitmap(menu_script.topten_picture, screen, 0, 0);
    if (screen != NULL) SDL_Flip(screen);
    SDL_Event event;
    while (platform_wait_event(&event))
        if (event.type == SDL_KEYDOWN) return;
}

void enter_name(SDL_Surface*) {}
