#ifndef ABYSSOR_SUBMARINE_H
#define ABYSSOR_SUBMARINE_H

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include "weapons.h"

// The player's submarine and its gun.
struct Submarine {
    float exact_x, exact_y;
    int x, y;
    SDL_Surface* image;     // heading frames side by side
    float uhel;             // angle on the ellipse, degrees
    int radius;
    int stred_x, stred_y;
    int rychlost_otaceni;   // top speed along the ellipse, degrees per frame
    int pocet_snimku;
    int weapon_switch_frame;
    int stit;
    int alpha;
    int zivoty;
    int max_zivoty;
    int active;
    int vybuch;
    int explosion_frame;
    int aim_distance;
    int shot_param_a, shot_param_b;
    int death_sound_played;
    Mix_Chunk* death_sound;
    Mix_Chunk* collision_sound;
    int next_fire[WEAPON_CAPACITY];
    int weapon;

    void init(int radius, int stred_x, int stred_y, int uhel, int rychlost_otaceni,
              int pocet_snimku, int stit, int alpha, int zivoty, int vybuch);
    // One frame: weapon switching, aim, movement, volley and wake.
    void step(int left, int right, int fire, int switch_key, int heat_flag);
    void move(int left, int right);
    void spawnWake();
    // The range ring, the submarine at its heading and, once its hit points
    // are gone, its death explosion.
    void draw(SDL_Surface* surface);
    void drawRangeRing(SDL_Surface* surface);
    void playCollisionSound();
    // The frame of the picture strip that shows the current heading.
    int headingFrame() const;
    void drawHeading(SDL_Surface* surface);
    void explode(SDL_Surface* surface);
};

extern Submarine submarine;

// Speed along the ellipse beyond the constant drift; survives levels and games.
extern float orbit_speed;

// Reads "delo.scr" into the record; returns the index of the last section
// found (-1 none, 0 the one submarine of a level).
int load_submarine(const char* path, Submarine& submarine);
// Releases the picture and sounds and empties the record.
int free_submarine(Submarine& submarine);
// The submarine, its drift and the range ring's colours back as the program
// starts; its picture and sounds are freed.
void reset_submarine();

#endif
