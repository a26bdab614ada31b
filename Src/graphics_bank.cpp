#include "graphics_bank.h"

GraphicsBank bank;

void load_images(const char*) {}
void free_images() {}
void draw_seabed(SDL_Surface*) {}
int draw_explosion_frame(int, int, int, int, SDL_Surface*) { return -1; }
void free_strip(AnimStrip& strip)
{
    if (strip.bitmap != NULL) SDL_FreeSurface(strip.bitmap);
    strip.bitmap = NULL;
    strip.frames = 1;
    strip.period = 0;
}
int free_bitmap(SDL_Surface* bitmap)
{
    if (bitmap != NULL) SDL_FreeSurface(bitmap);
    return 0;
}
