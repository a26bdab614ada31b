#include "particles.h"

#include <limits.h>
#include <math.h>
#include <string.h>

#include "game_state.h"
#include "geometry.h"
#include "graphics_bank.h"
#include "media.h"
#include "random.h"

Particle particles[PARTICLE_CAPACITY];

// No slot below this one is free: spawning starts looking here instead of at
// slot 0. Moving the particles finds the lowest free slot again.
static int first_free_candidate = 0;

// Every slot from this one on is free (active 0): the frame's walk stops
// here instead of reading the whole pool, which a frame finds out of the
// cache. Spawning raises it; the walk lowers it to after the last slot in use.
static int used_end = 0;

void reset_particles()
{
    memset(particles, 0, sizeof particles);
    first_free_candidate = 0;
    used_end = 0;
}


// A lifetime of min_life ... max_life - 1 frames. A caller that gives no
// span (max_life not above min_life) gets exactly min_life, and no random
// value is spent on it.
static int particle_life(int max_life, int min_life)
{
    long long span = (long long)max_life - min_life;
    if (span <= 0) return min_life;
    return clamp_to_int(min_life + random_value() % span);
}

// The fan's deviation from its angle; a spread below 1 means none.
static long long spread_offset(int spread)
{
    if (spread < 1) return 0;
    return random_value() % spread - spread / 2;
}

static void start_particle(Particle& particle, int x, int y, long long angle, float speed, int life,
                           int strip, int stain)
{
    particle.x = (float)x;
    particle.y = (float)y;
    particle.ix = x;
    particle.iy = y;
    // Every vertical component of the scene is flattened by 0.623.
    particle.vx = (float)(cos(angle * DEG_TO_RAD) * speed);
    particle.vy = (float)(sin(angle * DEG_TO_RAD) * (speed * FLATTEN));
    particle.end = clamp_to_int((long long)game.frame + life);
    particle.strip = strip;
    particle.stain = stain;
    particle.life = life;
    particle.active = 1;
}

void spawn_particles(int x, int y, int angle, float speed, int max_life, int min_life,
                     int strip, int count, int spread, int stain)
{
    int made = 0;
    for (int i = first_free_candidate; i < PARTICLE_CAPACITY; i++) {
        Particle& particle = particles[i];
        if (particle.active) continue;
        first_free_candidate = i + 1;
        if (used_end < i + 1) used_end = i + 1;
        made += 1;
        int life = particle_life(max_life, min_life);
        long long fan_angle = angle + spread_offset(spread);
        start_particle(particle, x, y, fan_angle, speed, life, strip, stain);
            if (made > count) return;
    }
    first_free_candidate = PARTICLE_CAPACITY;
}

static const AnimStrip* particle_strip(const Particle& particle)
{
    if (particle.strip < 0 || particle.strip >= BARVY_CAPACITY) return NULL;
    const AnimStrip* strip = &bank.barvy[particle.strip];
    return strip->bitmap != NULL ? strip : NULL;
}

// A particle that dies of age may leave its whole strip on the first seabed
// picture, where it stays for the rest of the level.
static void leave_stain(const Particle& particle)
{
    const AnimStrip* strip = particle_strip(particle);
    if (strip == NULL) return;
    draw_bitmap(strip->bitmap, bank.dno[0].bitmap, particle.ix, particle.iy);
}

// The strip plays from its last frame to its first over the particle's life.
// A strip in the surface's own format is copied straight under the caller's
// lock; any other is blitted, with the surface unlocked.
static void draw_particle(const Particle& particle, SDL_Surface* surface, int now, int& locked)
{
    const AnimStrip* strip = particle_strip(particle);
    if (strip == NULL || surface == NULL || strip->frames == 0 || particle.life <= 0) return;
    long long frames = strip->frames;
    long long k = ((long long)particle.end - now) * frames / particle.life;
    int w = strip->bitmap->w / (int)frames;
    long long source_x = k * w;
    if (source_x < 0 || source_x > INT_MAX) return;
    int plain = copies_plainly(strip->bitmap, surface);
    if (plain && !locked) {
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
        locked = 1;
    }
    if (!plain && locked) {
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        locked = 0;
    }
    if (plain)
        copy_bitmap_part(strip->bitmap, (int)source_x, 0, w, strip->bitmap->h, surface, particle.ix, particle.iy);
    else
        draw_bitmap_part(strip->bitmap, (int)source_x, 0, w, strip->bitmap->h, surface, particle.ix, particle.iy);
}

void update_particles(SDL_Surface* surface)
{
    int width = surface != NULL ? surface->w : SCREEN_WIDTH;
    int height = surface != NULL ? surface->h : SCREEN_HEIGHT;
    int now = game.frame;
    int locked = 0;
    int lowest_free = used_end < PARTICLE_CAPACITY ? used_end : PARTICLE_CAPACITY;
    int walked_end = used_end;
    used_end = 0;
    for (int i = 0; i < walked_end; i++) {
        Particle& particle = particles[i];
        if (particle.active != 1) {
            if (particle.active != 0) used_end = i + 1;
            else if (lowest_free > i) lowest_free = i;
            continue;
        }
        particle.x += particle.vx;
        particle.y += particle.vy;
        particle.ix = truncate_to_int(particle.x);
        particle.iy = truncate_to_int(particle.y);
        // A particle exactly on the right or bottom edge is still on screen.
        if (particle.ix < 0 || particle.ix > width || particle.iy < 0 || particle.iy > height) particle.active = 0;
        // Age is judged even for a particle that has just left the screen.
        if (particle.end <= now) {
            particle.active = 0;
            if (particle.stain == 1) leave_stain(particle);
        }
        if (particle.active)
            draw_particle(particle, surface, now, locked);
        else if (lowest_free > i)
            lowest_free = i;
        if (particle.active != 0) used_end = i + 1;
    }
    if (locked && SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    first_free_candidate = lowest_free;
}

void limit_speed(float& vx, float& vy, int max)
{
    float speed = (float)sqrt(vx * vx + vy * vy);
    // A negative limit turns the velocity round and scales it to that length.
    // A still velocity has no direction to scale (and max / 0 is no number).
    if (max < speed && speed > 0) {
        float factor = max / speed;
        vx *= factor;
        vy *= factor;
    }
}
