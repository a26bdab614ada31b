#ifndef ABYSSOR_FONT_H
#define ABYSSOR_FONT_H

#include <SDL/SDL.h>

const int FONT_MARKS = 512;

// A bitmap font: glyphs side by side, with marker runs of (255, 0, 255) in
// the top row before every glyph and after the last one.
struct Font {
    SDL_Surface* bitmap;
    int marks[FONT_MARKS];  // first column of marker run k at 2k, first column after it at 2k + 1
    int mark_count;         // entries of marks filled by the last scan; glyph g exists when 2g + 3 < mark_count
    int height;
};

extern Font current_font;

Uint32 GetPixel(SDL_Surface* bitmap, int x, int y);
void init_font(Font& font);
void set_current_font(SDL_Surface* bitmap);
// No current font, as the program starts (the picture belongs to whoever
// loaded it and stays).
void reset_font();
void draw_text(SDL_Surface* surface, Font& font, int x, int y, const char* text);
int text_width(Font& font, const char* text);
void print_text(SDL_Surface* surface, int x, int y, const char* text);
void print_text_centred(SDL_Surface* surface, int y, const char* text);
// Lets the player edit text in place until Return; buffer_size bounds it.
// first_event, when given, is an event the caller has already taken from the
// queue: a key press in it is typed like the ones that follow.
void input_text(SDL_Surface* surface, Font& font, int x, int y, int max_width,
                char* text, int buffer_size, const SDL_Event* first_event = NULL);
void read_text(SDL_Surface* surface, int x, int y, int max_width, char* text, int buffer_size,
               const SDL_Event* first_event = NULL);

#endif
