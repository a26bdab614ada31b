#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <string>

#include "creatures.h"
#include "settings.h"
#include "support.h"

namespace {

class CreatureCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = GameSettings();
        for (CreatureType& kind : creature_types) kind = CreatureType();
        creature_type_last = -1;
    }
    void TearDown() override { capture([] { free_creatures(); }); }
    Captured load(const std::string& text)
    {
        write_file("SCRIPT/L/potvory.scr", text);
        return capture([] { load_creatures("SCRIPT/L/potvory.scr"); });
    }
    TestScreen screen;
    TempDir dir;
};

const char* FISH =
    "[*RYBA]\n"
    "bitmap GFX/fish.bmp\n"
    "skore_b GFX/fish_icon.bmp\n"
    "death_sound SFX/die.wav\n"
    "create_sound NULL\n"
    "pocet_snimku 8\n"
    "rychlost 1.5\n"
    "dolez 40\n"
    "dolni_interval 50\n"
    "horni_interval 120\n"
    "zivoty 20\n"
    "zbran 2\n"
    "pocet 5\n"
    "alfa 30\n"
    "vystrel_prodleva 60\n"
    "hloubka_max 200\n"
    "hloubka_min 100\n"
    "vynorovani 2\n"
    "sila 10\n"
    "skore 50\n"
    "[END]\n";

}  // namespace

TEST_F(CreatureCatalogueTest, OneKindWithEveryKeyAndItsLines)
{
    write_solid_bmp("GFX/fish.bmp", 64, 8, 200, 100, 0);
    write_solid_bmp("GFX/fish_icon.bmp", 8, 8, 200, 100, 0);
    Captured output = load(FISH);
    const std::string p = "script: SCRIPT/L/potvory.scr : ";
    EXPECT_EQ(p + "NALEZENA NOVA POTVORA #0\n" +
              p + "bitmapa : GFX/fish.bmp\n" +
              // "skore_b" also wakes "skore", whose number is not there yet.
              p + "bitmapa skore : GFX/fish_icon.bmp\n" +
              p + "skore : 0\n" +
              // Sound names wake the "sound" number the same way.
              p + "sound : 0\n" +
              p + "sound : 0\n" +
              // "pocet_snimku" also wakes "pocet", which keeps its value.
              p + "pocet_snimku : 8\n" +
              p + "pocet : 0\n" +
              p + "rychlost : 1.500000\n" +
              p + "dolez : 40\n" +
              p + "dolni_interval : 50\n" +
              p + "horni_interval : 120\n" +
              p + "zivoty : 20\n" +
              p + "zbran : 2\n" +
              p + "pocet : 5\n" +
              p + "alfa : 30\n" +
              p + "vystrel_prodleva : 60\n" +
              p + "hloubka_max : 200\n" +
              p + "hloubka_min : 100\n" +
              p + "vynorovani : 2\n" +
              p + "sila : 10\n" +
              p + "skore : 50\n" +
              p + "INICIALIZA POTVORY #0 DOKONCENA\n",
              output.out);
    EXPECT_EQ("", output.err);
    ASSERT_EQ(0, creature_type_last);
    const CreatureType& fish = creature_types[0];
    EXPECT_NE(nullptr, fish.bitmap);
    EXPECT_NE(nullptr, fish.skore_b);
    EXPECT_EQ(8, fish.pocet_snimku);
    EXPECT_EQ(1.5f, fish.rychlost);
    EXPECT_EQ(40, fish.dolez);
    EXPECT_EQ(120, fish.horni_interval);
    EXPECT_EQ(2, fish.zbran);
    EXPECT_EQ(5, fish.pocet);
    EXPECT_EQ(0, fish.finished);
    EXPECT_EQ(100, fish.hloubka_min);
    EXPECT_EQ(50, fish.skore);
    EXPECT_EQ(0, fish.last_spawn_frame);
}

TEST_F(CreatureCatalogueTest, ValuesCarryOverToTheNextKind)
{
    load("[*A] zivoty 20 skore 50 pocet 3 [END]\n[*B] zivoty 40 pocet 2 [END]\n");
    ASSERT_EQ(1, creature_type_last);
    EXPECT_EQ(20, creature_types[0].zivoty);
    EXPECT_EQ(40, creature_types[1].zivoty);
    EXPECT_EQ(50, creature_types[1].skore);  // named only in the first section
    EXPECT_EQ(3, creature_types[0].pocet);
    EXPECT_EQ(2, creature_types[1].pocet);
}

TEST_F(CreatureCatalogueTest, CountIsSetAtOnceAndRestartsTheTally)
{
    creature_types[0].finished = 4;
    load("[*A] pocet 5");  // no "[END]" yet
    EXPECT_EQ(5, creature_types[0].pocet);
    EXPECT_EQ(0, creature_types[0].finished);
    EXPECT_EQ(0, creature_type_last);
}

TEST_F(CreatureCatalogueTest, KindWithoutWeaponFiresNothing)
{
    load("[*A] pocet 1 [END]");
    EXPECT_EQ(-1, creature_types[0].zbran);
}

TEST_F(CreatureCatalogueTest, MissingFileLeavesTheTableEmpty)
{
    Captured output = capture([] { load_creatures("SCRIPT/L/none.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/L/none.scr\n", output.err);
    EXPECT_EQ(-1, creature_type_last);
}

TEST_F(CreatureCatalogueTest, KindsBeyondTwentyAreReportedAndNeverStored)
{
    std::string text;
    for (int i = 0; i < 22; i++) text += "[*K] zivoty " + std::to_string(i + 1) + " pocet 1 [END]\n";
    Captured output = load(text);
    EXPECT_EQ(19, creature_type_last);
    EXPECT_EQ(20, creature_types[19].zivoty);
    EXPECT_EQ("script: SCRIPT/L/potvory.scr : prilis mnoho potvor\n"
              "script: SCRIPT/L/potvory.scr : prilis mnoho potvor\n",
              output.err);
    EXPECT_NE(std::string::npos, output.out.find("NALEZENA NOVA POTVORA #21\n"));
    EXPECT_EQ(std::string::npos, output.out.find("INICIALIZA POTVORY #20"));
}

TEST_F(CreatureCatalogueTest, KeysBeforeTheFirstKindAreIgnored)
{
    Captured output = load("zivoty 99 pocet 7 [*A] pocet 1 [END]");
    EXPECT_EQ(0, creature_types[0].zivoty);
    EXPECT_EQ(1, creature_types[0].pocet);
    EXPECT_EQ(std::string::npos, output.out.find(": zivoty : 99"));
}

TEST_F(CreatureCatalogueTest, ReleaseEmptiesEveryKind)
{
    write_solid_bmp("GFX/fish.bmp", 64, 8, 200, 100, 0);
    write_solid_bmp("GFX/fish_icon.bmp", 8, 8, 200, 100, 0);
    load(FISH);
    Captured output = capture([] { free_creatures(); });
    EXPECT_EQ("UVOLNEN SKRIPT POTVOR Z PAMETI\n", output.out);
    EXPECT_EQ(-1, creature_type_last);
    for (const CreatureType& kind : creature_types) {
        EXPECT_EQ(nullptr, kind.bitmap);
        EXPECT_EQ(-1, kind.zbran);
        EXPECT_EQ(0, kind.pocet);
        EXPECT_EQ(0, kind.finished);
    }
}

TEST_F(CreatureCatalogueTest, ReleaseZeroesEveryNumberButTheSoundNumber)
{
    load(std::string(FISH) + "[*B] sound 4 last [END]\n");
    ASSERT_EQ(1, creature_type_last);
    creature_types[1].last_spawn_frame = 300;
    creature_types[1].finished = 2;
    capture([] { free_creatures(); });
    const CreatureType& kind = creature_types[1];
    EXPECT_EQ(4, kind.sound);
    EXPECT_EQ(0, creature_types[0].sound);
    EXPECT_EQ(0.0f, kind.rychlost);
    for (int value : {kind.pocet_snimku, kind.dolez, kind.zivoty, kind.dolni_interval, kind.horni_interval,
                      kind.hloubka_max, kind.hloubka_min, kind.vynorovani, kind.last_spawn_frame, kind.sila,
                      kind.skore, kind.vystrel_prodleva, kind.alfa, kind.pocet, kind.finished})
        EXPECT_EQ(0, value);
    EXPECT_EQ(-1, kind.zbran);
}

TEST_F(CreatureCatalogueTest, SoundsLoadWithAudioOnAndAreReleased)
{
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    ASSERT_EQ(0, Mix_OpenAudio(11025, AUDIO_U8, 2, 1024));
    settings.sound = 1;
    write_wav("SFX/die.wav", 300);
    write_wav("SFX/up.wav", 300);
    Captured output = load("[*A] death_sound SFX/die.wav create_sound SFX/up.wav [END]\n"
                           "[*B] death_sound NULL create_sound SFX/none.wav [END]\n");
    EXPECT_NE(std::string::npos, output.out.find("Nahran zvuk SFX/die.wav\n"));
    EXPECT_NE(std::string::npos, output.out.find("Nahran zvuk SFX/up.wav\n"));
    EXPECT_EQ("Nemohu nahrat soubor : SFX/none.wav !!!\n", output.err);
    EXPECT_NE(nullptr, creature_types[0].death_sound);
    EXPECT_NE(nullptr, creature_types[0].create_sound);
    EXPECT_EQ(nullptr, creature_types[1].death_sound);
    EXPECT_EQ(nullptr, creature_types[1].create_sound);
    capture([] { free_creatures(); });
    EXPECT_EQ(nullptr, creature_types[0].death_sound);
    EXPECT_EQ(nullptr, creature_types[0].create_sound);
    Mix_CloseAudio();
    settings.sound = 0;
}

TEST_F(CreatureCatalogueTest, EveryLevelOfTheDataSetLoadsCleanly)
{
    ASSERT_TRUE(copy_data_set()) << "the run folder " ABYSSOR_RUN_DIR " lacks the data set: build the game first";
    for (const char* level : {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4"}) {
        std::string path = std::string("SCRIPT/") + level + "/potvory.scr";
        Captured output = capture([&] { load_creatures(path.c_str()); });
        EXPECT_EQ("", output.err) << level;
        ASSERT_GE(creature_type_last, 1) << level;
        for (int t = 0; t <= creature_type_last; t++) {
            const CreatureType& kind = creature_types[t];
            EXPECT_NE(nullptr, kind.bitmap) << level << " kind " << t;
            EXPECT_NE(nullptr, kind.skore_b) << level << " kind " << t;
            EXPECT_GT(kind.pocet, 0) << level << " kind " << t;
            EXPECT_GT(kind.horni_interval, kind.dolni_interval) << level << " kind " << t;
        }
        capture([] { free_creatures(); });
    }
}
