#include "creatures.h"

CreatureType creature_types[CREATURE_TYPE_CAPACITY];
int creature_type_last = -1;
Creature creatures[CREATURE_CAPACITY];
int next_creature_shot_frame = 0;

// Creatures do not live yet: the creatures' own work fills these in.
void load_creatures(const char*) {}
void free_creatures() {}
void schedule_creatures(int, int) {}
void spawn_creature_of_type(int, int, int) {}
void update_creatures(Submarine&, SDL_Surface*) {}
void Creature::spawn(int, int, int, int) {}
void Creature::update(Submarine&, SDL_Surface*) {}
void Creature::fire(Submarine&) {}
void Creature::ramSubmarine(Submarine&, SDL_Surface*) {}
void Creature::dyingStep() {}
