#ifndef ABYSSOR_SHOTS_H
#define ABYSSOR_SHOTS_H

#include <SDL/SDL.h>

struct Submarine;

const int SHOT_CAPACITY = 499;

// One projectile in flight, or the splash of one that has ended.
struct Shot {
    float exact_x, exact_y;
    int x, y;          // ground point: shadow and hits
    int height;        // sprite offset above the ground point; negative is up
    float vx, vy;
    float ax, ay;
    int start_x, start_y;
    int weapon;
    int active;
    int max_speed;
    int angle;
    int arc_divisor, arc_linear, arc_constant;
    int splash_frame;
    int distance;
    int outcome;       // 0 none, 1 landed, 2 running
    int hit_creature;
    int owner;         // -1 submarine and planes, else the firing creature's id
    int splash_sound_done;

    int launch(int x, int y, int height, int angle, int weapon,
               int arc_divisor, int arc_linear, int arc_constant, int owner);
    void updateHeight();
    void move();
    void draw(SDL_Surface* surface);
    int drawSplash(SDL_Surface* surface);
    // Neither flying, nor ending, nor splashing, nor about to sound: moving
    // and drawing it would change nothing.
    int idle() const;
};

struct ShotPool {
    Shot slots[SHOT_CAPACITY];
};

extern ShotPool shot_pool;

// The first free slot at or after `from`, or -1; a shot that has landed is
// not free before its hit has been resolved.
int find_free_shot(int from);
// Resolves the hits of every shot that has ended in this frame.
void resolve_hits(Submarine& submarine);
// Frees every slot with its splash finished and its sound played: releasing
// a level does this, so that no splash of the old level is drawn or heard in
// the next one.
void empty_shot_pool();
// Every slot as the program starts: empty, its splash over and sounded.
void reset_shots();

#endif
