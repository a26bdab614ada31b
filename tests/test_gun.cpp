#include <SDL/SDL_mixer.h>
#include <string.h>

#include <vector>

#include "bonus.h"
#include "game_state.h"
#include "gun.h"
#include "sounds.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// The submarine at (320, 240); weapons 0 and 1 gun weapons of reach 1000.
class GunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        settings.chlazeni = 2;
        capture([] { free_weapons(); });
        weapon_catalogue.count = 2;
        for (int i = 0; i < 2; i++) {
            gun(i).rychlost_vystreleni = gun(i).maximalni_rychlost = 5;
            gun(i).dostrel = 1000;
        }
        memset(&submarine, 0, sizeof submarine);
        submarine.exact_x = submarine.x = 320;
        submarine.exact_y = submarine.y = 240;
    }
    WeaponDef& gun(int index) { return weapon_catalogue.weapons[index]; }
    // A click (or none) at (x, y) in frame f; returns the number of shells launched.
    int click(int f, int x = 420, int y = 240, int fire = 1)
    {
        game.frame = f;
        game.mouse_x = x;
        game.mouse_y = y;
        int before = flying(), angle = 0;
        if (gun_fire_request(submarine, fire, &angle)) gun_volley(submarine, angle, 1);
        return flying() - before;
    }
    int flying()
    {
        int n = 0;
        for (const Shot& shot : shot_pool.slots) n += shot.active;
        return n;
    }
};

}  // namespace

// A click fires only strictly within the reach (the bonus's added, vertical
// offsets counting 1 / 0.623 times); a refused one charges nothing.
TEST_F(GunTest, PointerMustLieStrictlyWithinTheReach)
{
    gun(0).zahrivani = 10;
    gun(0).prodleva = 5;
    const struct {
        const char* what;
        int reach, bonus, x, y, fire, shells, distance;
    } cases[] = {{"199 to the right", 200, 0, 519, 240, 1, 1, 0}, {"200 to the right", 200, 0, 520, 240, 1, 0, 200},
                 {"209 to the right, a bonus of 10", 200, 10, 529, 240, 1, 1, 0}, {"no click", 1000, 0, 400, 240, 0, 0, 0},
                 {"100 above, 160.5 on the sea, reach 161", 161, 0, 320, 140, 1, 1, 0},
                 {"100 above, 160.5 on the sea, reach 160", 160, 0, 320, 140, 1, 0, 160}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fresh_shooting();
        submarine.next_fire[0] = submarine.aim_distance = 0;
        gun(0).dostrel = c.reach;
        bonus_effects.dostrel = c.bonus;
        EXPECT_FIELDS({"shells", c.shells, click(100, c.x, c.y, c.fire)}, {"GunHeat", c.shells * 10, GunHeat},
                      {"next_fire", c.shells * 105, submarine.next_fire[0]}, {"aim_distance", c.distance, submarine.aim_distance});
    }
}

// Every shell is charged heat before launch (the one reaching the limit stays in the barrel) and the delay,
// the bonus delay added, even with the pool full; bonus shells join; free slots are taken on from the last
// one; cooling stops at zero; each weapon waits only its own delay.
TEST_F(GunTest, VolleysChargeHeatAndDelayForEveryShell)
{
    gun(0).pocet_strel_na_vystrel = 2;
    gun(0).zahrivani = 10;
    gun(0).prodleva = 5;
    bonus_effects.pocet_strel = 1;
    GunHeat = 75;
    shot_pool.slots[0].active = shot_pool.slots[2].active = 1;
    EXPECT_FIELDS({"shells", 2, click(0)}, {"slot 1 taken", 1, shot_pool.slots[1].active},
                  {"slot 3 taken", 1, shot_pool.slots[3].active}, {"slot 4 taken", 0, shot_pool.slots[4].active},
                  {"GunHeat", 100, GunHeat});
    cool_gun(NULL);
    EXPECT_EQ(98, GunHeat);
    EXPECT_EQ(0, click(100));  // 98 + 10 is held at 100
    GunHeat = 1;
    cool_gun(NULL);
    EXPECT_EQ(0, GunHeat);
    for (Shot& shot : shot_pool.slots) shot.active = 1;
    ShotPool before = shot_pool;
    bonus_effects.prodleva = -1;
    EXPECT_FIELDS({"shells", 0, click(200)}, {"the pool changed", 0, memcmp(&before, &shot_pool, sizeof before) != 0},
                  {"GunHeat", 30, GunHeat}, {"next_fire", 204, submarine.next_fire[0]});
    empty_shot_pool();
    submarine.weapon = 1;  // no more shells than the pool has slots
    gun(1).pocet_strel_na_vystrel = 2000000000;
    int most = click(203);
    empty_shot_pool();
    submarine.weapon = 0;
    EXPECT_EQ(SHOT_CAPACITY, most) << "shells of a volley larger than the pool";
    EXPECT_EQ(0, click(203)) << "shells of weapon 0 in the frame weapon 1 fired";
    EXPECT_EQ(3, click(204)) << "shells of weapon 0 a frame later";
}

// Held Tab steps to the next gun weapon (never a bomb or runner) once every 24 frames.
TEST_F(GunTest, TabStepsThroughTheGunWeaponsOnceEvery24Frames)
{
    const struct {
        const char* what;
        std::vector<int> types, frames;  // the weapons' types; Tab held in these frames
        int from, weapon;
    } cases[] = {{"held too early", {0, 1, 0, 2}, {23}, 0, 0}, {"held on in the next frames", {0, 1, 0, 2}, {24, 25, 47}, 0, 2},
                 {"held again 24 frames later", {0, 1, 0, 2}, {24, 48}, 0, 0}, {"round from the last", {1, 2, 1, 0, 2}, {24}, 4, 3},
                 {"the only gun weapon", {1, 2, 1, 0, 2}, {24}, 3, 3}, {"no gun weapon", {1, 2}, {24}, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (size_t i = 0; i < c.types.size(); i++) gun((int)i).typ = c.types[i];
        weapon_catalogue.count = (int)c.types.size();
        submarine.weapon = c.from;
        submarine.weapon_switch_frame = 0;
        for (int f : c.frames) {
            game.frame = f;
            gun_switch_weapon(submarine, 1);
        }
        gun_switch_weapon(submarine, 0);  // nothing without the key
        EXPECT_EQ(c.weapon, submarine.weapon);
    }
}

// Cooling sounds the warning above 80 % of the limit, with sound on and its channel free.
TEST_F(GunTest, OverheatWarningSoundsAboveEightyPerCentOfTheLimit)
{
    TempDir dir;
    ASSERT_TRUE(open_audio());
    write_wav("w.wav", 100000);
    Mix_Chunk* warning = Mix_LoadWAV("w.wav");
    Mix_Chunk* other = Mix_LoadWAV("w.wav");
    const struct {
        int heat, sound;
        Mix_Chunk *playing, *heard;
    } cases[] = {{80, 1, NULL, NULL}, {81, 1, NULL, warning}, {95, 1, other, other}, {95, 0, NULL, NULL}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "heat " << c.heat << (c.sound ? "" : ", sound off")
                                        << (c.playing ? ", another sound playing" : ""));
        Mix_HaltChannel(-1);
        if (c.playing) Mix_PlayChannel(CHANNEL_ANNOUNCE, c.playing, 0);
        settings.sound = c.sound;
        GunHeat = c.heat;
        cool_gun(warning);
        EXPECT_EQ(c.heard, Mix_Playing(CHANNEL_ANNOUNCE) ? Mix_GetChunk(CHANNEL_ANNOUNCE) : NULL);
    }
    settings.sound = 1;
    Mix_FreeChunk(warning);
    Mix_FreeChunk(other);
    close_audio();
}
