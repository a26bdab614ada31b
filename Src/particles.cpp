#include "particles.h"

#include <limits.h>
#include <math.h>

#include "game_loop.h"
#include "geometry.h"
#include "graphics_bank.h"
#include "media.h"
#include "random.h"

Particle particles[PARTICLE_CAPACITY];



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
    for (int i = 0; i < PARTICLE_CAPACITY; i++) {
        Particle& particle = particles[i];
        if (particle.active) continue;
        made += 1;
        int life = particle_life(max_life, min_life);
        long long fan_angle = angle + spread_offset(spread);
        start_particle(particle, x, y, fan_angle, speed, life, strip, stain);
        if (made > count) return;
    }
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
static void draw_particle(const Particle& particle, SDL_Surface* surface, int now)
{
    const AnimStrip* strip = particle_strip(particle);
    if (strip == NULL || surface == NULL || strip->frames == 0 || particle.life <= 0) return;
    long long frames = strip->frames;
    long long k = ((long long)particle.end - now) * frames / particle.life;
    int w = strip->bitmap->w / (int)frames;
    long long source_x = k * w;
    if (source_x < 0 || source_x > INT_MAX) return;
    draw_bitmap_part(strip->bitmap, (int)source_x, 0, w, strip->bitmap->h, surface, particle.ix, particle.iy);
}

void update_particles(SDL_Surface* surface)
{
    int width = surface != NULL ? surface->w : SCREEN_WIDTH;
    int height = surface != NULL ? surface->h : SCREEN_HEIGHT;
    int now = game.frame;
    for (int i = 0; i < PARTICLE_CAPACITY; i++) {
        Particle& particle = particles[i];
        if (particle.active != 1) continue;
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
        if (particle.active) draw_particle(particle, surface, now);
    }
}

void limit_speed(float& vx, float& vy, int max)
{
    // A negative limit would turn the velocity round: it stops it instead.
    int limit = max < 0 ? 0 : max;
    float speed = (float)sqrt(vx * vx + vy * vy);
    if (limit < speed) {
        float factor = limit / speed;
        vx *= factor;
        vy *= factor;
    }
}
