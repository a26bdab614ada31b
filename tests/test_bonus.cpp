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
    EXPECT_EQ(2, bonus_catalogue.count);
    EXPECT_EQ(7, types[2].dostrel) << "the late type's reach, beyond the count";
    const BonusType &reach = types[0], &fire = types[1];
    EXPECT_FIELDS({"DOSAH pouzivani", 100, reach.pouzivani}, {"DOSAH dostrel", 50, reach.dostrel},
                  {"DOSAH rychlost", 0, reach.rychlost}, {"DOSAH pocet_strel", 0, reach.pocet_strel},
                  {"DOSAH rozptyl", 0, reach.rozptyl}, {"DOSAH rychlost_lodi", 0, reach.rychlost_lodi},
                  {"DOSAH zivoty", 0, reach.zivoty}, {"DOSAH prodleva", 0, reach.prodleva}, {"DOSAH sance", 0.25, reach.sance},
                  {"DOSAH bitmap set", 1, reach.bitmap != NULL});
    EXPECT_FIELDS({"PALBA pouzivani", 40, fire.pouzivani}, {"PALBA dostrel", 0, fire.dostrel},
                  {"PALBA rychlost", 4, fire.rychlost}, {"PALBA pocet_strel", 2, fire.pocet_strel},
                  {"PALBA rozptyl", 10, fire.rozptyl}, {"PALBA rychlost_lodi", 1, fire.rychlost_lodi},
                  {"PALBA zivoty", 3, fire.zivoty}, {"PALBA prodleva", -4, fire.prodleva}, {"PALBA sance", 0.5, fire.sance},
                  {"PALBA bitmap set", 1, fire.bitmap != NULL});
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
    EXPECT_EQ("", log.out);
    EXPECT_FIELDS({"types", 0, bonus_catalogue.count}, {"the drop active", 0, bonuses[0].active},
                  {"the drop collected", 0, bonuses[0].collected}, {"summed dostrel", 0, bonus_effects.dostrel},
                  {"the first type's bitmap set", 0, bonus_catalogue.types[0].bitmap != NULL},
                  {"bonus chosen for a creature", -1, choose_creature_bonus()});
    EXPECT_EQ(41, random_value()) << "without types no value is drawn for a bonus";
    load(TWO_TYPES);
    log = capture([] { free_bonuses(); });
    EXPECT_EQ("UVOLNEN SKRIPT BONUSU Z PAMETI\n", log.out);
    const BonusType& kept = bonus_catalogue.types[0];
    EXPECT_FIELDS({"pouzivani", 0, kept.pouzivani}, {"dostrel", 0, kept.dostrel}, {"rychlost", 0, kept.rychlost},
                  {"pocet_strel", 0, kept.pocet_strel}, {"rozptyl", 0, kept.rozptyl}, {"rychlost_lodi", 0, kept.rychlost_lodi},
                  {"zivoty", 0, kept.zivoty}, {"prodleva", 0, kept.prodleva}, {"sance", 0.25, kept.sance},
                  {"bitmap set", 0, kept.bitmap != NULL});
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
    EXPECT_FIELDS({"the eighth announced", 0, Mix_Playing(CHANNEL_ANNOUNCE)}, {"the seventh's x", 60, bonuses[6].x},
                  {"the seventh's type", 1, bonuses[6].type});
    capture([] { free_bonuses(); });
    EXPECT_EQ(nullptr, bonus_catalogue.create_sound);
    close_audio();
}

// Only shells collect, within the bonus's height, half their shot and their
// tolerance (26 + 4 + 3 = 33), not in the frame the bonus appears (10).
TEST_F(BonusTest, ShellsCollectWithinTheBonusHeightHalfTheirShotAndTheirTolerance)
{
    const struct {
        const char* what;
        int weapon, tolerance, dx, dy, frame, collected;
    } cases[] = {{"a shell 34 below", 0, 3, 0, 34, 11, 0}, {"a shell 33 aside", 0, 3, 33, 0, 11, 1},
                 {"a bomb", 1, 0, 0, 0, 11, 0},           {"a runner", 2, 0, 0, 0, 11, 0},
                 {"in the frame it appears", 0, 0, 0, 0, 10, 0}, {"a frame later", 0, 0, 0, 0, 11, 1}};
    load(TWO_TYPES);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        weapons(c.tolerance);
        memset(bonuses, 0, sizeof bonuses);
        game.frame = 10;
        drop_bonus(300, 200, 0);
        game.frame = c.frame;
        collect_bonuses(300 + c.dx, 200 + c.dy, c.weapon);
        EXPECT_FIELDS({"collected", c.collected, bonuses[0].collected},
                      {"expiry", c.collected ? 11 + 100 : 10 + 250, bonuses[0].expiry});
    }
}

// One shell collects every bonus in reach; effects add up and act from the
// frame after collection to the frame they end; collected ones leave the water.
TEST_F(BonusTest, EffectsActFromTheFrameAfterCollectionToTheFrameTheyEnd)
{
    load(TWO_TYPES);
    game.frame = 150;
    drop_bonus(300, 200, 0);
    drop_bonus(310, 200, 1);
    drop_bonus(100, 100, 0);
    drop_bonus(400, 200, 1);
    frame_at(200);
    collect_bonuses(305, 200, 0);  // in frame 200, after its sums
    EXPECT_FIELDS({"the first collected", 1, bonuses[0].collected}, {"the first's expiry", 300, bonuses[0].expiry},
                  {"the second collected", 1, bonuses[1].collected}, {"the second's expiry", 240, bonuses[1].expiry},
                  {"the one out of reach collected", 0, bonuses[3].collected}, {"summed dostrel", 0, bonus_effects.dostrel});
    SDL_FillRect(screen.surface, NULL, 0);
    frame_at(201);
    const BonusEffects& e = bonus_effects;
    EXPECT_FIELDS({"dostrel", 50, e.dostrel}, {"rychlost", 4, e.rychlost}, {"prodleva", -4, e.prodleva},
                  {"pocet_strel", 2, e.pocet_strel}, {"rozptyl", 10, e.rozptyl}, {"rychlost_lodi", 1, e.rychlost_lodi},
                  {"zivoty", 3, e.zivoty});
    EXPECT_EQ(0u, pixel_at(screen.surface, 300, 200));
    collect_bonuses(100, 100, 0);
    for (int f = 202; f <= 300; f++) frame_at(f);
    EXPECT_EQ(0, bonuses[0].active);
    EXPECT_FIELDS({"dostrel", 100, e.dostrel}, {"rychlost", 0, e.rychlost}, {"prodleva", 0, e.prodleva},
                  {"pocet_strel", 0, e.pocet_strel}, {"rozptyl", 0, e.rozptyl}, {"rychlost_lodi", 0, e.rychlost_lodi},
                  {"zivoty", 0, e.zivoty});
    frame_at(301);
    EXPECT_EQ(50, bonus_effects.dostrel);
}
