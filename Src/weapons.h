#ifndef ABYSSOR_WEAPONS_H
#define ABYSSOR_WEAPONS_H

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

const int WEAPON_CAPACITY = 100;

struct WeaponDef {
    SDL_Surface* menu;     // picture on the panel
    SDL_Surface* strela;   // shot frames by direction
    SDL_Surface* exploze;
    SDL_Surface* stin;     // shadow frames by direction
    int pocet_snimku;
    float zrychleni;
    int maximalni_rychlost;
    int rozptyl;
    int poskozeni;
    int uhel_vystreleni;
    int rychlost_vystreleni;
    int prodleva;
    int pocet_strel_na_vystrel;
    int dostrel;
    int zpomaleni;
    int zahrivani;
    int zamerovani_rychlost;
    int zblunk;
    int tolerance;
    int typ;       // 0 shell of the gun, 1 bomb, 2 surface runner
    int klesani;
    int dosah_vlny;
    int pocet_castic_vlny;
    Mix_Chunk* fire_sound;
    Mix_Chunk* hit_sound;
    Mix_Chunk* water_sound;
};

struct WeaponCatalogue {
    WeaponDef weapons[WEAPON_CAPACITY];
    int count;
};

extern WeaponCatalogue weapon_catalogue;

void load_weapons(const char* path);
void free_weapons();
// Everything back as the program starts: pictures and sounds freed, every
// weapon at the defaults, none described.
void reset_weapons();

// The weapon numbered index, or a weapon with the defaults when the index
// lies outside the table (scripts name weapons by number).
const WeaponDef& weapon_at(int index);

#endif
