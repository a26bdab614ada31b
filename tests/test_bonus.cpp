#include <SDL/SDL_mixer.h>
#include <string.h>

#include <string>
#include <vector>

#include "bonus.h"
#include "game_state.h"
#include "sounds.h"
#include "random.h"
#include "settings.h"
#include "support.h"
#include "weapons.h"

namespace {

const std::string TWO_TYPES = "*DOSAH bitmap GFX/blue.bmp pouzivani 100 dostrel 50 sance 0.25\n"
                              "*PALBA bitmap GFX/red.bmp pouzivani 40 rychlost 4 prodleva -4 pocet_strel 2 rozptyl 10\n"
                              "  rychlost_lodi 1 zivoty 3 sance 0.5\n"
                              "[END]\n";

std::vector<double> fields(const BonusType& t)
{
    return {(double)t.pouzivani, (double)t.dostrel, (double)t.rychlost, (double)t.pocet_strel, (double)t.rozptyl,
            (double)t.rychlost_lodi, (double)t.zivoty, (double)t.prodleva, t.sance, (double)(t.bitmap != NULL)};
}

std::vector<long long> effects()
{
    const BonusEffects& e = bonus_effects;
    return {e.dostrel, e.rychlost, e.prodleva, e.pocet_strel, e.rozptyl, e.rychlost_lodi, e.zivoty};
}

// Bonus pictures 20 x 26, top-left pixel transparent, float 250 frames; weapons: shell, bomb, runner (8-pixel shots).
class BonusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fresh_shooting();
        settings.zivot_bonusu = 250;
        reset_bonuses();
        write_solid_bmp("GFX/shell.bmp", 8, 8, 255, 255, 255);
        write_solid_bmp("GFX/blue.bmp", 20, 26, 0, 0, 255);
        write_solid_bmp("GFX/red.bmp", 20, 26, 255, 0, 0);
        weapons(0);
    }
    void TearDown() override
    {
        capture([] { free_weapons(); });
        reset_bonuses();
    }
    Captured load(const std::string& text) { return load_script("SCRIPT/L1/bonusy.scr", text, load_bonuses); }
    void weapons(int tolerance)
    {
        capture([] { free_weapons(); });
        load_script("weapons.scr", "*S strela GFX/shell.bmp typ 0 tolerance " + std::to_string(tolerance) +
                                       " *B strela GFX/shell.bmp typ 1 *R strela GFX/shell.bmp typ 2\n", load_weapons);
    }
    // The game loop sums the effects first and draws the bonuses after the hits.
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

// Types count up to the end marker, keys before the first go nowhere, and the
// ship's speed does not set the shots'.
TEST_F(BonusTest, TypesCountUpToTheEndMarkerAndTheLoaderSaysHowMany)
{
    Captured log = load("zivoty 99 " + TWO_TYPES + "*LATE bitmap GFX/blue.bmp dostrel 7\n");
    EXPECT_EQ("SKRIPT : SCRIPT/L1/bonusy.scr : Nahrany 2 polozky\n", log.out);
    EXPECT_EQ("", log.err);
    const BonusType* types = bonus_catalogue.types;
    ASSERT_NE(nullptr, types[0].bitmap);
    EXPECT_EQ((std::vector<int>{2, 7}), (std::vector<int>{bonus_catalogue.count, types[2].dostrel}));
    EXPECT_EQ((std::vector<double>{100, 50, 0, 0, 0, 0, 0, 0, 0.25, 1}), fields(types[0]));
    EXPECT_EQ((std::vector<double>{40, 0, 4, 2, 10, 1, 3, -4, 0.5, 1}), fields(types[1]));
}

// Loading a level, even from a missing file, empties the slots and the sums;
// the release keeps only the types' chance values and the count.
TEST_F(BonusTest, LoadingAndReleaseEmptyTheSlotsTheSumsAndThePictures)
{
    load(TWO_TYPES);
    drop_bonus(100, 100, 0);
    bonuses[0].collected = 1;
    bonus_effects.dostrel = 50;
    Captured log = capture([] { load_bonuses("SCRIPT/L2/bonusy.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/L2/bonusy.scr\n", log.err);
    EXPECT_EQ((std::vector<long long>{0, 0, 0, 0, 0, 0, -1, 41}),  // without types no bonus is drawn
              (std::vector<long long>{(long long)log.out.size(), bonus_catalogue.count, bonuses[0].active,
                                      bonuses[0].collected, bonus_effects.dostrel,
                                      bonus_catalogue.types[0].bitmap != NULL, choose_creature_bonus(),
                                      random_value()}));
    load(TWO_TYPES);
    log = capture([] { free_bonuses(); });
    EXPECT_EQ("UVOLNEN SKRIPT BONUSU Z PAMETI\n", log.out);
    EXPECT_EQ((std::vector<double>{0, 0, 0, 0, 0, 0, 0, 0, 0.25, 0}), fields(bonus_catalogue.types[0]));
    EXPECT_EQ(2, bonus_catalogue.count);
}

// A drop, announced, floats centred on its place until its time is up; seven
// at most, an eighth is lost unheard.
TEST_F(BonusTest, DropFloatsUntilItsLifetimeIsUpCentredOnItsPlace)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/bonus.wav", 50000);
    load("create_sound SFX/bonus.wav " + TWO_TYPES);
    ASSERT_NE(nullptr, bonus_catalogue.create_sound);
    game.frame = 100;
    drop_bonus(200, 150, 0);
    EXPECT_EQ(bonus_catalogue.create_sound, Mix_Playing(CHANNEL_ANNOUNCE) ? Mix_GetChunk(CHANNEL_ANNOUNCE) : NULL);
    frame_at(349);
    // 20 x 26 centred on (200, 150): columns 190 ... 209, rows 137 ... 162.
    SDL_Surface* s = screen.surface;
    Uint32 blue = map_colour(s, 0, 0, 255);
    EXPECT_EQ((std::vector<Uint32>{blue, blue, 0, 0, 0}),
              (std::vector<Uint32>{pixel_at(s, 190, 138), pixel_at(s, 209, 162), pixel_at(s, 190, 137),
                                   pixel_at(s, 210, 150), pixel_at(s, 200, 163)}));
    frame_at(350);
    EXPECT_EQ(0, bonuses[0].active);
    for (int i = 0; i < 8; i++) {
        Mix_HaltChannel(CHANNEL_ANNOUNCE);
        drop_bonus(10 * i, 10, 1);
    }
    EXPECT_EQ((std::vector<int>{0, 60, 1}), (std::vector<int>{Mix_Playing(CHANNEL_ANNOUNCE), bonuses[6].x,
                                                               bonuses[6].type}));
    capture([] { free_bonuses(); });
    EXPECT_EQ(nullptr, bonus_catalogue.create_sound);
    close_audio();
}

// Only shells collect, within the bonus's height, half their shot and their
// tolerance (26 + 4 + 3 = 33), not in the frame the bonus appears (10).
TEST_F(BonusTest, ShellsCollectWithinTheBonusHeightHalfTheirShotAndTheirTolerance)
{
    const struct {
        int weapon, tolerance, dx, dy, frame, collected;
    } cases[] = {{0, 3, 0, 34, 11, 0}, {0, 3, 33, 0, 11, 1}, {1, 0, 0, 0, 11, 0},
                 {2, 0, 0, 0, 11, 0},  {0, 0, 0, 0, 10, 0},  {0, 0, 0, 0, 11, 1}};
    load(TWO_TYPES);
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        weapons(c.tolerance);
        memset(bonuses, 0, sizeof bonuses);
        game.frame = 10;
        drop_bonus(300, 200, 0);
        game.frame = c.frame;
        collect_bonuses(300 + c.dx, 200 + c.dy, c.weapon);
        EXPECT_EQ((std::vector<int>{c.collected, c.collected ? 11 + 100 : 10 + 250}),
                  (std::vector<int>{bonuses[0].collected, bonuses[0].expiry}));
    }
}

// One shell collects every bonus in reach; effects add up and act from the
// frame after collection to the frame they end; collected ones leave the water.
TEST_F(BonusTest, EffectsActFromTheFrameAfterCollectionToTheFrameTheyEnd)
{
    load(TWO_TYPES);
    game.frame = 150;
    for (const std::vector<int>& drop : {std::vector<int>{300, 200, 0}, {310, 200, 1}, {100, 100, 0}, {400, 200, 1}})
        drop_bonus(drop[0], drop[1], drop[2]);
    frame_at(200);
    collect_bonuses(305, 200, 0);  // in frame 200, after its sums
    EXPECT_EQ((std::vector<int>{1, 300, 1, 240, 0, 0}),
              (std::vector<int>{bonuses[0].collected, bonuses[0].expiry, bonuses[1].collected, bonuses[1].expiry,
                                bonuses[3].collected, bonus_effects.dostrel}));
    SDL_FillRect(screen.surface, NULL, 0);
    frame_at(201);
    EXPECT_EQ((std::vector<long long>{50, 4, -4, 2, 10, 1, 3}), effects());
    EXPECT_EQ(0u, pixel_at(screen.surface, 300, 200));
    collect_bonuses(100, 100, 0);
    for (int f = 202; f <= 300; f++) frame_at(f);
    EXPECT_EQ(0, bonuses[0].active);
    EXPECT_EQ((std::vector<long long>{100, 0, 0, 0, 0, 0, 0}), effects());
    frame_at(301);
    EXPECT_EQ(50, bonus_effects.dostrel);
}
