#ifndef ABYSSOR_GRAPHICS_BANK_H
#define ABYSSOR_GRAPHICS_BANK_H

#include <SDL/SDL.h>

// A picture holding a row of equally wide frames side by side.
struct AnimStrip {
    SDL_Surface* bitmap;
    Uint8 frames;   // 1 when the slot is empty
    Uint16 period;  // a time in game-loop frames whose meaning depends on the table
};

const int DNO_CAPACITY = 10;
const int BARVY_CAPACITY = 20;
const int ZBLUNK_CAPACITY = 10;
const int VYBUCH_CAPACITY = 10;
const int ZAMEROVAC_CAPACITY = 10;
const int MISC_CAPACITY = 10;

// The shared pictures of a level's scene.
struct GraphicsBank {
    AnimStrip dno[DNO_CAPACITY];          // seabed frames, in the screen's pixel format
    int dno_last;
    AnimStrip barvy[BARVY_CAPACITY];      // particle strips
    int barvy_last;
    AnimStrip zblunk[ZBLUNK_CAPACITY];    // splashes
    int zblunk_last;
    AnimStrip vybuch[VYBUCH_CAPACITY];    // explosions
    int vybuch_last;
    SDL_Surface* zamerovac[ZAMEROVAC_CAPACITY];  // crosshairs: 0 within reach, 1 beyond
    int zamerovac_count;  // next free crosshair slot; every load starts again at 0
    SDL_Surface* misc[MISC_CAPACITY];     // level completed, announcement, game over, pause
    int misc_x[MISC_CAPACITY];
    int misc_y[MISC_CAPACITY];
    int misc_count;       // next free misc slot; every load starts again at 0
    int seabed_period;     // frames per seabed step; -1 still
    int seabed_index;      // back-and-forth state, kept for the whole run
    int seabed_direction;
};

// Starts with every slot empty (one frame, no period), every table without
// entries and the seabed at its first picture moving forward.
extern GraphicsBank bank;

void load_images(const char* path);
void free_images();
// The bank back as the program starts (every picture freed, the seabed
// animation at its first frame moving forward).
void reset_images();
void draw_seabed(SDL_Surface* surface);
// Draws frame f of explosion i centred on (x, y). Returns 0 when drawn, 2
// when the animation is over, -1 when the explosion has no picture.
int draw_explosion_frame(int x, int y, int index, int frame, SDL_Surface* surface);
void free_strip(AnimStrip& strip);
int free_bitmap(SDL_Surface* bitmap);

#endif
