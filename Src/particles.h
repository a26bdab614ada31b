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

// Makes count + 1 particles (fewer when the pool is full).
void spawn_particles(int x, int y, int angle, float speed, int max_life, int min_life,
                     int strip, int count, int spread, int stain);
void update_particles(SDL_Surface* surface);
void limit_speed(float& vx, float& vy, int max);

#endif
