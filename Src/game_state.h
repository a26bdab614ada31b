#ifndef ABYSSOR_GAME_STATE_H
#define ABYSSOR_GAME_STATE_H

#include <SDL/SDL.h>

// The run-time state that the whole game shares. The game loop advances it
// frame by frame; every subsystem reads it, so it stands on the ground floor
// where any module may include it without reaching up to the loop.
struct GameState {
    SDL_Surface* screen;   // the 640 x 480 x 16 surface everything is drawn on
    int mouse_x, mouse_y;  // pointer position; kept between levels
    int frame;             // frames completed in the current level
    Uint32 level_start_ms; // clock when the level was entered
    Uint32 level_end_ms;   // clock when play of the level ended
    int level_index;       // current level in the level catalogue
    int score;
    int laser_energy;      // air-support calls left
    int show_tally;        // lets the panel draw the creatures still to destroy
};

extern GameState game;

// The shared state as the program starts (no screen).
void reset_game_state();

#endif
