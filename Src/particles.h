#ifndef ABYSSOR_PARTICLES_H
#define ABYSSOR_PARTICLES_H

#include <SDL/SDL.h>

const int PARTICLE_CAPACITY = 5000;

struct Particle {
    float x, y;
    int ix, iy;
    float vx, vy;
    int end;     // frame at which it dies
    int strip;   // index into the bank's particle strips
    int active;
    int stain;   // leaves its picture on the seabed when it dies of age
    int life;
};

extern Particle particles[PARTICLE_CAPACITY];

// Makes count + 1 particles (fewer when the pool is full) flying from (x, y)
// at angle degrees (0 right, 90 down) give or take spread / 2, living
// min_life ... max_life - 1 frames.
void spawn_particles(int x, int y, int angle, float speed, int max_life, int min_life,
                     int strip, int count, int spread, int stain);
// Empties the pool.
void reset_particles();
// Moves and draws every live particle; particles that leave the surface or
// reach their end frame die.
void update_particles(SDL_Surface* surface);
// Scales the velocity down to length max when it is longer.
void limit_speed(float& vx, float& vy, int max);

#endif
