#ifndef ABYSSOR_INTRO_H
#define ABYSSOR_INTRO_H

#include <SDL/SDL.h>

const int INTRO_PICTURES = 10;
const int INTRO_LINES = 300;
const int INTRO_LINE_SIZE = 100;

struct IntroPicture {
    SDL_Surface* bitmap;
    Uint16 hold_ms;
};

struct IntroScript {
    int picture_count;
    int transition_step;
    int scroll_step;
    int line_spacing;
    IntroPicture pictures[INTRO_PICTURES];
    char lines[INTRO_LINES][INTRO_LINE_SIZE];
    int line_count;
    SDL_Surface* font;
};

extern IntroScript intro_script;

void load_intro(const char* path);
void play_intro(SDL_Surface* screen);
// Releases the slides and the credits font; the counts return to 0.
void free_intro();
// The intro script back as the program starts: freed, every field 0.
void reset_intro();
void play_outro(SDL_Surface* screen);
// The credits' scroll with the credits font already current; show_frame
// puts each frame on the screen (play_outro flips).
void scroll_credits(SDL_Surface* screen, void (*show_frame)(SDL_Surface* screen));
void slide_transition(SDL_Surface* from, SDL_Surface* to, SDL_Surface* screen, int kind);

#endif
