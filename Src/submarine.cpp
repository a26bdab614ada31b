#include "submarine.h"

Submarine submarine;
float orbit_speed = 0.0f;

int load_submarine(const char*, Submarine&) { return -1; }
int free_submarine(Submarine&) { return 0; }
void Submarine::init(int, int, int, int, int, int, int, int, int, int) {}
void Submarine::step(int, int, int, int, int) {}
void Submarine::move(int, int) {}
void Submarine::spawnWake() {}
void Submarine::draw(SDL_Surface*) {}
void Submarine::drawRangeRing(SDL_Surface*) {}
void Submarine::playCollisionSound() {}
