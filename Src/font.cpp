#include "font.h"

Font current_font;

// Bitmap text is not drawn yet: the font's own work fills these in.
Uint32 GetPixel(SDL_Surface*, int, int) { return 0xffffffffu; }
void init_font(Font&) {}
void set_current_font(SDL_Surface* bitmap) { current_font.bitmap = bitmap; }
void draw_text(SDL_Surface*, Font&, int, int, const char*) {}
int text_width(Font&, const char*) { return 0; }
void print_text(SDL_Surface*, int, int, const char*) {}
void print_text_centred(SDL_Surface*, int, const char*) {}
void input_text(SDL_Surface*, Font&, int, int, int, char* text, int buffer_size)
{
    if (buffer_size > 0) text[0] = '\0';
}
void read_text(SDL_Surface* surface, int x, int y, int max_width, char* text, int buffer_size)
{
    input_text(surface, current_font, x, y, max_width, text, buffer_size);
}
