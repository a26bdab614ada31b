#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <limits.h>
#include <string.h>

#include <string>

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "graphics_bank.h"
#include "gun.h"
#include "sounds.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// Pictures handed to the game's tables are freed with them before the next test.
class ShotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        submarine.explosion_frame = -1;
    }
    // A weapon flying straight at `speed` pixels per frame.
    WeaponDef& weapon(int index, int typ, int speed)
    {
        WeaponDef& w = weapon_catalogue.weapons[index];
        w.typ = typ;
        w.rychlost_vystreleni = w.maximalni_rychlost = speed;
        if (weapon_catalogue.count <= index) weapon_catalogue.count = index + 1;
        return w;
    }
    Shot& slot(int i) { return shot_pool.slots[i]; }
    Shot& launched(int i, int x, int y, int angle, int weapon_index, int owner = -1)
    {
        EXPECT_EQ(1, slot(i).launch(x, y, 0, angle, weapon_index, 300, 0, 0, owner));
        return slot(i);
    }
    // A surfaced creature of kind 0 (32 pixels high, 20 hit points, worth 150) at (x, y).
    Creature& creature_at(int id, int x, int y)
    {
        CreatureType& kind = creature_types[0];
        if (kind.bitmap == NULL) kind.bitmap = solid_surface(64, 32, 0, 0, 0);
        kind.zivoty = 20;
        kind.skore = 150;
        Creature& c = creatures[id] = Creature();
        c.active = 1;
        c.id = id;
        c.x = x;
        c.y = y;
        c.zivoty = 20;
        c.explosion_frame = c.bonus = -1;
        return c;
    }
    // A shot of `weapon_index` that landed at (x, y) in this frame.
    Shot& landed_at(int i, int weapon_index, int x, int y, int owner = -1)
    {
        Shot& shot = slot(i) = Shot();
        shot.weapon = weapon_index;
        shot.x = x;
        shot.y = y;
        shot.outcome = 1;
        shot.owner = owner;
        shot.splash_frame = -1;
        return shot;
    }
    Uint32 at(int x, int y) { return pixel_at(screen.surface, x, y); }
    Uint32 colour(Uint8 r, Uint8 g, Uint8 b) { return map_colour(screen.surface, r, g, b); }
    TestScreen screen;
};

}  // namespace

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
        empty_shot_pool();
        WeaponDef& w = weapon(0, c.typ, c.speed);
        w.maximalni_rychlost = c.max_speed;
        w.klesani = c.klesani;
        ASSERT_EQ(1, slot(0).launch(c.x, c.y, c.height, 0, 0, c.aim, c.a, 0, c.owner));
        for (int n = 0; n < c.moves; n++) slot(0).move();
        EXPECT_EQ(c.y, slot(0).y);
        EXPECT_EQ(c.active, slot(0).active);
        if (c.at_x != ANY) {
            EXPECT_EQ(c.at_x, slot(0).x);
        }
        if (c.at_height != ANY) {
            EXPECT_EQ(c.at_height, slot(0).height);
        }
        if (c.outcome != ANY) {
            EXPECT_EQ(c.outcome, slot(0).outcome);
        }
    }
}

// The launch angle is turned by a spread of rozptyl plus the bonus: -R ...
// R - 1 degrees, here the generator's first value, 41, mod 10 less 5.
TEST_F(ShotTest, SpreadAndItsBonusTurnTheLaunch)
{
    weapon(0, 2, 1).rozptyl = 3;
    bonus_effects.rozptyl = 2;
    EXPECT_EQ(96, launched(0, 300, 200, 100, 0).angle);
}

// A gun at its heat limit refuses every launch, whoever shoots, and the
// slot is left as it was; a landed shell holds its slot until its hit is
// resolved.
TEST_F(ShotTest, AnOverheatedGunRefusesEveryLaunchAndAFullPoolHasNoSlot)
{
    weapon(0, 2, 3);
    GunHeat = 100;
    Shot before = slot(0);
    EXPECT_EQ(0, slot(0).launch(300, 200, 0, 0, 0, 300, 0, 0, 7));
    EXPECT_EQ(0, memcmp(&before, &slot(0), sizeof before));
    GunHeat = 99;
    EXPECT_EQ(7, launched(0, 300, 200, 0, 0, 7).owner);
    for (int i = 0; i < SHOT_CAPACITY; i++) slot(i).active = 1;
    slot(498).active = 0;
    EXPECT_EQ(498, find_free_shot(0));
    EXPECT_EQ(-1, find_free_shot(499));
    slot(498).outcome = 1;
    EXPECT_EQ(-1, find_free_shot(0));
}

// Speed after each move: accelerated, held at the top speed, then, for bombs
// only, damped by the air (0.9). A negative top speed turns the shot round
// each move, and leaves a still one still.
TEST_F(ShotTest, OnlyBombsFeelTheAirAfterAccelerationAndLimit)
{
    settings.odpor_vzduchu = 0.9f;
    const struct {
        int typ, speed, max_speed;
        float zrychleni, first, second;
    } cases[] = {{1, 4, 10, 0, 3.6f, 3.24f}, {1, 4, 5, 2, 4.5f, 4.5f}, {0, 4, 4, 0, 4, 4}, {2, 4, 4, 0, 4, 4},
                 {0, 4, -2, 0, -2, 2}, {1, 0, -2, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.typ << " top " << c.max_speed);
        WeaponDef& w = weapon(1, c.typ, c.speed);
        w.maximalni_rychlost = c.max_speed;
        w.zrychleni = c.zrychleni;
        w.klesani = 1;
        slot(0).launch(100, 200, 40, 0, 1, 300, -300, 0, -1);
        slot(0).move();
        EXPECT_FLOAT_EQ(c.first, slot(0).vx);
        slot(0).move();
        EXPECT_FLOAT_EQ(c.second, slot(0).vx);
    }
}

// A landed shot wounds every creature within half its picture (16) plus
// half the shot's (4) plus the tolerance, but never the creature that fired
// it, one exploding, one gone or one still rising... which it does hit.
// A wounded creature slows in proportion to the life it has left; a kill
// scores the kind's points and starts the blast.
TEST_F(ShotTest, ALandedShotWoundsTheCreaturesInReach)
{
    WeaponDef& w = weapon(0, 0, 3);
    w.strela = solid_surface(8, 8, 0, 0, 0);
    const struct {
        const char* what;
        int dx, tolerance, owner, explosion_frame, active, depth, damage, life, score;
        float vx;
    } cases[] = {
        {"in reach", 20, 0, -1, -1, 1, 0, 10, 10, 0, 1.0f}, {"beyond", 21, 0, -1, -1, 1, 0, 10, 20, 0, 2.0f},
        {"tolerance", 21, 1, -1, -1, 1, 0, 10, 10, 0, 1.0f}, {"shooter", 0, 0, 3, -1, 1, 0, 10, 20, 0, 2.0f},
        {"exploding", 0, 0, -1, 2, 1, 0, 10, 20, 0, 2.0f},   {"gone", 0, 0, -1, -1, 0, 0, 10, 20, 0, 2.0f},
        {"rising", 0, 0, -1, -1, 1, 30, 10, 10, 0, 1.0f},    {"kill", 5, 0, -1, -1, 1, 0, 25, -5, 150, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game.score = 0;
        w.poskozeni = c.damage;
        w.tolerance = c.tolerance;
        Creature& target = creature_at(3, 200, 200);
        target.explosion_frame = c.explosion_frame;
        target.active = c.active;
        target.depth = c.depth;
        target.vx = 2.0f;
        landed_at(0, 0, 200 + c.dx, 200, c.owner);
        capture([] { resolve_hits(submarine); });  // the blast has no picture here
        EXPECT_FIELDS({"the creature's zivoty", c.life, target.zivoty}, {"the creature's vx", c.vx, target.vx},
                      {"score", c.score, game.score}, {"the shot's hit_creature", c.life != 20, slot(0).hit_creature},
                      {"the shot's outcome", 0, slot(0).outcome});
        if (c.score > 0) {
            EXPECT_EQ(0, target.explosion_frame);
        }
    }
    // One shot wounds every creature in reach.
    w.poskozeni = 4;
    creature_at(4, 210, 200);
    creature_at(6, 190, 205);
    landed_at(0, 0, 200, 200);
    resolve_hits(submarine);
    EXPECT_EQ(16, creatures[4].zivoty) << "the creature 10 to the right";
    EXPECT_EQ(16, creatures[6].zivoty) << "the creature 10 to the left, 5 down";
}

// The gun's shells never hurt the submarine; a bomb does within half the
// submarine's picture (10) plus the tolerance (5), unless it is already
// exploding.
TEST_F(ShotTest, BombsHurtTheSubmarineButShellsNever)
{
    submarine.active = 1;
    submarine.x = submarine.y = 200;
    submarine.image = solid_surface(160, 20, 0, 0, 0);
    const struct {
        const char* what;
        int typ, dx, explosion_frame, zivoty;
    } cases[] = {{"a shell on it", 0, 0, -1, 100}, {"a bomb 15 off", 1, 15, -1, 70}, {"a bomb 16 off", 1, 16, -1, 100},
                 {"a bomb on it, the submarine exploding", 1, 0, 0, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WeaponDef& w = weapon(c.typ, c.typ, 0);
        w.poskozeni = 30;
        w.tolerance = 5;
        submarine.zivoty = 100;
        submarine.explosion_frame = c.explosion_frame;
        landed_at(0, c.typ, 200 + c.dx, 200);
        resolve_hits(submarine);
        EXPECT_EQ(c.zivoty, submarine.zivoty);
    }
}

// Fired by creature 3 straight at the submarine 100 pixels away, a runner
// passes creature 4 (wounding it) and hits within 10 + 3 pixels after 22
// moves (at 388), then splashes where it hit.
TEST_F(ShotTest, ARunnerHitsTheSubmarineMidFlightAndSplashes)
{
    WeaponDef& runner = weapon(5, 2, 4);
    runner.poskozeni = 12;
    runner.strela = solid_surface(6 * 24, 6, 0, 0, 0);
    runner.pocet_snimku = 24;
    creature_at(3, 300, 200);
    submarine.active = 1;
    submarine.x = 400;
    submarine.y = 200;
    submarine.zivoty = 100;
    submarine.image = solid_surface(160, 20, 0, 0, 0);
    Shot& shot = launched(0, 300, 200, 0, 5, 3);
    const struct {
        int x, active, zivoty;  // the shot's place, whether it flies, the submarine's hit points
    } after[] = {{384, 1, 100}, {388, 0, 88}, {388, 0, 88}};  // moves 21 ... 23
    for (int n = 1; n <= 23; n++) {
        shot.move();
        resolve_hits(submarine);
        if (n < 21) continue;
        SCOPED_TRACE("after move " + std::to_string(n));
        EXPECT_FIELDS({"shot.x", after[n - 21].x, shot.x}, {"shot.active", after[n - 21].active, shot.active},
                      {"submarine.zivoty", after[n - 21].zivoty, submarine.zivoty});
    }
    EXPECT_EQ(20, creatures[3].zivoty);
    bank.zblunk[0] = AnimStrip{solid_surface(20, 10, 0, 0, 200), 2, 1};
    shot.draw(screen.surface);
    EXPECT_EQ(colour(0, 0, 200), at(388, 200));
    creature_at(4, 315, 200);
    shot = Shot();
    launched(0, 300, 200, 0, 5, 3).move();
    resolve_hits(submarine);
    EXPECT_EQ(8, creatures[4].zivoty);  // 11 pixels off: within 16 + 3
    EXPECT_EQ(1, shot.hit_creature);
}

// Frame counts outside 1 ... 360 count as one picture for every angle (0)
// or one per degree (1000); splash numbers outside the table, and strips of
// no frames, show nothing; a weapon number no catalogue has flies as a
// weapon of defaults.
TEST_F(ShotTest, ScriptValuesOutsideTheirRangesDrawSafely)
{
    for (int i = 0; i < 2; i++) {
        WeaponDef& w = weapon(i, 2, 0);
        w.pocet_snimku = i == 0 ? 0 : 1000;
        w.strela = solid_surface(8, 4, 0, 20, 0);
        SDL_Rect second = {4, 0, 4, 4};
        SDL_FillRect(w.strela, &second, SDL_MapRGB(w.strela->format, 0, 40, 0));
    }
    launched(0, 100, 100, 200, 0).draw(screen.surface);
    launched(1, 200, 100, 1, 1).draw(screen.surface);
    EXPECT_EQ(colour(0, 20, 0), at(100, 100));
    EXPECT_EQ(colour(0, 40, 0), at(200, 100));
    bank.zblunk[0] = AnimStrip{solid_surface(10, 10, 200, 0, 0), 0, 0};
    const int splashes[] = {-1, 10, 0};
    for (int i = 0; i < 3; i++) {
        weapon(2 + i, 0, 3).zblunk = splashes[i];
        EXPECT_EQ(i == 2, landed_at(2 + i, 2 + i, 300, 300).drawSplash(screen.surface)) << "splash " << splashes[i];
    }
    EXPECT_EQ(0u, at(300, 300));
    Shot& stray = launched(9, 300, 200, 0, 150);
    stray.move();
    stray.draw(screen.surface);
    EXPECT_EQ(0, stray.active);
}

TEST_F(ShotTest, FiringSplashingAndHittingPlayOnTheirChannels)
{
    ASSERT_TRUE(open_audio());
    TempDir dir;
    WeaponDef& w = weapon(0, 0, 3);
    Mix_Chunk** sounds[] = {&w.fire_sound, &w.water_sound, &w.hit_sound};
    for (Mix_Chunk** sound : sounds) {
        write_wav("sound.wav", 50000);
        *sound = Mix_LoadWAV("sound.wav");
    }
    Shot& shell = launched(0, 100, 100, 0, 0);
    EXPECT_EQ(w.fire_sound, Mix_GetChunk(CHANNEL_SHOT));
    shell.move();
    shell.draw(screen.surface);
    EXPECT_EQ(w.water_sound, Mix_GetChunk(CHANNEL_SHOT));
    creature_at(3, 200, 200);
    landed_at(1, 0, 200, 200);
    resolve_hits(submarine);
    EXPECT_EQ(w.hit_sound, Mix_GetChunk(CHANNEL_HIT));
}
