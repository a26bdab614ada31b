#include "gun.h"

int GunHeat = 0;

// The gun's own work fills these in.
void gun_switch_weapon(Submarine&, int) {}
int gun_fire_request(Submarine&, int, int*) { return 0; }
void gun_volley(Submarine&, int, int) {}
void cool_gun() {}
