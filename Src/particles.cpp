#include "particles.h"

Particle particles[PARTICLE_CAPACITY];

void spawn_particles(int, int, int, float, int, int, int, int, int, int) {}
void update_particles(SDL_Surface*) {}
void limit_speed(float&, float&, int) {}
