#ifndef ABYSSOR_LEVEL_CODE_H
#define ABYSSOR_LEVEL_CODE_H

#include <SDL/SDL.h>

// Lets the player type a level's code word. Returns -1 when it matches no
// level; otherwise sets the current level and returns the score to start with.
int enter_level_code(SDL_Surface* screen);

// Walks the level catalogue comparing each level's code with the typed text
// (exactly, case counts), printing "...NO" for each level passed and "...OK"
// at the match. Returns -1 when none matches; otherwise sets the current
// level and returns the credits of the levels before it.
int match_level_code(const char* typed);

#endif
