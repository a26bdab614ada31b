#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <string.h>

#include "bonus.h"
#include "game_state.h"
#include "gun.h"
#include "menu.h"
#include "random.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// The submarine's centre at (320, 240), weapon 0 a gun weapon of reach 1000
// that does not heat, the pointer on the submarine.
class GunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        settings.chlazeni = 2;
        capture([] { free_weapons(); });
        weapon_catalogue.count = 1;
        gun(0).dostrel = 1000;
        memset(&submarine, 0, sizeof submarine);
        submarine.exact_x = 320.0f;
        submarine.exact_y = 240.0f;
        submarine.x = 320;
        submarine.y = 240;
        point(320, 240);
    }
    WeaponDef& gun(int index)
    {
        WeaponDef& w = weapon_catalogue.weapons[index];
        w.rychlost_vystreleni = 5;
        w.maximalni_rychlost = 5;
        return w;
    }
    void point(int x, int y)
    {
        game.mouse_x = x;
        game.mouse_y = y;
    }
    // The aim angle of a click at the pointer.
    int aim()
    {
        int angle = -1000;
        EXPECT_EQ(1, gun_fire_request(submarine, 1, &angle));
        return angle;
    }
    // A click at the pointer in frame f; returns the number of shells launched.
    int click(int f)
    {
        game.frame = f;
        int before = flying();
        int angle = 0;
        if (gun_fire_request(submarine, 1, &angle)) gun_volley(submarine, angle, 1);
        return flying() - before;
    }
    int flying()
    {
        int n = 0;
        for (const Shot& shot : shot_pool.slots) n += shot.active;
        return n;
    }
    void types(std::initializer_list<int> list)
    {
        int i = 0;
        for (int typ : list) weapon_catalogue.weapons[i++].typ = typ;
        weapon_catalogue.count = i;
    }
    void switch_in_frame(int f)
    {
        game.frame = f;
        gun_switch_weapon(submarine, 1);
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// Aim and reach

// The aim in whole degrees, 0 right and 90 down, measured on the unflattened
// sea: 62.3 pixels on the screen are 100 on the sea. Above and to the right
// it is a negative angle.
TEST_F(GunTest, AimPointsAtThePointerOnTheUnflattenedSea)
{
    const struct {
        float sub_y;
        int x, y, angle;
    } cases[] = {
        {240.0f, 420, 240, 0},   {240.0f, 220, 240, 180}, {240.0f, 320, 340, 90},
        {240.0f, 320, 140, 270}, {239.7f, 420, 302, 45},  {302.3f, 220, 240, 225},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        submarine.exact_y = c.sub_y;
        point(c.x, c.y);
        EXPECT_EQ(c.angle, aim());
    }
    submarine.exact_y = 240.0f;
    point(420, 178);  // about 100 right and 100 up on the sea
    int angle = aim();
    EXPECT_LT(angle, 0);
    EXPECT_GT(angle, -90);
}

TEST_F(GunTest, PointerMustLieStrictlyWithinTheReach)
{
    gun(0).dostrel = 200;
    point(519, 240);
    EXPECT_EQ(1, click(0));
    point(520, 240);
    EXPECT_EQ(0, click(1000));
    EXPECT_EQ(200, submarine.aim_distance);  // left as measured
    bonus_effects.dostrel = 10;
    point(529, 240);
    EXPECT_EQ(1, click(2000));
    // Vertical offsets count 1 / 0.623 times: 100 up is 160 on the sea.
    bonus_effects.dostrel = 0;
    gun(0).dostrel = 161;
    point(320, 140);
    EXPECT_EQ(1, click(3000));
    gun(0).dostrel = 160;
    EXPECT_EQ(0, click(4000));
}

TEST_F(GunTest, ClickBeyondReachFiresNothingAndChargesNothing)
{
    gun(0).dostrel = 100;
    gun(0).zahrivani = 10;
    point(500, 240);
    EXPECT_EQ((std::vector<long long>{0, 0, 0, 180}),
              (std::vector<long long>{click(0), GunHeat, submarine.next_fire[0], submarine.aim_distance}));
}

TEST_F(GunTest, NoClickMeasuresNothing)
{
    point(400, 240);
    int angle = 7;
    EXPECT_EQ(0, gun_fire_request(submarine, 0, &angle));
    EXPECT_EQ(0, submarine.aim_distance);
}

// ---------------------------------------------------------------------------
// Volleys

TEST_F(GunTest, ShellIsLaunchedAtTheAimWithTheArcOfItsDistance)
{
    point(420, 240);
    EXPECT_EQ(1, click(0));
    const Shot& shell = shot_pool.slots[0];
    EXPECT_EQ((std::vector<long long>{0, 100, -100, 0, -1, 0, 0, -100, 0}),
              (std::vector<long long>{shell.angle, shell.arc_divisor, shell.arc_linear, shell.arc_constant,
                                      shell.owner, shell.weapon, submarine.aim_distance, submarine.shot_param_a,
                                      submarine.shot_param_b}));
}

TEST_F(GunTest, HeatStopsTheVolleyAtTheLimitAndCoolingTakesItBack)
{
    gun(0).zahrivani = 10;
    gun(0).pocet_strel_na_vystrel = 3;
    GunHeat = 75;
    point(420, 240);
    // 85 and 95 fire; the third shell brings the gun to 100 and is refused.
    EXPECT_EQ((std::vector<long long>{2, 100, 1, 0}),
              (std::vector<long long>{click(0), GunHeat, shot_pool.slots[1].active, shot_pool.slots[2].active}));
    cool_gun();
    EXPECT_EQ(98, GunHeat);
    // 98 + 10 is held at 100: a hot gun fires nothing.
    EXPECT_EQ(0, click(100));
    EXPECT_EQ(100, GunHeat);
    // Cooling stops at zero.
    GunHeat = 1;
    cool_gun();
    EXPECT_EQ(0, GunHeat);
    cool_gun();
    EXPECT_EQ(0, GunHeat);
}

TEST_F(GunTest, BonusShellsJoinTheVolleyAndTheScanGoesOnFromTheLastSlot)
{
    gun(0).pocet_strel_na_vystrel = 2;
    bonus_effects.pocet_strel = 1;
    shot_pool.slots[0].active = 1;
    shot_pool.slots[2].active = 1;
    point(420, 240);
    EXPECT_EQ((std::vector<long long>{3, 1, 1, 1, 0}),
              (std::vector<long long>{click(0), shot_pool.slots[1].active, shot_pool.slots[3].active,
                                      shot_pool.slots[4].active, shot_pool.slots[5].active}));
}

TEST_F(GunTest, FullPoolTakesNoShellButTheHeatAndDelayAreCharged)
{
    gun(0).pocet_strel_na_vystrel = 2;
    gun(0).zahrivani = 7;
    gun(0).prodleva = 5;
    for (Shot& shot : shot_pool.slots) shot.active = 1;
    ShotPool before = shot_pool;
    point(420, 240);
    EXPECT_EQ((std::vector<long long>{0, 0, 14, 55}),
              (std::vector<long long>{click(50), memcmp(&before, &shot_pool, sizeof before), GunHeat,
                                      submarine.next_fire[0]}));
}

TEST_F(GunTest, EachWeaponWaitsItsOwnDelay)
{
    types({0, 0});
    gun(0).prodleva = 10;
    gun(1).dostrel = 1000;
    gun(1).prodleva = 3;
    point(420, 240);
    EXPECT_EQ(1, click(100));
    for (int f = 101; f <= 109; f++) EXPECT_EQ(0, click(f)) << f;
    // The other weapon is not held up by the first one's delay.
    submarine.weapon = 1;
    EXPECT_EQ(1, click(105));
    submarine.weapon = 0;
    EXPECT_EQ(1, click(110));
    // A bonus delay adds to the weapon's.
    bonus_effects.prodleva = -4;
    click(200);
    EXPECT_EQ(206, submarine.next_fire[0]);
}

TEST_F(GunTest, HugeVolleyEndsWithinThePool)
{
    gun(0).pocet_strel_na_vystrel = 2000000000;
    point(420, 240);
    EXPECT_EQ(SHOT_CAPACITY, click(0));
}

// ---------------------------------------------------------------------------
// Switching

TEST_F(GunTest, TabStepsThroughTheGunWeaponsOnceEvery24Frames)
{
    types({0, 1, 0, 2});
    switch_in_frame(23);
    EXPECT_EQ(0, submarine.weapon);
    switch_in_frame(24);
    EXPECT_EQ(2, submarine.weapon);
    for (int f = 25; f < 48; f++) switch_in_frame(f);
    EXPECT_EQ(2, submarine.weapon);
    switch_in_frame(48);
    EXPECT_EQ(0, submarine.weapon);
    // Without the key nothing changes.
    game.frame = 200;
    gun_switch_weapon(submarine, 0);
    EXPECT_EQ(0, submarine.weapon);
}

TEST_F(GunTest, OneGunWeaponIsFoundFromAnyWeapon)
{
    types({1, 2, 1, 0, 2});
    for (int from = 0; from < 5; from++) {
        submarine.weapon = from;
        submarine.weapon_switch_frame = 0;
        switch_in_frame(24);
        EXPECT_EQ(3, submarine.weapon) << from;
    }
}

TEST_F(GunTest, CatalogueWithoutAGunWeaponKeepsTheWeapon)
{
    types({1, 2});
    submarine.weapon = 1;
    switch_in_frame(24);
    EXPECT_EQ(1, submarine.weapon);
    EXPECT_EQ(24, submarine.weapon_switch_frame);
    weapon_catalogue.count = 0;
    switch_in_frame(48);
    EXPECT_EQ(1, submarine.weapon);
}

// ---------------------------------------------------------------------------
// Within the submarine step

TEST_F(GunTest, AimIsTakenBeforeTheMoveAndTheShellLeavesFromAfterIt)
{
    submarine.init(100, 320, 240, 0, 5, 8, 0, 0, 10, 0);
    submarine.exact_x = 420.0f;
    submarine.exact_y = 240.0f;
    orbit_speed = 0.0f;
    gun(0).zrychleni = 0.6f;
    gun(0).maximalni_rychlost = 12;
    point(420, 340);  // 100 pixels straight below: 160 on the sea
    game.frame = 0;
    submarine.step(0, 0, 1, 0, 1);
    const Shot& shell = shot_pool.slots[0];
    ASSERT_EQ(1, shell.active);
    EXPECT_EQ(90, shell.angle);
    EXPECT_EQ(160, shell.arc_divisor);
    EXPECT_EQ(submarine.x, shell.start_x);
    EXPECT_EQ(submarine.y, shell.start_y);
    EXPECT_EQ(419, shell.start_x);  // the drift moved it 0.1 degrees on
    // The shell comes down within two of its steps (12 pixels at most)
    // past the pointer.
    while (shot_pool.slots[0].active) shot_pool.slots[0].move();
    EXPECT_NEAR(420, shot_pool.slots[0].x, 2);
    EXPECT_GE(shot_pool.slots[0].y, 340);
    EXPECT_LE(shot_pool.slots[0].y, 340 + 24);
}

// ---------------------------------------------------------------------------
// Overheat warning

namespace {

class OverheatWarning : public GunTest {
protected:
    void SetUp() override
    {
        GunTest::SetUp();
        ASSERT_TRUE(open_audio());
        write_wav("warning.wav", 100000);
        write_wav("other.wav", 100000);
        warning = Mix_LoadWAV("warning.wav");
        other = Mix_LoadWAV("other.wav");
        menu_script.overheat_sound = warning;
    }
    void TearDown() override
    {
        Mix_HaltChannel(-1);
        menu_script.overheat_sound = NULL;
        Mix_FreeChunk(warning);
        Mix_FreeChunk(other);
        close_audio();
    }
    TempDir dir;
    Mix_Chunk* warning = nullptr;
    Mix_Chunk* other = nullptr;
};

}  // namespace

TEST_F(OverheatWarning, SoundsAboveEightyPerCentOfTheLimit)
{
    GunHeat = 80;
    cool_gun();
    EXPECT_EQ(0, Mix_Playing(4));
    GunHeat = 81;
    cool_gun();
    EXPECT_EQ(1, Mix_Playing(4));
    EXPECT_EQ(warning, Mix_GetChunk(4));
    EXPECT_EQ(79, GunHeat);
}

TEST_F(OverheatWarning, WaitsWhileItsChannelIsBusy)
{
    Mix_PlayChannel(4, other, 0);
    GunHeat = 95;
    cool_gun();
    EXPECT_EQ(other, Mix_GetChunk(4));
}

TEST_F(OverheatWarning, SilentWithSoundOff)
{
    settings.sound = 0;
    GunHeat = 95;
    cool_gun();
    EXPECT_EQ(0, Mix_Playing(4));
}
