#include <string>

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
    const WeaponDef& w = weapon_catalogue.weapons[0];
    EXPECT_FIELDS({"pocet_snimku", 8, w.pocet_snimku}, {"zrychleni", 0.5, w.zrychleni},
                  {"maximalni_rychlost", 12, w.maximalni_rychlost}, {"rychlost_vystreleni", 5, w.rychlost_vystreleni},
                  {"uhel_vystreleni", -3, w.uhel_vystreleni}, {"rozptyl", 2, w.rozptyl}, {"poskozeni", 10, w.poskozeni},
                  {"prodleva", 8, w.prodleva}, {"pocet_strel_na_vystrel", 3, w.pocet_strel_na_vystrel},
                  {"dostrel", 280, w.dostrel}, {"zpomaleni", 1, w.zpomaleni}, {"zahrivani", 12, w.zahrivani},
                  {"zamerovani_rychlost", 4, w.zamerovani_rychlost}, {"zblunk", 2, w.zblunk}, {"tolerance", 6, w.tolerance},
                  {"typ", 0, w.typ}, {"klesani", 7, w.klesani}, {"pocet_castic_vlny", 12, w.pocet_castic_vlny},
                  {"dosah_vlny", 14, w.dosah_vlny}, {"menu set", 1, w.menu != NULL}, {"strela set", 1, w.strela != NULL},
                  {"stin set", 1, w.stin != NULL}, {"exploze set", 0, w.exploze != NULL},
                  {"fire_sound set", 0, w.fire_sound != NULL});
    EXPECT_EQ(64, w.strela->w);

    log = capture([] { free_weapons(); });
    EXPECT_EQ("UVOLNEN SKRIPT ZBRANI Z PAMETI\n", log.out);
    for (int index : {0, -1, WEAPON_CAPACITY}) {
        SCOPED_TRACE("the defaults read as weapon " + std::to_string(index));
        const WeaponDef& d = weapon_at(index);
        EXPECT_FIELDS({"pocet_snimku", 1, d.pocet_snimku}, {"zrychleni", 0, d.zrychleni},
                      {"maximalni_rychlost", 0, d.maximalni_rychlost}, {"rychlost_vystreleni", 0, d.rychlost_vystreleni},
                      {"uhel_vystreleni", 0, d.uhel_vystreleni}, {"rozptyl", 0, d.rozptyl}, {"poskozeni", 0, d.poskozeni},
                      {"prodleva", 0, d.prodleva}, {"pocet_strel_na_vystrel", 1, d.pocet_strel_na_vystrel},
                      {"dostrel", 0, d.dostrel}, {"zpomaleni", 0, d.zpomaleni}, {"zahrivani", 0, d.zahrivani},
                      {"zamerovani_rychlost", 0, d.zamerovani_rychlost}, {"zblunk", 0, d.zblunk},
                      {"tolerance", 0, d.tolerance}, {"typ", 0, d.typ}, {"klesani", 0, d.klesani},
                      {"pocet_castic_vlny", 1, d.pocet_castic_vlny}, {"dosah_vlny", 1, d.dosah_vlny},
                      {"menu set", 0, d.menu != NULL}, {"strela set", 0, d.strela != NULL}, {"stin set", 0, d.stin != NULL},
                      {"exploze set", 0, d.exploze != NULL}, {"fire_sound set", 0, d.fire_sound != NULL});
    }
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
    EXPECT_FIELDS({"weapons", 3, weapon_catalogue.count}, {"the first's dostrel", 100, first.dostrel},
                  {"the first's zrychleni", 0, first.zrychleni}, {"the first's strela set", 0, first.strela != NULL},
                  {"the first's stin set", 1, first.stin != NULL}, {"the second's typ", 7, weapon_catalogue.weapons[1].typ},
                  {"the third's dostrel", 300, weapon_catalogue.weapons[2].dostrel},
                  {"the third's exploze set", 0, weapon_catalogue.weapons[2].exploze != NULL});

    log = capture([] { load_weapons("SCRIPT/LEVEL9/weapons.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/LEVEL9/weapons.scr\n", log.out + log.err);
    EXPECT_EQ(0, weapon_catalogue.count) << "weapons after a missing script";
}

TEST_F(WeaponsScript, WeaponsBeyondTheHundredthAreReportedAndDropped)
{
    std::string text;
    for (int i = 0; i < 100; i++) text += "* dostrel " + std::to_string(i) + "\n";
    Captured log = load(text + "* dostrel 777 typ 5\n* dostrel 778\n");
    EXPECT_EQ("script: weapons.scr : Prilis mnoho zbrani !!!\nscript: weapons.scr : Prilis mnoho zbrani !!!\n",
              log.err);
    EXPECT_FIELDS({"weapons", 100, weapon_catalogue.count}, {"weapons logged", 100, occurrences(log.out, "NALEZENA ZBRAN #")},
                  {"dostrel lines", 100, occurrences(log.out, "dostrel : ")},
                  {"weapon #99 logged", 1, occurrences(log.out, "ZBRAN #99\n")},
                  {"the last's dostrel", 99, weapon_catalogue.weapons[99].dostrel},
                  {"the last's typ", 0, weapon_catalogue.weapons[99].typ});
}
