#ifndef ABYSSOR_PANEL_H
#define ABYSSOR_PANEL_H

#include <SDL/SDL.h>

#include "graphics_bank.h"

struct Submarine;

struct PanelPosition {
    int x, y;
};

// The instrument panel drawn over every frame.
struct Panel {
    SDL_Surface* background;
    SDL_Surface* heat_frame;
    SDL_Surface* spare;
    SDL_Surface* score_frame;
    SDL_Surface* heat_fill;
    SDL_Surface* ready_lamp;
    AnimStrip life_bar;
    AnimStrip wreck;
    SDL_Surface* support_icon;
    SDL_Surface* score_digits;
    SDL_Surface* timer_digits;
    SDL_Surface* tally_one;
    SDL_Surface* tally_ten;
    PanelPosition background_pos;
    PanelPosition life_pos;
    PanelPosition support_pos;
    PanelPosition heat_frame_pos;
    PanelPosition spare_pos;
    PanelPosition heat_fill_pos;
    PanelPosition lamp_pos;
    PanelPosition score_frame_pos;
    PanelPosition score_pos;
};

extern Panel panel;

void load_panel(const char* path);
void free_panel();
// The panel back as the program starts: every picture freed, every position 0.
void reset_panel();
void draw_panel(SDL_Surface* surface, int weapon, const Submarine& submarine);

#endif
