#include "shots.h"

ShotPool shot_pool;

// Shots do not fly yet: the shot pool's own work fills these in.
int Shot::launch(int, int, int, int, int, int, int, int, int) { return 0; }
void Shot::updateHeight() {}
void Shot::move() {}
void Shot::draw(SDL_Surface*) {}
int Shot::drawSplash(SDL_Surface*) { return 1; }

int find_free_shot(int from)
{
    for (int i = from < 0 ? 0 : from; i < SHOT_CAPACITY; i++)
        if (shot_pool.slots[i].active == 0) return i;
    return -1;
}

void resolve_hits(Submarine&) {}

void reset_shot_pool()
{
    for (int i = 0; i < SHOT_CAPACITY; i++) shot_pool.slots[i].active = 0;
}
