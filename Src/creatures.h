#ifndef ABYSSOR_CREATURES_H
#define ABYSSOR_CREATURES_H

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

struct Submarine;

const int CREATURE_TYPE_CAPACITY = 20;
const int CREATURE_CAPACITY = 100;

struct CreatureType {
    SDL_Surface* bitmap;    // heading frames side by side
    SDL_Surface* skore_b;   // icon on the panel
    int pocet_snimku;
    float rychlost;
    int dolez;
    int zivoty;
    int dolni_interval;
    int horni_interval;
    int hloubka_max;
    int hloubka_min;
    int vynorovani;
    int last_spawn_frame;
    int sila;
    int sound;
    int skore;
    int zbran;
    int vystrel_prodleva;
    int alfa;
    int pocet;      // creatures of this kind in the level
    int finished;   // creatures of this kind whose explosion has ended
    Mix_Chunk* death_sound;
    Mix_Chunk* create_sound;
};

extern CreatureType creature_types[CREATURE_TYPE_CAPACITY];
extern int creature_type_last;

struct Creature {
    float exact_x, exact_y;
    int x, y;
    float vx, vy;
    int type;
    int active;
    int direction;
    int zivoty;
    int depth;
    int start_depth;
    int explosion_frame;
    int id;
    int bonus;
    int surfaced;

    void spawn(int t, int cx, int cy, int id);
    // One frame: rise or swim, ram, draw, fire and, with no life left, die.
    void update(Submarine& submarine, SDL_Surface* surface);
    void rise();
    void swim(Submarine& submarine, SDL_Surface* surface);
    void drawBubbles(SDL_Surface* surface);
    void fire(Submarine& submarine);
    void ramSubmarine(Submarine& submarine, SDL_Surface* surface);
    // One frame of the death explosion; when it has played the slot is free
    // and the kind's finished count grows.
    void dyingStep();
};

extern Creature creatures[CREATURE_CAPACITY];
// The frame from which the next creature shot may go, shared by all
// creatures and kept from one level to the next.
extern int next_creature_shot_frame;

void load_creatures(const char* path);
// Every kind's count and finished count at 0, so that the creature script
// read next counts afresh; level loading does this with the submarine's script.
void clear_creature_counts();
void free_creatures();
// Everything back as the program starts: pictures and sounds freed, no kind,
// no creature, the shot timer at frame 0.
void reset_creatures();
// Every frame, for every kind: a new creature when its random interval has
// passed since the last one.
void schedule_creatures(int cx, int cy);
void spawn_creature_of_type(int cx, int cy, int t);
void update_creatures(Submarine& submarine, SDL_Surface* surface);

#endif
