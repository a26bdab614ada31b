#include <gtest/gtest.h>

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

// A particle strip of `frames` frames of 2 x 2 pixels, each in a colour of its own.
AnimStrip make_strip(int frames)
{
    std::vector<Uint8> pixels(frames * 4);
    for (int i = 0; i < frames * 4; i++) pixels[i] = (Uint8)(1 + i % (frames * 2) / 2);
    write_bmp8("strip.bmp", frames * 2, 2, pixels, std::vector<PaletteColour>(STRIP_COLOURS, STRIP_COLOURS + 5));
    return AnimStrip{SDL_LoadBMP("strip.bmp"), (Uint8)frames, 0};
}

Uint32 strip_colour(SDL_Surface* surface, int frame)
{
    return map_colour(surface, STRIP_COLOURS[frame].r, STRIP_COLOURS[frame].g, STRIP_COLOURS[frame].b);
}

struct ParticleTest : public ::testing::Test {
    TempDir dir;
    TestScreen screen;
};

}  // namespace

// A spawning takes the first free slots, and a full pool makes none. A
// caller that gives no span of lives (max_life not above min_life) gets
// min_life, and one that gives no spread (below 1) a fan at its angle:
// neither spends a value of the generator.
TEST_F(ParticleTest, SpawningTakesTheFirstFreeSlotsAndAFullPoolMakesNone)
{
    for (Particle& particle : particles) particle.active = 1;
    particles[7].active = particles[4000].active = 0;
    spawn_particles(10, 20, 0, 1.0f, 20, 20, 0, 0, 0, 0);  // one particle, in slot 7
    spawn_particles(10, 20, 0, 1.0f, 5, 19, 0, 0, -3, 0);  // one particle, in slot 4000
    EXPECT_FIELDS({"slot 7's ix", 10, particles[7].ix}, {"slot 7's life", 20, particles[7].life},
                  {"slot 4000's iy", 20, particles[4000].iy}, {"slot 4000's life", 19, particles[4000].life},
                  {"slot 4000's vx", 1.0f, particles[4000].vx}, {"slot 4000's vy", 0.0f, particles[4000].vy});
    Particle before = particles[7];
    spawn_particles(99, 99, 45, 3.0f, 30, 10, 0, 5, 10, 1);
    EXPECT_EQ(0, memcmp(&before, &particles[7], sizeof before));
    EXPECT_EQ(41, random_value());
}

// A particle exactly on the right or bottom edge is still on the screen;
// one whose strip number lies beyond the table, or flung off by an absurd
// speed, lives and dies without harm.
TEST_F(ParticleTest, AParticleLeavesOnlyWhenPastTheEdge)
{
    spawn_particles(639, 100, 0, 0.5f, 20, 19, 0, 0, 1, 0);   // to 639.5
    spawn_particles(639, 200, 0, 1.0f, 20, 19, 0, 0, 1, 0);   // to 640, on the edge
    spawn_particles(640, 300, 0, 1.0f, 20, 19, 0, 0, 1, 0);   // to 641
    spawn_particles(100, 479, 90, 1.7f, 20, 19, 0, 0, 1, 0);  // to 480.06, on the edge
    spawn_particles(100, 480, 90, 2.0f, 20, 19, 0, 0, 1, 0);  // to 481.2
    spawn_particles(0, 10, 180, 0.5f, 20, 19, 0, 0, 1, 0);    // to -0.5, which truncates to 0
    spawn_particles(0, 20, 180, 1.5f, 20, 19, 0, 0, 1, 0);    // to -1.4999
    spawn_particles(100, 100, 0, 1e30f, 20, 19, 0, 0, 1, 0);
    spawn_particles(100, 100, 0, 0.0f, 2, 1, 25, 0, 1, 1);    // dies of age with no strip to stain with
    game.frame = 1;
    update_particles(screen.surface);
    std::string alive;  // 1 for each particle still on the screen, in the order spawned
    for (int i = 0; i < 9; i++) alive += particles[i].active ? '1' : '0';
    EXPECT_EQ("110101000", alive);
    EXPECT_EQ(639, particles[0].ix);
    EXPECT_EQ(0, particles[5].ix) << "-0.5 truncated";
}

// The frames of a new level count from 0 again: a particle of the last level
// lives on until its end frame comes round.
TEST_F(ParticleTest, AParticleDiesAtItsEndFrameEvenInTheNextLevel)
{
    game.frame = 1000;
    spawn_particles(100, 100, 0, 0.0f, 21, 20, 0, 0, 1, 0);  // ends at frame 1020
    ScriptedSession session;  // the level's clock
    LevelRun run;
    begin_level(run);
    for (game.frame = 0; game.frame < 1020; game.frame++) update_particles(screen.surface);
    EXPECT_EQ(1, particles[0].active);
    update_particles(screen.surface);
    EXPECT_EQ(0, particles[0].active);
}

TEST_F(ParticleTest, AStainLandsOnTheSeabedWhenAParticleDiesOfAge)
{
    bank.barvy[0] = make_strip(3);
    bank.dno[0].bitmap = solid_surface(640, 480, 0, 0, 0);
    SDL_Surface* seabed = bank.dno[0].bitmap;
    spawn_particles(200, 150, 0, 0.0f, 4, 3, 0, 0, 1, 1);  // stains
    spawn_particles(300, 150, 0, 0.0f, 4, 3, 0, 0, 1, 0);  // vanishes
    spawn_particles(0, 50, 180, 1.5f, 2, 1, 0, 0, 1, 1);   // leaves the screen as it dies: lands at x = -1
    for (game.frame = 1; game.frame <= 3; game.frame++) {
        update_particles(screen.surface);
        EXPECT_EQ(game.frame < 3 ? 0u : strip_colour(seabed, 0), pixel_at(seabed, 200, 150));
    }
    // All three frames, side by side, from the particle's corner.
    EXPECT_EQ((std::vector<Uint32>{strip_colour(seabed, 1), strip_colour(seabed, 2), 0, 0, strip_colour(seabed, 1)}),
              (std::vector<Uint32>{pixel_at(seabed, 202, 151), pixel_at(seabed, 205, 151), pixel_at(seabed, 206, 150),
                                   pixel_at(seabed, 300, 150), pixel_at(seabed, 1, 50)}));
}
