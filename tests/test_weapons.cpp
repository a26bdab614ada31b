#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <string>

#include "graphics_bank.h"
#include "settings.h"
#include "shots.h"
#include "support.h"
#include "weapons.h"

namespace {

class WeaponsScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = GameSettings();
        free_weapons_quietly();
        weapon_catalogue.count = 0;
    }
    void TearDown() override
    {
        free_weapons_quietly();
        close_audio();
    }
    static void free_weapons_quietly()
    {
        capture([] { free_weapons(); });
    }
    Captured load(const std::string& text)
    {
        return load_script("weapons.scr", text, load_weapons);
    }
    TempDir dir;
    TestScreen screen;
};

const char* const FULL_WEAPON =
    "*KANON\n"
    "menu GFX/menu.bmp\n"
    "strela GFX/strela.bmp\n"
    "stin GFX/stin.bmp\n"
    "exploze NULL\n"
    "pocet_snimku 8\n"
    "zrychleni 0.5\n"
    "maximalni_rychlost 12\n"
    "rychlost_vystreleni 5\n"
    "uhel_vystreleni -3\n"
    "rozptyl 2\n"
    "poskozeni 10\n"
    "prodleva 8\n"
    "pocet_strel_na_vystrel 3\n"
    "dostrel 280\n"
    "zpomaleni 1\n"
    "zahrivani 12\n"
    "zamerovani_rychlost 4\n"
    "zblunk 2\n"
    "tolerance 6\n"
    "typ 0\n"
    "klesani 7\n"
    "pocet_castic_vlny 12\n"
    "dosah_vlny 14\n"
    "fire_sound SFX/fire.wav\n"
    "hit_sound SFX/hit.wav\n"
    "water_sound NULL\n";

void write_weapon_pictures()
{
    write_solid_bmp("GFX/menu.bmp", 20, 10, 200, 0, 0);
    write_solid_bmp("GFX/strela.bmp", 64, 8, 0, 200, 0);
    write_solid_bmp("GFX/stin.bmp", 64, 8, 0, 0, 200);
}

}  // namespace

TEST_F(WeaponsScript, EveryKeyStoresItsFieldAndLogsItsLine)
{
    write_weapon_pictures();
    Captured log = load(FULL_WEAPON);
    EXPECT_EQ(
        prefixed_lines("script: weapons.scr : ", {"NALEZENA ZBRAN #0", "menu : GFX/menu.bmp",
                                                  "strela : GFX/strela.bmp", "strin : GFX/stin.bmp",
                                                  "exploze : NULL", "pocet_snimku : 8", "zrychleni : 0.500000",
                                                  "maximalni_rychlost : 12", "rychlost_vystreleni : 5",
                                                  "uhel_vystreleni : -3", "rozptyl : 2", "poskozeni : 10",
                                                  "prodleva : 8", "pocet_strel_na_vystrel : 3", "dostrel : 280",
                                                  "zpomaleni : 1", "zahrivani : 12", "zamerovani_rychlost : 4",
                                                  "tolerance : 6", "typ : 0", "klesani : 7",
                                                  "pocet_castic_vlny : 12", "dosah_vlny : 14"}),
        log.out);
    // Audio is off: every sound is reported as not loaded.
    EXPECT_EQ(
        "Nepodarilo se nahrat zvuk : SFX/fire.wav\n"
        "Nepodarilo se nahrat zvuk : SFX/hit.wav\n"
        "Nepodarilo se nahrat zvuk : NULL\n",
        log.err);
    ASSERT_EQ(1, weapon_catalogue.count);
    const WeaponDef& w = weapon_catalogue.weapons[0];
    ASSERT_NE(nullptr, w.menu);
    EXPECT_EQ(20, w.menu->w);
    ASSERT_NE(nullptr, w.strela);
    EXPECT_EQ(64, w.strela->w);
    ASSERT_NE(nullptr, w.stin);
    EXPECT_EQ(nullptr, w.exploze);
    EXPECT_EQ(8, w.pocet_snimku);
    EXPECT_EQ(0.5f, w.zrychleni);
    EXPECT_EQ((std::vector<long long>{12, 5, -3, 2, 10, 8, 3, 280, 1, 12, 4, 2, 6, 0, 7, 12, 14}),
              (std::vector<long long>{w.maximalni_rychlost, w.rychlost_vystreleni, w.uhel_vystreleni, w.rozptyl,
                                      w.poskozeni, w.prodleva, w.pocet_strel_na_vystrel, w.dostrel, w.zpomaleni,
                                      w.zahrivani, w.zamerovani_rychlost, w.zblunk, w.tolerance, w.typ, w.klesani,
                                      w.pocet_castic_vlny, w.dosah_vlny}));
    EXPECT_EQ(nullptr, w.fire_sound);
}

TEST_F(WeaponsScript, MarkersNumberTheWeaponsAndKeysWorkInsideLongerWords)
{
    Captured log = load("* dostrel: 100\n[*] typ=1 7\n**RAKETY** [dostrel] 300 (typ) 2\n");
    EXPECT_EQ(
        prefixed_lines("script: weapons.scr : ", {"NALEZENA ZBRAN #0", "dostrel : 100", "NALEZENA ZBRAN #1",
                                                  "typ : 7", "NALEZENA ZBRAN #2", "dostrel : 300", "typ : 2"}),
        log.out);
    EXPECT_EQ((std::vector<long long>{3, 100, 7, 300}),
              (std::vector<long long>{weapon_catalogue.count, weapon_catalogue.weapons[0].dostrel,
                                      weapon_catalogue.weapons[1].typ, weapon_catalogue.weapons[2].dostrel}));
}

TEST_F(WeaponsScript, LeftOutKeysKeepTheDefaults)
{
    load("*A dostrel 50\n");
    const WeaponDef& w = weapon_catalogue.weapons[0];
    EXPECT_EQ((std::vector<long long>{1, 1, 1, 1, 0}),
              (std::vector<long long>{w.pocet_snimku, w.pocet_strel_na_vystrel, w.dosah_vlny, w.pocet_castic_vlny,
                                      w.typ}));
    EXPECT_EQ(0.0f, w.zrychleni);
    EXPECT_EQ(nullptr, w.strela);
}

TEST_F(WeaponsScript, NullPicturesWarnAndEmptyOnlyTheirOwnField)
{
    write_weapon_pictures();
    load("*A strela GFX/strela.bmp menu GFX/menu.bmp stin GFX/stin.bmp\n");
    Captured log = load("*A strela NULL menu NULL\n");
    EXPECT_EQ(
        "script: weapons.scr : NALEZENA ZBRAN #0\n"
        "script: weapons.scr : strela : NULL --> Mohou nastat problemy : nevykresleni strely, padani programu\n"
        "script: weapons.scr : menu : NULL --> Mohou nastat problemy : nevykresleni zbrane v menu, padani programu\n",
        log.out);
    EXPECT_EQ(nullptr, weapon_catalogue.weapons[0].strela);
    EXPECT_EQ(nullptr, weapon_catalogue.weapons[0].menu);
    EXPECT_NE(nullptr, weapon_catalogue.weapons[0].stin);

    log = load("*A stin NULL\n");
    EXPECT_NE(std::string::npos,
              log.out.find("script: weapons.scr : strin : NULL --> Mohou nastat problemy : nevykresleni stinu, padani "
                           "programu\n"));
}

TEST_F(WeaponsScript, MissingPictureKeepsTheLineAndLeavesTheFieldEmpty)
{
    Captured log = load("*A strela GFX/nowhere.bmp\n");
    EXPECT_NE(std::string::npos, log.out.find("script: weapons.scr : strela : GFX/nowhere.bmp\n"));
    EXPECT_NE(std::string::npos, log.err.find("Nemohu nahrat soubor : GFX/nowhere.bmp"));
    EXPECT_EQ(nullptr, weapon_catalogue.weapons[0].strela);
}

TEST_F(WeaponsScript, MissingFileDefinesNoWeapon)
{
    weapon_catalogue.count = 4;
    Captured log = capture([] { load_weapons("SCRIPT/LEVEL9/weapons.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/LEVEL9/weapons.scr\n", log.err);
    EXPECT_EQ("", log.out);
    EXPECT_EQ(0, weapon_catalogue.count);
}

TEST_F(WeaponsScript, KeysBeforeTheFirstMarkerHaveNowhereToGo)
{
    write_weapon_pictures();
    Captured log = load("dostrel 50 strela GFX/strela.bmp zrychleni 2.5\n*A typ 0\n");
    EXPECT_EQ(
        "script: weapons.scr : NALEZENA ZBRAN #0\n"
        "script: weapons.scr : typ : 0\n",
        log.out);
    EXPECT_EQ(1, weapon_catalogue.count);
    EXPECT_EQ(0, weapon_catalogue.weapons[0].dostrel);
    EXPECT_EQ(nullptr, weapon_catalogue.weapons[0].strela);
    EXPECT_EQ(0.0f, weapon_catalogue.weapons[0].zrychleni);
}

TEST_F(WeaponsScript, WeaponsBeyondTheHundredthAreReportedAndDropped)
{
    std::string text;
    for (int i = 0; i < 100; i++) text += "* dostrel " + std::to_string(i) + "\n";
    text += "* dostrel 777 typ 5\n* dostrel 778\n";
    Captured log = load(text);
    EXPECT_EQ(100, weapon_catalogue.count);
    EXPECT_NE(std::string::npos, log.out.find("NALEZENA ZBRAN #99\n"));
    EXPECT_EQ(std::string::npos, log.out.find("NALEZENA ZBRAN #100"));
    EXPECT_EQ(std::string::npos, log.out.find("777"));
    EXPECT_EQ(
        "script: weapons.scr : Prilis mnoho zbrani !!!\n"
        "script: weapons.scr : Prilis mnoho zbrani !!!\n",
        log.err);
    EXPECT_EQ(99, weapon_catalogue.weapons[99].dostrel);
    EXPECT_EQ(0, weapon_catalogue.weapons[99].typ);
}

TEST_F(WeaponsScript, SoundsLoadWithAudioOnAndTheReleaseEmptiesThem)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/fire.wav", 500);
    Captured log = load("*A fire_sound SFX/fire.wav hit_sound SFX/missing.wav water_sound NULL\n");
    EXPECT_NE(std::string::npos, log.err.find("Podarilo se nahrat zvuk : SFX/fire.wav\n"));
    EXPECT_NE(std::string::npos, log.err.find("Nepodarilo se nahrat zvuk : SFX/missing.wav\n"));
    EXPECT_NE(std::string::npos, log.err.find("Nepodarilo se nahrat zvuk : NULL\n"));
    EXPECT_NE(nullptr, weapon_catalogue.weapons[0].fire_sound);
    EXPECT_EQ(nullptr, weapon_catalogue.weapons[0].hit_sound);
    free_weapons_quietly();
    EXPECT_EQ(nullptr, weapon_catalogue.weapons[0].fire_sound);
}

TEST_F(WeaponsScript, ReleaseRestoresTheDefaultsAndNamesItself)
{
    write_weapon_pictures();
    load(FULL_WEAPON);
    Captured log = capture([] { free_weapons(); });
    EXPECT_EQ("UVOLNEN SKRIPT ZBRANI Z PAMETI\n", log.out);
    const WeaponDef& w = weapon_catalogue.weapons[0];
    EXPECT_EQ(nullptr, w.menu);
    EXPECT_EQ(nullptr, w.strela);
    EXPECT_EQ(nullptr, w.stin);
    EXPECT_EQ((std::vector<long long>{1, 1, 1, 1, 0}),
              (std::vector<long long>{w.pocet_snimku, w.pocet_strel_na_vystrel, w.pocet_castic_vlny, w.dosah_vlny,
                                      w.dostrel}));
    EXPECT_EQ(0.0f, w.zrychleni);
    EXPECT_EQ(0, w.zblunk);
    // The count stays until the next load sets it.
    EXPECT_EQ(1, weapon_catalogue.count);
}

TEST_F(WeaponsScript, WeaponOutsideTheTableReadsAsDefaults)
{
    EXPECT_EQ(1, weapon_at(-1).pocet_snimku);
    EXPECT_EQ(1, weapon_at(100).pocet_strel_na_vystrel);
    EXPECT_EQ(nullptr, weapon_at(1000).strela);
}

// ---------------------------------------------------------------------------
// The game's own data set

TEST(WeaponsDataSet, EveryLevelHasPicturedGunWeaponsFirst)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set());
    for (const char* level : {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4"}) {
        SCOPED_TRACE(level);
        std::string path = std::string("SCRIPT/") + level + "/weapons.scr";
        Captured log = capture([&] { load_weapons(path.c_str()); });
        EXPECT_EQ(std::string::npos, log.err.find("Nemohu")) << log.err;
        ASSERT_GE(weapon_catalogue.count, 4);
        EXPECT_EQ(0, weapon_catalogue.weapons[0].typ);
        for (int i = 0; i < weapon_catalogue.count; i++) {
            const WeaponDef& w = weapon_catalogue.weapons[i];
            EXPECT_NE(nullptr, w.strela) << i;
            EXPECT_NE(nullptr, w.stin) << i;
            if (w.typ == 0) {
                EXPECT_GT(w.dostrel, 0) << i;
            }
        }
        capture([] { free_weapons(); });
    }
}
