#ifndef ABYSSOR_LEVEL_CODE_H
#define ABYSSOR_LEVEL_CODE_H

#include <SDL/SDL.h>

// Lets the player type a level's code word. Returns -1 when it matches no
// level; otherwise sets the current level and returns the score to start with.
int enter_level_code(SDL_Surface* screen);

#endif
