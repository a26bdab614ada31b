#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "game_loop.h"
#include "graphics_bank.h"
#include "particles.h"
#include "random.h"
#include "support.h"

namespace {

const PaletteColour STRIP_COLOURS[] = {
    {1, 248, 0, 0}, {2, 0, 252, 0}, {3, 0, 0, 248}, {4, 248, 248, 0}, {5, 248, 0, 248},
};

// A particle strip of `frames` frames, each frame_w x h in a colour of its own.
SDL_Surface* make_strip(int frames, int frame_w, int h)
{
    int w = frames * frame_w;
    std::vector<Uint8> pixels(w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) pixels[y * w + x] = (Uint8)(1 + x / frame_w);
    std::vector<PaletteColour> palette(STRIP_COLOURS, STRIP_COLOURS + 5);
    write_bmp8("strip.bmp", w, h, pixels, palette);
    return SDL_LoadBMP("strip.bmp");
}

Uint32 strip_colour(SDL_Surface* surface, int frame)
{
    const PaletteColour& c = STRIP_COLOURS[frame];
    return map_colour(surface, c.r, c.g, c.b);
}

int live_particles()
{
    int live = 0;
    for (const Particle& particle : particles) live += particle.active;
    return live;
}

void clear(SDL_Surface* surface)
{
    SDL_FillRect(surface, NULL, 0);
}

class ParticleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_particles();
        game.frame = 0;
        random_reset();
    }
    void TearDown() override
    {
        free_strip(bank.barvy[0]);
        free_strip(bank.dno[0]);
    }
    TempDir dir;
    TestScreen screen;
};

}  // namespace

TEST_F(ParticleTest, EachCallMakesOneMoreThanItsCount)
{
    spawn_particles(100, 100, 0, 1.0f, 20, 19, 0, 1, 1, 0);
    EXPECT_EQ(2, live_particles());
    spawn_particles(100, 100, 0, 1.0f, 20, 19, 0, 0, 1, 0);
    EXPECT_EQ(3, live_particles());
    spawn_particles(100, 100, 0, 1.0f, 20, 19, 0, 4, 1, 0);
    EXPECT_EQ(8, live_particles());
}

TEST_F(ParticleTest, FirstFreeSlotsAreTakenAndAFullPoolMakesNone)
{
    for (int i = 0; i < PARTICLE_CAPACITY; i++) particles[i].active = 1;
    particles[7].active = 0;
    particles[4000].active = 0;
    spawn_particles(10, 20, 0, 1.0f, 20, 19, 0, 5, 1, 0);
    EXPECT_EQ(PARTICLE_CAPACITY, live_particles());
    EXPECT_EQ(10, particles[7].ix);
    EXPECT_EQ(20, particles[4000].iy);

    // The full pool makes none: no slot changes, nothing is said and no
    // random value is drawn (two particles took 41, 18467, 6334 and 26500).
    Particle before = particles[7];
    Captured log = capture([] { spawn_particles(99, 99, 45, 3.0f, 30, 10, 0, 5, 10, 1); });
    EXPECT_EQ("", log.out + log.err);
    EXPECT_EQ(0, memcmp(&before, &particles[7], sizeof before));
    EXPECT_EQ(19169, random_value());
}

TEST_F(ParticleTest, LifetimeAndSpreadComeFromTheProgramWideGenerator)
{
    game.frame = 100;
    // The first random values are 41, 18467, 6334, 26500: life 10 + 41 mod 20,
    // angle 40 + 18467 mod 10 - 5; then life 10 + 6334 mod 20, angle 40 + 0 - 5.
    spawn_particles(50, 60, 40, 2.0f, 30, 10, 0, 1, 10, 0);
    EXPECT_EQ(11, particles[0].life);
    EXPECT_EQ(111, particles[0].end);
    // cos(42 x 0.0174) x 2 and sin(35 x 0.0174) x 2 x 0.623, worked out in
    // double precision and rounded to float once.
    EXPECT_EQ(0x1.7d418ap+0f, particles[0].vx);  // 1.48928130
    EXPECT_EQ(24, particles[1].life);
    EXPECT_EQ(124, particles[1].end);
    EXPECT_EQ(0x1.6cf05ap-1f, particles[1].vy);  // 0.71277124
}

TEST_F(ParticleTest, FixedLifetimeAndNarrowFanFlyExactlyAsAsked)
{
    spawn_particles(50, 60, 0, 1.0f, 20, 19, 0, 1, 1, 0);
    EXPECT_EQ(19, particles[0].life);
    EXPECT_EQ(19, particles[1].life);
    EXPECT_EQ(1.0f, particles[0].vx);
    EXPECT_EQ(0.0f, particles[0].vy);

    // 90 degrees is 1.566 radians with the game's factor: not quite straight
    // down. In double precision, rounded to float once (a float angle or a
    // float 0.623 would give 0x1.3a54f6p-8 and 0x1.3ef8ecp-1).
    spawn_particles(50, 60, 90, 1.0f, 20, 19, 0, 0, 1, 0);
    EXPECT_EQ(0x1.3a54b4p-8f, particles[2].vx);  // 0.00479631
    EXPECT_EQ(0x1.3ef8eap-1f, particles[2].vy);  // 0.62299281
}

TEST_F(ParticleTest, PositionsAddUpInSinglePrecision)
{
    // Ten steps of 0.1 from 100 make 100.99998 in floats, so the particle is
    // still drawn in column 100 (exact sums would reach 101).
    spawn_particles(100, 200, 0, 0.1f, 50, 49, 0, 0, 1, 0);
    ASSERT_EQ(0.1f, particles[0].vx);
    for (game.frame = 1; game.frame <= 10; game.frame++) update_particles(screen.surface);
    EXPECT_EQ(0x1.93fffcp+6f, particles[0].x);
    EXPECT_EQ(100, particles[0].ix);
    EXPECT_EQ(200, particles[0].iy);
}

TEST_F(ParticleTest, LiveParticlesGoOnIntoTheNextLevel)
{
    game.frame = 1000;
    spawn_particles(100, 100, 0, 0.0f, 21, 20, 0, 0, 1, 0);  // ends at frame 1020
    LevelRun run;
    begin_level(run);
    EXPECT_EQ(0, game.frame);
    EXPECT_EQ(1, particles[0].active);
    // The new level's frames count from 0: the particle lives on until its
    // end frame comes round, long after its twenty frames.
    for (game.frame = 0; game.frame < 50; game.frame++) update_particles(screen.surface);
    EXPECT_EQ(1, particles[0].active);
    game.frame = 1020;
    update_particles(screen.surface);
    EXPECT_EQ(0, particles[0].active);
}

TEST_F(ParticleTest, CallsWithoutSpanOrSpreadStillMakeParticles)
{
    spawn_particles(50, 60, 30, 1.0f, 19, 19, 0, 0, 0, 0);
    spawn_particles(50, 60, 30, 1.0f, 5, 19, 0, 0, -3, 0);
    EXPECT_EQ(2, live_particles());
    EXPECT_EQ(19, particles[0].life);
    EXPECT_EQ(19, particles[1].life);
    EXPECT_EQ(0x1.bbd05p-1f, particles[0].vx);  // cos(30 x 0.0174) = 0.86682367
    // No random value was spent on them.
    EXPECT_EQ(41, random_value());
}

TEST_F(ParticleTest, ParticleLeavesOnlyWhenPastTheEdge)
{
    spawn_particles(639, 100, 0, 0.5f, 20, 19, 0, 0, 1, 0);   // to 639.5
    spawn_particles(639, 200, 0, 1.0f, 20, 19, 0, 0, 1, 0);   // to 640, on the edge
    spawn_particles(640, 300, 0, 1.0f, 20, 19, 0, 0, 1, 0);   // to 641
    spawn_particles(100, 479, 90, 1.7f, 20, 19, 0, 0, 1, 0);  // to 480.06, on the edge
    spawn_particles(100, 480, 90, 2.0f, 20, 19, 0, 0, 1, 0);  // to 481.2
    spawn_particles(0, 10, 180, 0.5f, 20, 19, 0, 0, 1, 0);    // to -0.5, which truncates to 0
    spawn_particles(0, 20, 180, 1.5f, 20, 19, 0, 0, 1, 0);    // to -1.4999
    game.frame = 1;
    update_particles(screen.surface);
    EXPECT_EQ((std::vector<long long>{1, 639, 1, 0, 1, 0, 1, 0, 0}),
              (std::vector<long long>{particles[0].active, particles[0].ix, particles[1].active, particles[2].active,
                                      particles[3].active, particles[4].active, particles[5].active, particles[5].ix,
                                      particles[6].active}));
}

TEST_F(ParticleTest, ParticleDiesAtItsEndFrame)
{
    spawn_particles(100, 100, 0, 0.0f, 6, 5, 0, 0, 1, 0);
    for (game.frame = 1; game.frame < 5; game.frame++) {
        update_particles(screen.surface);
        EXPECT_EQ(1, particles[0].active) << "frame " << game.frame;
    }
    update_particles(screen.surface);
    EXPECT_EQ(0, particles[0].active);
}

TEST_F(ParticleTest, StripPlaysFromItsLastFrameToItsFirst)
{
    bank.barvy[0].bitmap = make_strip(5, 2, 2);
    bank.barvy[0].frames = 5;
    spawn_particles(100, 100, 0, 0.0f, 11, 10, 0, 0, 1, 0);  // life 10, standing still

    // Stepped in the frame it was born, it would show frame 5 of 5: nothing.
    clear(screen.surface);
    update_particles(screen.surface);
    EXPECT_EQ(0u, pixel_at(screen.surface, 100, 100));

    for (game.frame = 1; game.frame < 10; game.frame++) {
        clear(screen.surface);
        update_particles(screen.surface);
        int expected = (10 - game.frame) * 5 / 10;
        EXPECT_EQ(strip_colour(screen.surface, expected), pixel_at(screen.surface, 100, 100)) << "frame " << game.frame;
        EXPECT_EQ(strip_colour(screen.surface, expected), pixel_at(screen.surface, 101, 101));
        EXPECT_EQ(0u, pixel_at(screen.surface, 102, 100));
    }
    EXPECT_EQ(strip_colour(screen.surface, 0), pixel_at(screen.surface, 100, 100));  // 1 frame before the end
}

TEST_F(ParticleTest, StainLandsOnTheSeabedWhenAParticleDiesOfAge)
{
    bank.barvy[0].bitmap = make_strip(3, 2, 2);
    bank.barvy[0].frames = 3;
    bank.dno[0].bitmap = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_Surface* seabed = bank.dno[0].bitmap;

    spawn_particles(200, 150, 0, 0.0f, 4, 3, 0, 0, 1, 1);  // stains
    spawn_particles(300, 150, 0, 0.0f, 4, 3, 0, 0, 1, 0);  // vanishes
    spawn_particles(0, 50, 180, 1.5f, 2, 1, 0, 0, 1, 1);   // leaves the screen as it dies
    game.frame = 1;
    update_particles(screen.surface);
    EXPECT_EQ(0, particles[2].active);
    // Its whole strip lands at x = -1: the left edge shows the rest of frame 0.
    EXPECT_EQ(strip_colour(seabed, 0), pixel_at(seabed, 0, 50));
    EXPECT_EQ(strip_colour(seabed, 1), pixel_at(seabed, 1, 50));

    game.frame = 2;
    update_particles(screen.surface);
    EXPECT_EQ(0u, pixel_at(seabed, 200, 150));  // not yet

    game.frame = 3;
    update_particles(screen.surface);
    EXPECT_EQ(0, particles[0].active);
    // All three frames, side by side, from the particle's corner.
    EXPECT_EQ(strip_colour(seabed, 0), pixel_at(seabed, 200, 150));
    EXPECT_EQ(strip_colour(seabed, 1), pixel_at(seabed, 202, 151));
    EXPECT_EQ(strip_colour(seabed, 2), pixel_at(seabed, 205, 151));
    EXPECT_EQ(0u, pixel_at(seabed, 206, 150));
    EXPECT_EQ(0u, pixel_at(seabed, 300, 150));
}

TEST_F(ParticleTest, ParticlesWithoutAPictureOrSeabedStillLiveAndDie)
{
    bank.barvy[0].frames = 0;
    spawn_particles(100, 100, 0, 0.0f, 3, 2, 0, 0, 1, 1);
    spawn_particles(100, 100, 0, 0.0f, 3, 2, 25, 0, 1, 1);  // strip number beyond the table
    spawn_particles(100, 100, 0, 1e30f, 3, 2, 0, 0, 1, 0);  // flung far off
    game.frame = 1;
    update_particles(screen.surface);
    EXPECT_EQ(0, particles[2].active);
    game.frame = 2;
    update_particles(screen.surface);
    EXPECT_EQ(0, live_particles());
}

// Only a velocity above the limit is shortened; a negative limit turns the
// velocity round and scales it ((3, -4) has length 5: the factor -2 / 5); a
// still velocity has no direction and stays still, whatever the limit.
TEST(LimitSpeed, ShortensOnlyAVelocityAboveTheLimit)
{
    const struct {
        float vx, vy, limit, after_x, after_y;
    } cases[] = {
        {3, 4, 10, 3, 4}, {3, 4, 5, 3, 4}, {3, 4, 2, 1.2f, 1.6f}, {3, -4, -2, -1.2f, 1.6f},
        {0, 0, -3, 0, 0}, {0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        float vx = c.vx, vy = c.vy;
        limit_speed(vx, vy, (int)c.limit);
        EXPECT_EQ(c.after_x, vx);
        EXPECT_EQ(c.after_y, vy);
    }
}
