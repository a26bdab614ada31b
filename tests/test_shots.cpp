#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <limits.h>
#include <string.h>

#include <string>
#include <vector>

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "graphics_bank.h"
#include "gun.h"
#include "particles.h"
#include "random.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// A strip of `frames` square frames of side `size`, frame k in green 20 + 20k.
SDL_Surface* frame_strip(int frames, int size)
{
    SDL_Surface* strip = solid_surface(frames * size, size, 0, 0, 0);
    for (int k = 0; k < frames; k++) {
        SDL_Rect frame = {(Sint16)(k * size), 0, (Uint16)size, (Uint16)size};
        SDL_FillRect(strip, &frame, SDL_MapRGB(strip->format, 0, (Uint8)(20 + 20 * k), 0));
    }
    return strip;
}

int live_particles()
{
    int live = 0;
    for (const Particle& particle : particles) live += particle.active;
    return live;
}

class ShotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        reset_particles();
        memset(creatures, 0, sizeof creatures);
        memset(&submarine, 0, sizeof submarine);
        submarine.explosion_frame = -1;
        capture([] { free_weapons(); });
    }
    void TearDown() override
    {
        for (SDL_Surface* surface : owned) SDL_FreeSurface(surface);
        for (WeaponDef& w : weapon_catalogue.weapons) w.strela = w.stin = NULL;
        for (CreatureType& kind : creature_types) kind.bitmap = NULL;
        for (AnimStrip& strip : bank.zblunk) strip = AnimStrip{NULL, 1, 0};
        submarine.image = NULL;
    }
    // A weapon flying straight at `speed` pixels per frame.
    WeaponDef& weapon(int index, int typ, int speed)
    {
        WeaponDef& w = weapon_catalogue.weapons[index];
        w.typ = typ;
        w.rychlost_vystreleni = speed;
        w.maximalni_rychlost = speed;
        if (weapon_catalogue.count <= index) weapon_catalogue.count = index + 1;
        return w;
    }
    SDL_Surface* own(SDL_Surface* surface)
    {
        owned.push_back(surface);
        return surface;
    }
    Shot& slot(int i) { return shot_pool.slots[i]; }
    // A creature of kind 0 (32 pixels high, 20 hit points) at (x, y).
    Creature& creature_at(int id, int x, int y)
    {
        CreatureType& kind = creature_types[0];
        if (kind.bitmap == NULL) kind.bitmap = own(solid_surface(64, 32, 0, 0, 0));
        kind.zivoty = 20;
        kind.skore = 150;
        Creature& c = creatures[id];
        c.active = 1;
        c.id = id;
        c.type = 0;
        c.x = x;
        c.y = y;
        c.zivoty = 20;
        c.depth = 0;
        c.explosion_frame = -1;
        c.bonus = -1;
        return c;
    }
    // A shot of `weapon_index` that landed at (x, y) in this frame.
    Shot& landed_at(int i, int weapon_index, int x, int y, int owner = -1)
    {
        Shot& shot = slot(i);
        shot.weapon = weapon_index;
        shot.x = x;
        shot.y = y;
        shot.active = 0;
        shot.outcome = 1;
        shot.owner = owner;
        shot.hit_creature = 0;
        return shot;
    }
    void submarine_at(int x, int y, int image_size)
    {
        submarine.active = 1;
        submarine.x = x;
        submarine.y = y;
        submarine.zivoty = submarine.max_zivoty = 100;
        submarine.image = own(solid_surface(image_size * 8, image_size, 0, 0, 0));
    }
    TestScreen screen;
    std::vector<SDL_Surface*> owned;
};

}  // namespace

// ---------------------------------------------------------------------------
// Launch

// Where a shot is after a number of moves. Shells are launched as the gun
// launches them (aimed `aim` pixels on, "a" = -aim), or as a creature does
// (no aim: they land after one step); bombs are dropped from a height.
TEST_F(ShotTest, ShotsFlyClimbSinkAndLandAsTheirWeaponsSay)
{
    const int ANY = INT_MIN;
    const struct {
        const char* what;
        int typ, speed, max_speed, klesani;
        int x, y, height, aim, a, owner;
        int moves;
        int at_x, at_height, active, outcome;
    } cases[] = {
        // Aimed 200 pixels on, a shell climbs to a quarter of it halfway:
        // 50 x (50 - 200) / 200 = -37.5 after five moves.
        {"shell", 0, 10, 10, 0, 100, 240, 0, 200, -200, -1, 0, 100, 0, 1, 0},
        {"shell", 0, 10, 10, 0, 100, 240, 0, 200, -200, -1, 5, 150, -37, 1, 0},
        {"shell", 0, 10, 10, 0, 100, 240, 0, 200, -200, -1, 10, 200, -50, 1, 0},
        {"shell", 0, 10, 10, 0, 100, 240, 0, 200, -200, -1, 20, 300, 0, 1, 0},  // this move started 190 out
        {"shell", 0, 10, 10, 0, 100, 240, 0, 200, -200, -1, 21, 310, 0, 0, 1},  // lands one step past
        {"no aim", 0, 3, 3, 0, 100, 200, 0, 300, 0, 4, 1, 103, ANY, 0, 1},
        {"no speed limit", 0, 5, 0, 0, 100, 200, 0, 100, -100, -1, 50, 100, ANY, 1, ANY},
        // On the screen edge a shot still flies; one pixel more ends it.
        {"edge", 0, 1, 1, 0, 639, 100, 0, 1000, -1000, -1, 1, 640, ANY, 1, ANY},
        {"edge", 0, 1, 1, 0, 639, 100, 0, 1000, -1000, -1, 2, ANY, ANY, 0, 0},
        // A bomb dropped from 40 sinks 3 a frame and lands on the water.
        {"bomb", 1, 0, 0, 3, 300, 200, 40, 1, 0, -1, 0, ANY, -37, 1, ANY},
        {"bomb", 1, 0, 0, 3, 300, 200, 40, 1, 0, -1, 12, ANY, -1, 1, ANY},
        {"bomb", 1, 0, 0, 3, 300, 200, 40, 1, 0, -1, 13, ANY, 0, 1, ANY},
        {"bomb", 1, 0, 0, 3, 300, 200, 40, 1, 0, -1, 14, ANY, ANY, 0, 1},
        // Without descent it flies until it leaves the screen: 300 + 4 x 86 = 644.
        {"level bomb", 1, 4, 4, 0, 300, 200, 40, 1, 0, -1, 85, 640, -40, 1, ANY},
        {"level bomb", 1, 4, 4, 0, 300, 200, 40, 1, 0, -1, 86, ANY, -40, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " after " + std::to_string(c.moves));
        reset_shot_pool();
        WeaponDef& w = weapon(0, c.typ, c.speed);
        w.maximalni_rychlost = c.max_speed;
        w.klesani = c.klesani;
        ASSERT_EQ(1, slot(0).launch(c.x, c.y, c.height, 0, 0, c.aim, c.a, 0, c.owner));
        for (int n = 0; n < c.moves; n++) slot(0).move();
        if (c.at_x != ANY) {
            EXPECT_EQ(c.at_x, slot(0).x);
        }
        EXPECT_EQ(c.y, slot(0).y);
        if (c.at_height != ANY) {
            EXPECT_EQ(c.at_height, slot(0).height);
        }
        EXPECT_EQ(c.active, slot(0).active);
        if (c.outcome != ANY) {
            EXPECT_EQ(c.outcome, slot(0).outcome);
        }
    }
}

TEST_F(ShotTest, ShellDistanceUndoesTheFlattening)
{
    weapon(0, 0, 0);
    Shot& shot = slot(0);
    shot.launch(100, 100, 0, 90, 0, 200, -200, 0, -1);
    // Moved 62 pixels down the screen: 62 / 0.623 = 99.5 on the sea.
    shot.x = 100;
    shot.y = 162;
    shot.updateHeight();
    EXPECT_EQ(99, shot.distance);
    EXPECT_EQ(-49, shot.height);  // 99 x (99 - 200) / 200 = -49.995
}

TEST_F(ShotTest, SpreadTurnsTheLaunchByAGeneratorOffset)
{
    weapon(0, 2, 1).rozptyl = 3;
    bonus_effects.rozptyl = 2;
    // The generator's first values 41, 18467, 6334, 26500, 19169 mod 10,
    // less 5, give -4, 2, -1, -5, 4.
    const int expected[] = {96, 102, 99, 95, 104};
    for (int i = 0; i < 5; i++) {
        slot(i).launch(300, 200, 0, 100, 0, 300, 0, 0, -1);
        EXPECT_EQ(expected[i], slot(i).angle);
    }
}

TEST_F(ShotTest, NoSpreadSpendsNoRandomValueAndAnglesWrapOnce)
{
    weapon(0, 2, 1);
    slot(0).launch(300, 200, 0, 365, 0, 300, 0, 0, -1);
    EXPECT_EQ(5, slot(0).angle);
    slot(1).launch(300, 200, 0, -45, 0, 300, 0, 0, -1);
    EXPECT_EQ(315, slot(1).angle);
    EXPECT_EQ(41, random_value());
}

TEST_F(ShotTest, LaunchVelocityIsTurnedAndFlattenedWhileAccelerationIsNot)
{
    WeaponDef& w = weapon(0, 2, 10);
    w.uhel_vystreleni = 90;
    w.zrychleni = 2.0f;
    slot(0).launch(300, 200, 0, 0, 0, 300, 0, 0, -1);
    // Turned to 90 degrees: cos(1.566) x 10 and sin(1.566) x 6.23.
    EXPECT_NEAR(0.0480, slot(0).vx, 1e-4);
    EXPECT_NEAR(6.2299, slot(0).vy, 1e-4);
    EXPECT_EQ(2.0f, slot(0).ax);
    EXPECT_EQ(0.0f, slot(0).ay);
}

TEST_F(ShotTest, OverheatedGunRefusesEveryLaunchAndLeavesTheSlot)
{
    weapon(0, 2, 3);
    GunHeat = 100;
    Shot before = slot(0);
    EXPECT_EQ(0, slot(0).launch(300, 200, 0, 0, 0, 300, 0, 0, 7));
    EXPECT_EQ(0, memcmp(&before, &slot(0), sizeof before));
    GunHeat = 99;
    EXPECT_EQ(1, slot(0).launch(300, 200, 0, 0, 0, 300, 0, 0, 7));
    EXPECT_EQ(7, slot(0).owner);
}

TEST_F(ShotTest, PoolFullLeavesNoSlotToFind)
{
    for (int i = 0; i < SHOT_CAPACITY; i++) slot(i).active = 1;
    EXPECT_EQ(-1, find_free_shot(0));
    slot(498).active = 0;
    EXPECT_EQ(498, find_free_shot(0));
    EXPECT_EQ(-1, find_free_shot(499));
}

// ---------------------------------------------------------------------------
// Flight

TEST_F(ShotTest, AirResistanceDampsBombsAfterAccelerationAndLimit)
{
    settings.odpor_vzduchu = 0.9f;
    WeaponDef& bomb = weapon(1, 1, 4);
    bomb.klesani = 1;
    bomb.maximalni_rychlost = 10;
    slot(0).launch(300, 200, 40, 0, 1, 1, 0, 0, -1);
    slot(0).move();
    EXPECT_FLOAT_EQ(3.6f, slot(0).vx);
    EXPECT_FLOAT_EQ(303.6f, slot(0).exact_x);
    slot(0).move();
    EXPECT_FLOAT_EQ(3.24f, slot(0).vx);
    EXPECT_FLOAT_EQ(306.84f, slot(0).exact_x);
    EXPECT_EQ(306, slot(0).x);

    // Accelerated to 6, held at 5, damped to 4.5: and so every frame.
    bomb.zrychleni = 2.0f;
    bomb.maximalni_rychlost = 5;
    slot(1).launch(300, 200, 40, 0, 1, 1, 0, 0, -1);
    slot(1).move();
    EXPECT_FLOAT_EQ(4.5f, slot(1).vx);
    slot(1).move();
    EXPECT_FLOAT_EQ(4.5f, slot(1).vx);
}

TEST_F(ShotTest, ShellsAndRunnersFeelNoAir)
{
    settings.odpor_vzduchu = 0.9f;
    weapon(0, 0, 4);
    weapon(2, 2, 4);
    slot(0).launch(100, 200, 0, 0, 0, 300, -300, 0, -1);
    slot(1).launch(100, 300, 0, 0, 2, 300, 0, 0, 5);
    slot(0).move();
    slot(1).move();
    EXPECT_EQ(4.0f, slot(0).vx);
    EXPECT_EQ(4.0f, slot(1).vx);
}

TEST_F(ShotTest, RunnerLeavesFourWakeFansEveryFrameAndNoRing)
{
    settings.efekt02 = 1;
    weapon(2, 2, 2);
    slot(0).launch(300, 200, 0, 0, 2, 300, 0, 0, 5);
    slot(0).move();
    EXPECT_EQ(2, slot(0).outcome);
    EXPECT_EQ(0, slot(0).height);
    ASSERT_EQ(8, live_particles());
    // Left of the heading and right, fast and short-lived, then slow.
    EXPECT_NEAR(-0.3115, particles[0].vy, 1e-4);  // sin(-1.566) x 0.5 x 0.623
    EXPECT_NEAR(0.3115, particles[2].vy, 1e-4);
    EXPECT_NEAR(0.0934, particles[4].vy, 1e-4);
    EXPECT_NEAR(-0.0934, particles[6].vy, 1e-4);
    EXPECT_EQ(9, particles[0].end);
    EXPECT_EQ(29, particles[6].end);
    slot(0).move();
    EXPECT_EQ(16, live_particles());
}

TEST_F(ShotTest, LandingShellThrowsARingOnlyWithTheEffect)
{
    WeaponDef& w = weapon(0, 0, 3);
    w.pocet_castic_vlny = 8;
    w.dosah_vlny = 20;
    slot(0).launch(100, 200, 0, 0, 0, 300, 0, 0, -1);
    slot(0).move();
    EXPECT_EQ(0, live_particles());

    settings.efekt02 = 1;
    slot(1).launch(100, 200, 0, 0, 0, 300, 0, 0, -1);
    slot(1).move();
    ASSERT_EQ(16, live_particles());
    // Fans at 0, 45, ... 315 degrees, speed 1, living 19 frames.
    EXPECT_FLOAT_EQ(1.0f, particles[0].vx);
    EXPECT_NEAR(0.70880, particles[2].vx, 1e-5);  // cos(45 x 0.0174)
    EXPECT_NEAR(0.43947, particles[2].vy, 1e-5);  // sin(45 x 0.0174) x 0.623
    EXPECT_NEAR(0.69514, particles[14].vx, 1e-5);  // cos(315 x 0.0174)
    EXPECT_EQ(19, particles[0].end);
    EXPECT_EQ(103, particles[0].ix);
}

// ---------------------------------------------------------------------------
// Hits

TEST_F(ShotTest, HitReachesHalfBothPicturesPlusTheTolerance)
{
    WeaponDef& w = weapon(0, 0, 3);
    w.strela = own(solid_surface(8, 8, 0, 0, 0));
    w.poskozeni = 5;
    Creature& near = creature_at(3, 200, 200);
    landed_at(0, 0, 210, 200);  // 10 <= 16 + 4
    resolve_hits(submarine);
    EXPECT_EQ(15, near.zivoty);
    EXPECT_EQ(1, slot(0).hit_creature);
    EXPECT_EQ(0, slot(0).outcome);

    landed_at(0, 0, 221, 200);  // 21 > 20
    resolve_hits(submarine);
    EXPECT_EQ(15, near.zivoty);
    EXPECT_EQ(0, slot(0).hit_creature);

    w.tolerance = 1;
    landed_at(0, 0, 221, 200);
    resolve_hits(submarine);
    EXPECT_EQ(10, near.zivoty);
}

TEST_F(ShotTest, WoundedCreatureSlowsInProportionToItsLife)
{
    weapon(0, 0, 3).poskozeni = 10;
    Creature& c = creature_at(3, 200, 200);
    c.vx = 2.0f;
    c.vy = -1.0f;
    landed_at(0, 0, 200, 200);
    resolve_hits(submarine);
    EXPECT_EQ(10, c.zivoty);
    EXPECT_EQ(1.0f, c.vx);
    EXPECT_EQ(-0.5f, c.vy);
    EXPECT_EQ(0, game.score);
}

TEST_F(ShotTest, KillingHitScoresTheKindsPoints)
{
    weapon(0, 0, 3).poskozeni = 25;
    Creature& c = creature_at(3, 200, 200);
    c.vx = 2.0f;
    landed_at(0, 0, 205, 195);
    resolve_hits(submarine);
    EXPECT_EQ((std::vector<long long>{-5, 150, 0, 1}),
              (std::vector<long long>{c.zivoty, game.score, slot(0).active, slot(0).hit_creature}));
}

TEST_F(ShotTest, OneShotWoundsEveryCreatureInReachButNotItsShooter)
{
    weapon(5, 2, 3).poskozeni = 4;
    Creature& shooter = creature_at(3, 200, 200);
    Creature& first = creature_at(4, 210, 200);
    Creature& second = creature_at(6, 190, 205);
    Creature& far = creature_at(7, 300, 300);
    landed_at(0, 5, 200, 200, 3);
    resolve_hits(submarine);
    EXPECT_EQ((std::vector<long long>{20, 16, 16, 20}),
              (std::vector<long long>{shooter.zivoty, first.zivoty, second.zivoty, far.zivoty}));
}

TEST_F(ShotTest, ExplodingAndFreeCreaturesAreSparedButNotSubmergedOnes)
{
    weapon(0, 0, 3).poskozeni = 4;
    creature_at(3, 200, 200).explosion_frame = 2;
    creature_at(4, 200, 200).active = 0;
    landed_at(0, 0, 200, 200);
    resolve_hits(submarine);
    EXPECT_EQ(20, creatures[3].zivoty);
    EXPECT_EQ(20, creatures[4].zivoty);
    EXPECT_EQ(0, slot(0).hit_creature);

    creature_at(5, 200, 200).depth = 30;
    landed_at(0, 0, 200, 200);
    resolve_hits(submarine);
    EXPECT_EQ(16, creatures[5].zivoty);
}

TEST_F(ShotTest, ShellNeverHurtsTheSubmarine)
{
    weapon(0, 0, 3).poskozeni = 30;
    submarine_at(200, 200, 20);
    landed_at(0, 0, 200, 200);
    resolve_hits(submarine);
    EXPECT_EQ(100, submarine.zivoty);
}

TEST_F(ShotTest, BombLandingOnTheSubmarineHurtsIt)
{
    WeaponDef& bomb = weapon(1, 1, 0);
    bomb.poskozeni = 30;
    bomb.tolerance = 5;
    submarine_at(200, 200, 20);
    landed_at(0, 1, 215, 200);  // 15 <= 10 + 0 + 5
    resolve_hits(submarine);
    EXPECT_EQ(70, submarine.zivoty);
    landed_at(0, 1, 216, 200);
    resolve_hits(submarine);
    EXPECT_EQ(70, submarine.zivoty);

    // A submarine already exploding takes no more.
    submarine.explosion_frame = 0;
    landed_at(0, 1, 200, 200);
    resolve_hits(submarine);
    EXPECT_EQ(70, submarine.zivoty);
}

TEST_F(ShotTest, RunnerHitsTheSubmarineMidFlightAndSplashes)
{
    WeaponDef& runner = weapon(5, 2, 4);
    runner.poskozeni = 12;
    runner.strela = own(solid_surface(6 * 24, 6, 0, 0, 0));
    runner.pocet_snimku = 24;
    submarine_at(400, 200, 20);
    // Fired by creature 3 straight at the submarine 100 pixels away: it hits
    // within 10 + 3 pixels, after 22 moves (388: 12 pixels).
    slot(0).launch(300, 200, 0, 0, 5, 300, 0, 0, 3);
    for (int n = 1; n <= 21; n++) {
        slot(0).move();
        resolve_hits(submarine);
    }
    EXPECT_EQ(384, slot(0).x);
    EXPECT_EQ(1, slot(0).active);
    EXPECT_EQ(100, submarine.zivoty);
    slot(0).move();
    resolve_hits(submarine);
    EXPECT_EQ(88, submarine.zivoty);
    EXPECT_EQ(0, slot(0).active);
    EXPECT_EQ(0, slot(0).outcome);
    slot(0).move();
    resolve_hits(submarine);
    EXPECT_EQ(88, submarine.zivoty);

    // Its splash plays where it hit.
    bank.zblunk[0] = AnimStrip{own(solid_surface(20, 10, 0, 0, 200)), 2, 1};
    game.frame = 0;
    slot(0).draw(screen.surface);
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 388, 200));
}

TEST_F(ShotTest, RunnerWoundsCreaturesOnItsWayButNotItsShooter)
{
    weapon(5, 2, 4).poskozeni = 3;
    creature_at(3, 300, 200);
    creature_at(4, 315, 200);
    slot(0).launch(300, 200, 0, 0, 5, 300, 0, 0, 3);
    slot(0).move();
    resolve_hits(submarine);
    EXPECT_EQ(20, creatures[3].zivoty);
    EXPECT_EQ(17, creatures[4].zivoty);  // 11 pixels off: within 16
    EXPECT_EQ(0, slot(0).active);
    EXPECT_EQ(1, slot(0).hit_creature);
}

// ---------------------------------------------------------------------------
// Drawing

TEST_F(ShotTest, DirectionFramesCoverEqualSharesOfTheTurn)
{
    WeaponDef& w = weapon(0, 2, 0);
    w.pocet_snimku = 8;
    w.strela = own(frame_strip(8, 8));
    slot(0).launch(100, 100, 0, 44, 0, 300, 0, 0, -1);
    slot(1).launch(200, 100, 0, 45, 0, 300, 0, 0, -1);
    slot(2).launch(300, 100, 0, 359, 0, 300, 0, 0, -1);
    for (int i = 0; i < 3; i++) slot(i).draw(screen.surface);
    EXPECT_EQ(map_colour(screen.surface, 0, 20, 0), pixel_at(screen.surface, 100, 100));
    EXPECT_EQ(map_colour(screen.surface, 0, 40, 0), pixel_at(screen.surface, 200, 100));
    EXPECT_EQ(map_colour(screen.surface, 0, 160, 0), pixel_at(screen.surface, 300, 100));
    // Centred: an 8-pixel frame spans x - 4 ... x + 3.
    EXPECT_EQ(map_colour(screen.surface, 0, 20, 0), pixel_at(screen.surface, 96, 96));
    EXPECT_EQ(0u, pixel_at(screen.surface, 95, 96));
    EXPECT_EQ(0u, pixel_at(screen.surface, 104, 100));
}

TEST_F(ShotTest, ShellIsDrawnAboveItsShadow)
{
    WeaponDef& w = weapon(0, 0, 10);
    w.strela = own(solid_surface(6, 6, 200, 0, 0));
    w.stin = own(solid_surface(6, 6, 0, 0, 200));
    slot(0).launch(100, 240, 0, 0, 0, 200, -200, 0, -1);
    for (int n = 0; n < 10; n++) slot(0).move();
    ASSERT_EQ(-50, slot(0).height);
    slot(0).draw(screen.surface);
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 200, 240));
    EXPECT_EQ(map_colour(screen.surface, 200, 0, 0), pixel_at(screen.surface, 200, 190));
}

TEST_F(ShotTest, SplashStandsOnTheGroundPointAndStepsWithItsPeriod)
{
    weapon(0, 0, 3).zblunk = 1;
    // Four frames of 10 x 16, frame k in green 20 + 20k.
    SDL_Surface* strip = own(solid_surface(40, 16, 0, 0, 0));
    for (int k = 0; k < 4; k++) {
        SDL_Rect frame = {(Sint16)(k * 10), 0, 10, 16};
        SDL_FillRect(strip, &frame, SDL_MapRGB(strip->format, 0, (Uint8)(20 + 20 * k), 0));
    }
    bank.zblunk[1] = AnimStrip{strip, 4, 2};
    Shot& shot = landed_at(0, 0, 200, 200);
    shot.splash_frame = -1;
    shot.splash_sound_done = 0;
    game.frame = 0;
    EXPECT_EQ(0, shot.drawSplash(screen.surface));
    EXPECT_EQ(1, shot.splash_sound_done);
    // Corner at (200 - 5, 200 - (16 - 5)): rows 189 ... 204.
    Uint32 first = map_colour(screen.surface, 0, 20, 0);
    EXPECT_EQ(first, pixel_at(screen.surface, 195, 189));
    EXPECT_EQ(first, pixel_at(screen.surface, 204, 204));
    EXPECT_EQ(0u, pixel_at(screen.surface, 194, 189));
    EXPECT_EQ(0u, pixel_at(screen.surface, 195, 205));
    game.frame = 1;
    shot.drawSplash(screen.surface);
    EXPECT_EQ(0, shot.splash_frame);
    for (int f = 2; f <= 6; f += 2) {
        game.frame = f;
        EXPECT_EQ(0, shot.drawSplash(screen.surface));
    }
    EXPECT_EQ(map_colour(screen.surface, 0, 80, 0), pixel_at(screen.surface, 200, 200));
    game.frame = 8;
    EXPECT_EQ(1, shot.drawSplash(screen.surface));
}

TEST_F(ShotTest, ShotThatEndedInACreatureShowsNoSplashUnlessItIsABomb)
{
    weapon(0, 0, 3);
    weapon(1, 1, 3);
    bank.zblunk[0] = AnimStrip{own(solid_surface(10, 10, 200, 200, 0)), 1, 1};
    Shot& shell = landed_at(0, 0, 100, 100);
    shell.hit_creature = 1;
    shell.splash_frame = -1;
    Shot& bomb = landed_at(1, 1, 300, 100);
    bomb.hit_creature = 1;
    bomb.splash_frame = -1;
    shell.draw(screen.surface);
    bomb.draw(screen.surface);
    EXPECT_EQ(0u, pixel_at(screen.surface, 100, 100));
    EXPECT_EQ(map_colour(screen.surface, 200, 200, 0), pixel_at(screen.surface, 300, 100));
}

TEST_F(ShotTest, ReleaseOfTheWeaponsLeavesNoSplashForTheNextLevel)
{
    weapon(0, 0, 3);
    slot(0).launch(100, 100, 0, 0, 0, 300, 0, 0, -1);
    slot(0).move();  // landed: its splash has not begun
    ASSERT_EQ(-1, slot(0).splash_frame);
    capture([] { free_weapons(); });
    EXPECT_EQ(0, slot(0).active);
    EXPECT_EQ(1, slot(0).splash_sound_done);
    // The next level's splash table holds a long animation.
    bank.zblunk[0] = AnimStrip{own(solid_surface(2550, 10, 200, 200, 0)), 255, 1};
    for (game.frame = 0; game.frame < 3; game.frame++) {
        EXPECT_EQ(1, slot(0).drawSplash(screen.surface));
        slot(0).draw(screen.surface);
    }
    EXPECT_EQ(0u, pixel_at(screen.surface, 103, 100));
}

TEST_F(ShotTest, ScriptValuesOutsideTheirRangesDrawSafely)
{
    WeaponDef& none = weapon(0, 2, 0);
    none.pocet_snimku = 0;
    none.strela = own(frame_strip(2, 4));
    WeaponDef& many = weapon(1, 2, 0);
    many.pocet_snimku = 1000;
    many.strela = own(frame_strip(2, 4));
    slot(0).launch(100, 100, 0, 200, 0, 300, 0, 0, -1);
    slot(1).launch(200, 100, 0, 1, 1, 300, 0, 0, -1);
    slot(0).draw(screen.surface);
    slot(1).draw(screen.surface);
    EXPECT_EQ(map_colour(screen.surface, 0, 20, 0), pixel_at(screen.surface, 100, 100));  // one picture
    EXPECT_EQ(map_colour(screen.surface, 0, 40, 0), pixel_at(screen.surface, 200, 100));  // one per degree

    // Splash numbers outside the table, empty and frameless splash strips.
    bank.zblunk[0] = AnimStrip{own(solid_surface(10, 10, 200, 0, 0)), 0, 0};
    const int splashes[] = {-1, 10, 0};
    for (int i = 0; i < 3; i++) {
        weapon(2 + i, 0, 3).zblunk = splashes[i];
        Shot& shot = landed_at(2 + i, 2 + i, 300, 300);
        shot.splash_frame = -1;
        EXPECT_EQ(i == 2 ? 1 : 0, shot.drawSplash(screen.surface)) << i;
    }
    EXPECT_EQ(0u, pixel_at(screen.surface, 300, 300));

    // A weapon number no catalogue has flies as a weapon of defaults.
    EXPECT_EQ(1, slot(9).launch(300, 200, 0, 0, 150, 300, 0, 0, -1));
    slot(9).move();
    slot(9).draw(screen.surface);
    EXPECT_EQ(0, slot(9).active);
}

// ---------------------------------------------------------------------------
// Sounds

TEST_F(ShotTest, FiringSplashingAndHittingPlayOnTheirChannels)
{
    ASSERT_TRUE(open_audio());
    TempDir dir;
    write_wav("fire.wav", 50000);
    write_wav("water.wav", 50000);
    write_wav("hit.wav", 50000);
    WeaponDef& w = weapon(0, 0, 3);
    w.fire_sound = Mix_LoadWAV("fire.wav");
    w.water_sound = Mix_LoadWAV("water.wav");
    w.hit_sound = Mix_LoadWAV("hit.wav");
    slot(0).launch(100, 100, 0, 0, 0, 300, 0, 0, -1);
    EXPECT_EQ(w.fire_sound, Mix_GetChunk(3));
    slot(0).move();
    slot(0).draw(screen.surface);
    EXPECT_EQ(w.water_sound, Mix_GetChunk(3));
    creature_at(3, 200, 200);
    landed_at(1, 0, 200, 200);
    resolve_hits(submarine);
    EXPECT_EQ(w.hit_sound, Mix_GetChunk(1));
    Mix_HaltChannel(-1);
    capture([] { free_weapons(); });
    Mix_CloseAudio();
}

// ---------------------------------------------------------------------------
// The game's own data set

namespace {

// Pixels around (x, y) that differ from the background colour.
int drawn_near(SDL_Surface* surface, int x, int y, Uint32 background)
{
    int drawn = 0;
    for (int py = y - 100; py < y + 40; py++)
        for (int px = x - 60; px < x + 60; px++)
            if (px >= 0 && py >= 0 && px < surface->w && py < surface->h && pixel_at(surface, px, py) != background)
                drawn++;
    return drawn;
}

}  // namespace

TEST(ShotsDataSet, EveryWeaponOfEveryLevelFliesAndSplashesVisibly)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set());
    fresh_shooting();
    settings.odpor_vzduchu = 0.98f;
    Uint32 background = map_colour(screen.surface, 248, 0, 248);
    for (const char* level : {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4"}) {
        std::string images = std::string("SCRIPT/") + level + "/images.scr";
        std::string weapons = std::string("SCRIPT/") + level + "/weapons.scr";
        capture([&] {
            load_images(images.c_str());
            load_weapons(weapons.c_str());
        });
        for (int i = 0; i < weapon_catalogue.count; i++) {
            SCOPED_TRACE(std::string(level) + " weapon " + std::to_string(i));
            const WeaponDef& w = weapon_catalogue.weapons[i];
            reset_shot_pool();
            Shot& shot = shot_pool.slots[0];
            // As the gun aims 150 pixels to the right, as a plane drops from
            // 40 pixels, as a creature fires.
            if (w.typ == 0) shot.launch(200, 240, 0, 0, i, 150, -150, 0, -1);
            if (w.typ == 1) shot.launch(320, 240, 40, 0, i, 1, 0, 0, -1);
            if (w.typ == 2) shot.launch(320, 240, 0, 0, i, 300, 0, 0, 3);
            int shown = 0, frame = 0;
            for (; shot.active && frame < 400; frame++) {
                game.frame = frame;
                SDL_FillRect(screen.surface, NULL, background);
                shot.move();
                shot.draw(screen.surface);
                if (shot.active) shown += drawn_near(screen.surface, shot.x, shot.y, background) > 0;
            }
            EXPECT_GE(shown, 5);
            EXPECT_LT(frame, 400);
            if (w.typ == 2) continue;  // runners leave the screen
            EXPECT_EQ(1, shot.outcome);  // landed
            if (w.typ == 0) {
                EXPECT_GE(shot.x, 350);
                EXPECT_LE(shot.x, 350 + 2 * w.maximalni_rychlost);
            }
            int splashed = 0;
            for (int f = frame; f < frame + 1000 && shot.drawSplash(screen.surface) == 0; f++) {
                game.frame = f + 1;
                splashed += drawn_near(screen.surface, shot.x, shot.y, background) > 0;
                SDL_FillRect(screen.surface, NULL, background);
            }
            EXPECT_GE(splashed, 3);
        }
        capture([] {
            free_weapons();
            free_images();
        });
    }
}
