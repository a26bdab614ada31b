#include "bonus.h"

BonusCatalogue bonus_catalogue;
Bonus bonuses[BONUS_SLOTS];
BonusEffects bonus_effects;

// Bonuses do not float yet: the bonuses' own work fills these in.
void load_bonuses(const char*) {}
void free_bonuses() {}
void drop_bonus(int, int, int) {}
void sum_bonus_effects() {}
void collect_bonuses(const Shot&) {}
int choose_creature_bonus() { return -1; }
void Bonus::place(int, int, int) {}
void Bonus::draw(SDL_Surface*) {}
