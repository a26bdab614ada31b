#include "intro.h"

IntroScript intro_script;

// The intro and the credits' own work fills these in.
void load_intro(const char*) {}
void play_intro(SDL_Surface*) {}
void play_outro(SDL_Surface*) {}
void slide_transition(SDL_Surface*, SDL_Surface*, SDL_Surface*, int) {}
