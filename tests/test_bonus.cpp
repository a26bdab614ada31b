#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <string.h>

#include <string>
#include <vector>

#include "bonus.h"
#include "game_state.h"
#include "random.h"
#include "settings.h"
#include "support.h"
#include "weapons.h"

namespace {

const char* SCRIPT_PATH = "SCRIPT/L1/bonusy.scr";

Captured load(const std::string& text)
{
    return load_script(SCRIPT_PATH, text, load_bonuses);
}

const std::string TWO_TYPES = "create_sound SFX/NULL.wav\n"
                              "*DOSAH bitmap GFX/blue.bmp pouzivani 100 dostrel 50 sance 0.25\n"
                              "*PALBA bitmap GFX/red.bmp pouzivani 40 rychlost 4 prodleva -4 pocet_strel 2 rozptyl 10\n"
                              "  rychlost_lodi 1 zivoty 3 sance 0.5\n"
                              "[END]\n";

// Bonus pictures are 20 x 26 squares of one colour with a black, transparent
// top-left pixel; shells 8 pixels high.
class BonusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        settings.zivot_bonusu = 250;
        capture([] {
            free_weapons();
            free_bonuses();
        });
        for (BonusType& type : bonus_catalogue.types) type.sance = 0.0f;
        bonus_catalogue.count = 0;
        memset(bonuses, 0, sizeof bonuses);
        write_solid_bmp("GFX/shell.bmp", 8, 8, 255, 255, 255);
        write_solid_bmp("GFX/blue.bmp", 20, 26, 0, 0, 255);
        write_solid_bmp("GFX/red.bmp", 20, 26, 255, 0, 0);
    }
    void TearDown() override
    {
        capture([] {
            free_weapons();
            free_bonuses();
        });
    }
    // Weapon 0 a shell with `tolerance`, 1 a bomb, 2 a runner, all with
    // 8-pixel shots.
    void weapons(int tolerance)
    {
        write_file("SCRIPT/L1/weapons.scr",
                   "*S strela GFX/shell.bmp typ 0 tolerance " + std::to_string(tolerance) +
                       " *B strela GFX/shell.bmp typ 1 *R strela GFX/shell.bmp typ 2\n");
        capture([] { load_weapons("SCRIPT/L1/weapons.scr"); });
    }
    // The weapons with no tolerance and the two bonus types, these bonuses
    // (x, y, type) dropped in frame 0, and frame 1 begun.
    void bonuses_to_shoot(std::initializer_list<std::vector<int>> drops)
    {
        weapons(0);
        load(TWO_TYPES);
        for (const std::vector<int>& drop : drops) drop_bonus(drop[0], drop[1], drop[2]);
        game.frame = 1;
    }
    // An ended shot of weapon w at (x, y), as the hit resolution sees it.
    // The frame's work on the bonuses as the game loop does it: the sums
    // first, the bonuses' drawing after the hits.
    void frame_at(int frame)
    {
        game.frame = frame;
        sum_bonus_effects();
        for (Bonus& slot : bonuses) slot.draw(screen.surface);
    }
    TempDir dir;
    TestScreen screen;
};


}  // namespace

// ---------------------------------------------------------------------------
// The file

TEST_F(BonusTest, TypesCountUpToTheEndMarkerAndTheLoaderSaysHowMany)
{
    Captured log = load(TWO_TYPES + "*LATE bitmap GFX/blue.bmp dostrel 7\n");
    EXPECT_EQ("SKRIPT : SCRIPT/L1/bonusy.scr : Nahrany 2 polozky\n", log.out);
    EXPECT_EQ("", log.err);
    EXPECT_EQ(2, bonus_catalogue.count);
    const BonusType& reach = bonus_catalogue.types[0];
    const BonusType& fire = bonus_catalogue.types[1];
    ASSERT_NE(nullptr, reach.bitmap);
    EXPECT_EQ(26, reach.bitmap->h);
    EXPECT_EQ(100, reach.pouzivani);
    EXPECT_EQ(50, reach.dostrel);
    EXPECT_EQ(0.25f, reach.sance);
    EXPECT_EQ((std::vector<long long>{40, 4, -4, 2, 10, 1, 3}),
              (std::vector<long long>{fire.pouzivani, fire.rychlost, fire.prodleva, fire.pocet_strel, fire.rozptyl,
                                      fire.rychlost_lodi, fire.zivoty}));
    EXPECT_EQ(0.5f, fire.sance);
    // A type after the end marker is read but not counted.
    EXPECT_EQ(7, bonus_catalogue.types[2].dostrel);
}

TEST_F(BonusTest, ShipSpeedDoesNotSetShotSpeedInEitherOrder)
{
    load("*A rychlost_lodi 2 rychlost 5 *B rychlost 5 rychlost_lodi 2 [END]");
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ(2, bonus_catalogue.types[i].rychlost_lodi) << i;
        EXPECT_EQ(5, bonus_catalogue.types[i].rychlost) << i;
    }
}

TEST_F(BonusTest, NoEndMarkerMeansNoBonusAndNoRandomDraws)
{
    Captured log = load("*A dostrel 5 sance 0.0\n");
    EXPECT_EQ("SKRIPT : SCRIPT/L1/bonusy.scr : Nahrany 0 polozky\n", log.out);
    EXPECT_EQ(0, bonus_catalogue.count);
    EXPECT_EQ(-1, choose_creature_bonus());
    EXPECT_EQ(41, random_value());  // the generator's first value: nothing was drawn
}

TEST_F(BonusTest, MissingFileIsReportedAndLeavesNoTypes)
{
    load(TWO_TYPES);
    bonuses[3].active = 1;
    Captured log = capture([] { load_bonuses("SCRIPT/L2/bonusy.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/L2/bonusy.scr\n", log.err);
    EXPECT_EQ("", log.out);
    EXPECT_EQ(0, bonus_catalogue.count);
    EXPECT_EQ(0, bonuses[3].active);
    EXPECT_EQ(nullptr, bonus_catalogue.types[0].bitmap);
}

TEST_F(BonusTest, KeysWithoutATypeAndTypesBeyondTheTableTouchNothing)
{
    std::string text = "dostrel 99 bitmap GFX/blue.bmp ";
    for (int i = 0; i < 23; i++) text += "*T" + std::to_string(i) + " pouzivani " + std::to_string(i + 1) + " ";
    Captured log = load(text + "[END]");
    EXPECT_EQ("SKRIPT : SCRIPT/L1/bonusy.scr : Nahrany 20 polozky\n", log.out);
    EXPECT_EQ(20, bonus_catalogue.count);
    EXPECT_EQ(0, bonus_catalogue.types[0].dostrel);
    EXPECT_EQ(nullptr, bonus_catalogue.types[0].bitmap);
    EXPECT_EQ(1, bonus_catalogue.types[0].pouzivani);
    EXPECT_EQ(20, bonus_catalogue.types[19].pouzivani);
}

TEST_F(BonusTest, ReleaseFreesPicturesKeepsTheChanceAndSaysSo)
{
    load(TWO_TYPES);
    Captured log = capture([] { free_bonuses(); });
    EXPECT_EQ("UVOLNEN SKRIPT BONUSU Z PAMETI\n", log.out);
    EXPECT_EQ(nullptr, bonus_catalogue.types[0].bitmap);
    EXPECT_EQ(0, bonus_catalogue.types[0].dostrel);
    EXPECT_EQ(0, bonus_catalogue.types[1].pouzivani);
    EXPECT_EQ(0.25f, bonus_catalogue.types[0].sance);
    EXPECT_EQ(2, bonus_catalogue.count);
}

// ---------------------------------------------------------------------------
// The drop decision, from the generator's start: 41, 18467, 6334, 26500,
// 19169, 15724, 11478, 29358, ...

TEST_F(BonusTest, DropDecisionDrawsATypeThenAGateThenTheChance)
{
    load("*A sance 0.4 *B sance 0.4 *C sance 0.4 [END]");
    // 41 picks type 2; 18467 mod 1000 = 467 is not above 500: no bonus.
    EXPECT_EQ(-1, choose_creature_bonus());
    // 6334 picks type 1; 26500 mod 1000 = 500 is not above 500 either.
    EXPECT_EQ(-1, choose_creature_bonus());
    // 19169 picks type 2; 724 passes; 400 < 11478 mod 1000 = 478: type 2.
    EXPECT_EQ(2, choose_creature_bonus());
    EXPECT_EQ(29358, random_value());

    random_reset();
    bonus_catalogue.types[2].sance = 0.5f;  // 500 is not below 478
    choose_creature_bonus();
    choose_creature_bonus();
    EXPECT_EQ(-1, choose_creature_bonus());
    EXPECT_EQ(29358, random_value());
}

TEST_F(BonusTest, ChanceValueZeroDropsAboutHalfAndOneDropsNone)
{
    load("*A sance 0.0 [END]");
    int carriers = 0;
    for (int i = 0; i < 1000; i++) carriers += choose_creature_bonus() == 0;
    EXPECT_GT(carriers, 450);
    EXPECT_LT(carriers, 550);

    bonus_catalogue.types[0].sance = 1.0f;
    carriers = 0;
    for (int i = 0; i < 1000; i++) carriers += choose_creature_bonus() != -1;
    EXPECT_EQ(0, carriers);
}

// ---------------------------------------------------------------------------
// Floating

TEST_F(BonusTest, DropFloatsUntilItsLifetimeIsUpCentredOnItsPlace)
{
    load(TWO_TYPES);
    game.frame = 100;
    drop_bonus(200, 150, 0);
    EXPECT_EQ(350, bonuses[0].expiry);
    Uint32 blue = map_colour(screen.surface, 0, 0, 255);
    frame_at(349);
    // 20 x 26 centred on (200, 150): columns 190 ... 209, rows 137 ... 162.
    EXPECT_EQ(blue, pixel_at(screen.surface, 190, 138));
    EXPECT_EQ(blue, pixel_at(screen.surface, 209, 162));
    EXPECT_EQ(0u, pixel_at(screen.surface, 190, 137));  // the transparent corner
    EXPECT_EQ(0u, pixel_at(screen.surface, 210, 150));
    EXPECT_EQ(0u, pixel_at(screen.surface, 200, 163));
    SDL_FillRect(screen.surface, NULL, 0);
    frame_at(350);
    EXPECT_EQ(0, bonuses[0].active);
    EXPECT_EQ(0u, pixel_at(screen.surface, 200, 150));
}

TEST_F(BonusTest, SevenFloatAtMostAndAnEighthIsLostWithoutItsSound)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/bonus.wav", 50000);
    load("create_sound SFX/bonus.wav *A bitmap GFX/blue.bmp [END]");
    ASSERT_NE(nullptr, bonus_catalogue.create_sound);
    for (int i = 0; i < 7; i++) drop_bonus(10 * i, 10, 0);
    EXPECT_EQ(bonus_catalogue.create_sound, Mix_GetChunk(4));
    EXPECT_EQ(1, Mix_Playing(4));
    Mix_HaltChannel(4);
    drop_bonus(500, 10, 0);
    EXPECT_EQ(0, Mix_Playing(4));
    for (int i = 0; i < 7; i++) EXPECT_EQ(10 * i, bonuses[i].x);
    capture([] { free_bonuses(); });
    EXPECT_EQ(nullptr, bonus_catalogue.create_sound);
    Mix_CloseAudio();
}

TEST_F(BonusTest, TypeNumbersOutsideTheTableAreNeverPlaced)
{
    load(TWO_TYPES);
    drop_bonus(10, 10, -1);
    drop_bonus(10, 10, BONUS_TYPE_CAPACITY);
    for (const Bonus& slot : bonuses) EXPECT_EQ(0, slot.active);
}

// ---------------------------------------------------------------------------
// Collection

// A bonus dropped in frame 10 at (300, 200) and an ended shot near it: a
// shell collects within the bonus's height, half its shot and its tolerance
// (26 + 8 / 2 + 3 = 33 pixels), not in the frame the bonus appears; bombs
// and runners collect nothing.
TEST_F(BonusTest, ShellsCollectWithinTheBonusHeightHalfTheirShotAndTheirTolerance)
{
    const struct {
        int weapon, tolerance, dx, dy, frame, collected;
    } cases[] = {
        {0, 3, 0, 34, 11, 0}, {0, 3, 33, 0, 11, 1}, {1, 0, 0, 0, 11, 0},
        {2, 0, 0, 0, 11, 0},  {0, 0, 0, 0, 10, 0},  {0, 0, 0, 0, 11, 1},
    };
    load(TWO_TYPES);
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        capture([] { free_weapons(); });
        weapons(c.tolerance);
        memset(bonuses, 0, sizeof bonuses);
        game.frame = 10;
        drop_bonus(300, 200, 0);
        game.frame = c.frame;
        collect_bonuses(300 + c.dx, 200 + c.dy, c.weapon);
        EXPECT_EQ(c.collected, bonuses[0].collected);
        EXPECT_EQ(c.collected ? 11 + 100 : 10 + 250, bonuses[0].expiry);
    }
}

TEST_F(BonusTest, OneShellCollectsEveryBonusInItsReach)
{
    bonuses_to_shoot({{300, 200, 0}, {310, 200, 1}, {400, 200, 1}});
    collect_bonuses(305, 200, 0);
    EXPECT_EQ(1, bonuses[0].collected);
    EXPECT_EQ(1, bonuses[1].collected);
    EXPECT_EQ(0, bonuses[2].collected);
    EXPECT_EQ(1 + 40, bonuses[1].expiry);
}

// ---------------------------------------------------------------------------
// Effects

TEST_F(BonusTest, EffectsActFromTheFrameAfterCollectionToTheFrameTheyEnd)
{
    weapons(0);
    load(TWO_TYPES);
    game.frame = 150;
    drop_bonus(300, 200, 0);
    frame_at(200);
    collect_bonuses(300, 200, 0);  // collected in frame 200, after its sums
    EXPECT_EQ(0, bonus_effects.dostrel);
    ASSERT_EQ(300, bonuses[0].expiry);
    SDL_FillRect(screen.surface, NULL, 0);
    frame_at(201);
    EXPECT_EQ(50, bonus_effects.dostrel);
    // Collected bonuses are shown on the panel only, not on the water.
    EXPECT_EQ(0u, pixel_at(screen.surface, 300, 200));
    for (int f = 202; f < 300; f++) frame_at(f);
    frame_at(300);
    EXPECT_EQ(50, bonus_effects.dostrel);
    EXPECT_EQ(0, bonuses[0].active);
    frame_at(301);
    EXPECT_EQ(0, bonus_effects.dostrel);
}

TEST_F(BonusTest, TwoBonusesOfOneKindAddUp)
{
    bonuses_to_shoot({{100, 100, 0}, {400, 300, 0}, {200, 200, 1}});
    collect_bonuses(100, 100, 0);
    collect_bonuses(400, 300, 0);
    sum_bonus_effects();
    EXPECT_EQ(100, bonus_effects.dostrel);
    EXPECT_EQ(0, bonus_effects.rychlost);  // the third floats uncollected
    collect_bonuses(200, 200, 0);
    sum_bonus_effects();
    EXPECT_EQ((std::vector<long long>{100, 4, -4, 2, 10, 1, 3}),
              (std::vector<long long>{bonus_effects.dostrel, bonus_effects.rychlost, bonus_effects.prodleva,
                                      bonus_effects.pocet_strel, bonus_effects.rozptyl, bonus_effects.rychlost_lodi,
                                      bonus_effects.zivoty}));
}

TEST_F(BonusTest, LoadingALevelEmptiesTheSlotsAndTheSums)
{
    load(TWO_TYPES);
    drop_bonus(100, 100, 0);
    bonuses[0].collected = 1;
    bonus_effects.dostrel = 50;
    load(TWO_TYPES);
    EXPECT_EQ(0, bonuses[0].active);
    EXPECT_EQ(0, bonuses[0].collected);
    EXPECT_EQ(0, bonus_effects.dostrel);
}

// ---------------------------------------------------------------------------
// The game's own data set

TEST(BonusDataSet, EveryLevelHasBonusesThatDoSomethingAndShow)
{
    TempDir dir;
    ASSERT_TRUE(copy_data_set());
    for (const char* level : {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4"}) {
        SCOPED_TRACE(level);
        std::string path = std::string("SCRIPT/") + level + "/bonusy.scr";
        Captured log = capture([&] { load_bonuses(path.c_str()); });
        EXPECT_EQ("", log.err);
        ASSERT_GE(bonus_catalogue.count, 3);
        for (int i = 0; i < bonus_catalogue.count; i++) {
            const BonusType& type = bonus_catalogue.types[i];
            EXPECT_NE(nullptr, type.bitmap) << i;
            EXPECT_GT(type.pouzivani, 0) << i;
            EXPECT_LT(type.sance, 1.0f) << i;
        }
        // Some creature of a level's first hundred carries a bonus.
        random_reset();
        int carriers = 0;
        for (int i = 0; i < 100; i++) carriers += choose_creature_bonus() != -1;
        EXPECT_GT(carriers, 5);
        capture([] { free_bonuses(); });
    }
}
