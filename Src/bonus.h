#ifndef ABYSSOR_BONUS_H
#define ABYSSOR_BONUS_H

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

const int BONUS_TYPE_CAPACITY = 20;
const int BONUS_SLOTS = 7;

struct BonusType {
    SDL_Surface* bitmap;
    int pouzivani;      // frames the effects last
    int dostrel;
    int rychlost;
    int pocet_strel;
    int rozptyl;
    int rychlost_lodi;
    int zivoty;
    int prodleva;
    float sance;
};

struct BonusCatalogue {
    BonusType types[BONUS_TYPE_CAPACITY];
    int count;
    Mix_Chunk* create_sound;
};

extern BonusCatalogue bonus_catalogue;

struct Bonus {
    int x, y;
    int type;
    int expiry;
    int active;
    int collected;

    void place(int x, int y, int type);
    void draw(SDL_Surface* surface);
};

extern Bonus bonuses[BONUS_SLOTS];

// The effects of the collected bonuses, summed every frame.
struct BonusEffects {
    int dostrel;
    int rychlost;
    int pocet_strel;
    int rozptyl;
    int rychlost_lodi;
    int zivoty;
    int prodleva;
};

extern BonusEffects bonus_effects;

void load_bonuses(const char* path);
void free_bonuses();
// Everything back as the program starts: pictures and sound freed, no type,
// no bonus floating, no effect.
void reset_bonuses();
void drop_bonus(int x, int y, int type);
void sum_bonus_effects();
// Collects every floating bonus that a shot of the weapon given, ended at
// (x, y), reaches (only the gun's shells collect); called by the hit
// resolution for each shot that ended.
void collect_bonuses(int x, int y, int weapon);
// The bonus a new creature carries, or -1.
int choose_creature_bonus();

#endif
