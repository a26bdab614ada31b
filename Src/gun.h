#ifndef ABYSSOR_GUN_H
#define ABYSSOR_GUN_H

#include <SDL/SDL_mixer.h>

struct Submarine;

// Heat of the submarine's gun; it lives for the whole run of the program.
extern int GunHeat;

// The gun's share of the submarine step.
void gun_switch_weapon(Submarine& submarine, int switch_key);
// Measures the aim; returns 1 when the pointer lies within reach.
int gun_fire_request(Submarine& submarine, int fire, int* aim_angle);
void gun_volley(Submarine& submarine, int aim_angle, int heat_flag);
// The fire request's own reach test for the pointer where it is now: a click
// in the next frame fires exactly when this holds. The crosshair shows it.
int gun_pointer_within_reach(const Submarine& submarine);

// Heat lost every frame. Above 80 % of the limit the warning sounds (the
// menu script's overheat sound, which the game loop hands in) unless the
// announcement channel is busy.
void cool_gun(Mix_Chunk* warning);
// A cold gun, as the program starts.
void reset_gun();

#endif
