#include <string>
#include <vector>

#include "settings.h"
#include "support.h"
#include "weapons.h"

namespace {

class WeaponsScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = GameSettings();
        capture([] { free_weapons(); });
        weapon_catalogue.count = 0;
        write_solid_bmp("GFX/menu.bmp", 20, 10, 200, 0, 0);
        write_solid_bmp("GFX/strela.bmp", 64, 8, 0, 200, 0);
        write_solid_bmp("GFX/stin.bmp", 64, 8, 0, 0, 200);
    }
    void TearDown() override { capture([] { free_weapons(); }); }
    Captured load(const std::string& text) { return load_script("weapons.scr", text, load_weapons); }
    TempDir dir;
    TestScreen screen;
};

std::vector<double> numbers(const WeaponDef& w)
{
    return {(double)w.pocet_snimku, w.zrychleni, (double)w.maximalni_rychlost, (double)w.rychlost_vystreleni,
            (double)w.uhel_vystreleni, (double)w.rozptyl, (double)w.poskozeni, (double)w.prodleva,
            (double)w.pocet_strel_na_vystrel, (double)w.dostrel, (double)w.zpomaleni, (double)w.zahrivani,
            (double)w.zamerovani_rychlost, (double)w.zblunk, (double)w.tolerance, (double)w.typ, (double)w.klesani,
            (double)w.pocet_castic_vlny, (double)w.dosah_vlny, (double)(w.menu != NULL), (double)(w.strela != NULL),
            (double)(w.stin != NULL), (double)(w.exploze != NULL), (double)(w.fire_sound != NULL)};
}

}  // namespace

// Every key but zblunk logs its line (the shadow's as "strin"); sounds are
// reported on stderr. The release restores the defaults, which numbers
// outside the table read as too.
TEST_F(WeaponsScript, EveryKeyStoresItsFieldAndLogsItsLine)
{
    Captured log = load("*KANON menu GFX/menu.bmp strela GFX/strela.bmp stin GFX/stin.bmp exploze NULL\n"
                        "pocet_snimku 8 zrychleni 0.5 maximalni_rychlost 12 rychlost_vystreleni 5 uhel_vystreleni -3\n"
                        "rozptyl 2 poskozeni 10 prodleva 8 pocet_strel_na_vystrel 3 dostrel 280 zpomaleni 1\n"
                        "zahrivani 12 zamerovani_rychlost 4 zblunk 2 tolerance 6 typ 0 klesani 7\n"
                        "pocet_castic_vlny 12 dosah_vlny 14\n"
                        "fire_sound SFX/fire.wav hit_sound SFX/hit.wav water_sound NULL\n");
    EXPECT_EQ(prefixed_lines("script: weapons.scr : ",
                             {"NALEZENA ZBRAN #0", "menu : GFX/menu.bmp", "strela : GFX/strela.bmp",
                              "strin : GFX/stin.bmp", "exploze : NULL", "pocet_snimku : 8", "zrychleni : 0.500000",
                              "maximalni_rychlost : 12", "rychlost_vystreleni : 5", "uhel_vystreleni : -3",
                              "rozptyl : 2", "poskozeni : 10", "prodleva : 8", "pocet_strel_na_vystrel : 3",
                              "dostrel : 280", "zpomaleni : 1", "zahrivani : 12", "zamerovani_rychlost : 4",
                              "tolerance : 6", "typ : 0", "klesani : 7", "pocet_castic_vlny : 12", "dosah_vlny : 14"}),
              log.out);
    EXPECT_EQ("Nepodarilo se nahrat zvuk : SFX/fire.wav\nNepodarilo se nahrat zvuk : SFX/hit.wav\n"
              "Nepodarilo se nahrat zvuk : NULL\n",
              log.err);
    EXPECT_EQ(1, weapon_catalogue.count);
    EXPECT_EQ((std::vector<double>{8, 0.5, 12, 5, -3, 2, 10, 8, 3, 280, 1, 12, 4, 2, 6, 0, 7, 12, 14, 1, 1, 1, 0, 0}),
              numbers(weapon_catalogue.weapons[0]));
    EXPECT_EQ(64, weapon_catalogue.weapons[0].strela->w);

    log = capture([] { free_weapons(); });
    EXPECT_EQ("UVOLNEN SKRIPT ZBRANI Z PAMETI\n", log.out);
    const std::vector<double> defaults = {1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0};
    for (int index : {0, -1, WEAPON_CAPACITY}) EXPECT_EQ(defaults, numbers(weapon_at(index))) << index;
    EXPECT_EQ(1, weapon_catalogue.count);  // until the next load sets it
}

// Markers number the weapons, keys act inside longer words, keys before the
// first marker are read past; NULL empties only its own picture and warns.
TEST_F(WeaponsScript, MarkersNumberTheWeaponsAndKeysWorkInsideLongerWords)
{
    Captured log = load("dostrel 50 strela GFX/strela.bmp zrychleni 2.5\n"
                        "* dostrel: 100 stin GFX/stin.bmp strela GFX/strela.bmp strela NULL\n[*] typ=1 7 menu NULL\n"
                        "**RAKETY** [dostrel] 300 (typ) 2 stin NULL exploze GFX/nowhere.bmp\n");
    EXPECT_EQ(prefixed_lines("script: weapons.scr : ",
                             {"NALEZENA ZBRAN #0", "dostrel : 100", "strin : GFX/stin.bmp", "strela : GFX/strela.bmp",
                              "strela : NULL --> Mohou nastat problemy : nevykresleni strely, padani programu",
                              "NALEZENA ZBRAN #1", "typ : 7",
                              "menu : NULL --> Mohou nastat problemy : nevykresleni zbrane v menu, padani programu",
                              "NALEZENA ZBRAN #2", "dostrel : 300", "typ : 2",
                              "strin : NULL --> Mohou nastat problemy : nevykresleni stinu, padani programu",
                              "exploze : GFX/nowhere.bmp"}),
              log.out);
    EXPECT_NE(std::string::npos, log.err.find("Nemohu nahrat soubor : GFX/nowhere.bmp"));
    const WeaponDef& first = weapon_catalogue.weapons[0];
    EXPECT_EQ((std::vector<double>{3, 100, 0, 0, 1, 7, 300, 0}),
              (std::vector<double>{(double)weapon_catalogue.count, (double)first.dostrel, first.zrychleni,
                                   (double)(first.strela != NULL), (double)(first.stin != NULL),
                                   (double)weapon_catalogue.weapons[1].typ, (double)weapon_catalogue.weapons[2].dostrel,
                                   (double)(weapon_catalogue.weapons[2].exploze != NULL)}));

    log = capture([] { load_weapons("SCRIPT/LEVEL9/weapons.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/LEVEL9/weapons.scr\n|0", log.out + log.err + "|" + std::to_string(weapon_catalogue.count));
}

TEST_F(WeaponsScript, WeaponsBeyondTheHundredthAreReportedAndDropped)
{
    std::string text;
    for (int i = 0; i < 100; i++) text += "* dostrel " + std::to_string(i) + "\n";
    Captured log = load(text + "* dostrel 777 typ 5\n* dostrel 778\n");
    EXPECT_EQ("script: weapons.scr : Prilis mnoho zbrani !!!\nscript: weapons.scr : Prilis mnoho zbrani !!!\n",
              log.err);
    EXPECT_EQ((std::vector<long long>{100, 100, 100, 1, 99, 0}),
              (std::vector<long long>{weapon_catalogue.count, occurrences(log.out, "NALEZENA ZBRAN #"),
                                      occurrences(log.out, "dostrel : "), occurrences(log.out, "ZBRAN #99\n"),
                                      weapon_catalogue.weapons[99].dostrel, weapon_catalogue.weapons[99].typ}));
}
