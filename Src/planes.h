#ifndef ABYSSOR_PLANES_H
#define ABYSSOR_PLANES_H

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include "graphics_bank.h"

struct Submarine;

const int PLANE_TYPE_CAPACITY = 10;
const int PLANE_CAPACITY = 10;
const int ENEMY_PLANE_SLOT = 0;
const int SUPPORT_PLANE_SLOT = 1;

struct PlaneType {
    AnimStrip bitmap;   // one frame per direction
    AnimStrip shadow;
    int rychlost;
    int pocet_vystrelu;
    int zbran;
    int vyska;
    int prodleva;
    int tolerance;
    int typ;            // 0 fires from the start, 1 over the band outside the ellipse
    Mix_Chunk* fly_sound;
    int fly_repeat;
};

extern PlaneType plane_types[PLANE_TYPE_CAPACITY];
extern int plane_type_last;
extern int enemy_plane;  // frames between enemy planes; 0 or less: none

struct Plane {
    float exact_x, exact_y;
    int x, y;
    int height;
    float vx, vy;
    int active;
    int type;
    int shots_fired;
    int dir_index;
    int path_length;
    int target_x, target_y;
    int heading;
    int next_fire_frame;

    void launch(int tx, int ty, int dir_index, int kind, SDL_Surface* surface);
    void update(const Submarine& submarine, SDL_Surface* surface);
    void fire();
    void draw(SDL_Surface* surface);
};

extern Plane planes[PLANE_CAPACITY];

void load_planes(const char* path);
void free_planes();
// Everything back as the program starts: strips and sounds freed, no kind,
// no plane in the air, no enemy planes.
void reset_planes();

#endif
