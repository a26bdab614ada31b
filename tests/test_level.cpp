#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "creatures.h"
#include "game_state.h"
#include "graphics_bank.h"
#include "level.h"
#include "main.h"
#include "submarine.h"
#include "support.h"

namespace {

Captured load_catalogue(const std::string& text)
{
    write_file("SCRIPT/levels.scr", text);
    return capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
}

}  // namespace

// One entry a line, directory, code word and credit, in playing order; line
// ends are white space. A cut-short entry still counts and keeps what its
// missing fields held; a credit that is not a number shifts the rest of the
// file; over-long names and codes are cut to their fields; a hundred levels
// are kept and more are reported. Each read starts at the first level.
TEST(LevelCatalogue, ReadsOneLevelPerEntryInPlayingOrder)
{
    TempDir dir;
    std::string hundred_and_three;
    for (int i = 0; i < 103; i++) hundred_and_three += "L" + std::to_string(i) + " K 1\n";
    const struct {
        std::string before, text, read, said;
    } cases[] = {
        {"", "LEVEL01 ALFA 100\nLEVEL02 BETA 250\r\nLEVEL03 GAMA 400\n",
         "LEVEL01 ALFA 100|LEVEL02 BETA 250|LEVEL03 GAMA 400|", ""},
        {"", "LEVEL01 ALFA 100\nLEVEL02 BETA", "LEVEL01 ALFA 100|LEVEL02 BETA 0|", ""},
        {"L1 A 1\nL2 BETA 2\n", "LEVEL01 ALFA 100\nLEVEL09\n", "LEVEL01 ALFA 100|LEVEL09 BETA 2|", ""},
        {"", "LEVEL01 ALFA sto\nLEVEL02 BETA 250\n", "LEVEL01 ALFA 0|sto LEVEL02 0|BETA 250 0|", ""},
        {"", std::string(250, 'd') + " " + std::string(40, 'k') + " 7\nL2 B 8\n",
         std::string(199, 'd') + " " + std::string(31, 'k') + " 7|L2 B 8|", ""},
        {"", hundred_and_three, "L99 K 1|", "script: SCRIPT/levels.scr : Prilis mnoho levelu !!!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        levels = LevelCatalogue();
        if (!c.before.empty()) load_catalogue(c.before);
        game.level_index = 5;
        Captured log = load_catalogue(c.text);
        EXPECT_EQ("", log.out);
        EXPECT_EQ(c.said, log.err);
        EXPECT_EQ(0, game.level_index);
        std::string read;
        for (int i = levels.count > 3 ? levels.count - 1 : 0; i < levels.count; i++)
            read += std::string(levels.entries[i].dir) + " " + levels.entries[i].code + " " +
                    std::to_string(levels.entries[i].credit) + "|";
        EXPECT_EQ(c.read, read);
    }
    EXPECT_EQ(LEVEL_CAPACITY, levels.count);
    remove("SCRIPT/levels.scr");
    Captured log = capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/levels.scr\n", log.err);
    EXPECT_EQ(0, levels.count);
}

// Only a level of the catalogue has scripts; asking for another is reported
// and leaves the path as it was.
TEST(LevelCatalogue, BuildsTheScriptPathOfALevelThatExists)
{
    TempDir dir;
    load_catalogue("LEVEL01 ALFA 100\nLEVEL02 BETA 250\n");
    char path[LEVEL_PATH_SIZE];
    EXPECT_EQ(25, level_script_path("images.scr", path, 0));
    EXPECT_STREQ("SCRIPT/LEVEL01/images.scr", path);
    EXPECT_EQ(23, level_script_path("delo.scr", path, 1));
    EXPECT_STREQ("SCRIPT/LEVEL02/delo.scr", path);
    Captured log = capture([&] {
        EXPECT_EQ(2, level_script_path("images.scr", path, 2));
        EXPECT_EQ(2, level_script_path("images.scr", path, -1));
    });
    EXPECT_EQ("Pokus o nahrani neexistujiciho levelu\nPokus o nahrani neexistujiciho levelu\n", log.err);
    EXPECT_STREQ("SCRIPT/LEVEL02/delo.scr", path);
}

namespace {

// What had been read when each step of the progress was shown: the
// seabed pictures, the submarine, the creature kinds and the first's count.
struct Progress {
    int percentage, dno_last, submarine_active, creature_type_last, pocet;
};
bool operator==(const Progress& a, const Progress& b) { return memcmp(&a, &b, sizeof a) == 0; }
std::ostream& operator<<(std::ostream& out, const Progress& p)
{
    return out << "{" << p.percentage << " %: dno_last " << p.dno_last << ", submarine active " << p.submarine_active
               << ", creature_type_last " << p.creature_type_last << ", pocet " << p.pocet << "}";
}
std::vector<Progress> progress_seen;

void record_progress(int percentage)
{
    progress_seen.push_back({percentage, bank.dno_last, submarine.active, creature_type_last, creature_types[0].pocet});
}

}  // namespace

// The graphics are read first, the weapons between the two 20s, the
// submarine before 60 and the creatures before 80 (the counts start afresh
// with the submarine's script); the full bar stays a second. Each missing
// script is reported, in loading order.
TEST(LevelLoading, ShowsTheProgressBeforeEveryScriptThenHoldsTheFullBar)
{
    TempDir dir;
    write_solid_bmp("GFX/dno.bmp", 16, 16, 0, 0, 200);
    write_file("SCRIPT/L1/images.scr", "[*DNO] 4 GFX/dno.bmp [END]\n");
    write_file("SCRIPT/L1/delo.scr", "[*] zivoty 5 [END]\n");
    write_file("SCRIPT/L1/potvory.scr", "[*A] pocet 3 [END]\n");
    load_catalogue("L1 ALFA 0\n");
    ScriptedSession session;
    progress_seen.clear();
    creature_types[0].pocet = 7;  // left by a level read before without a release
    Captured log = capture([] { load_level_showing(record_progress); });
    EXPECT_EQ((std::vector<Progress>{{0, -1, 0, -1, 7},
                                     {20, 0, 0, -1, 7},
                                     {20, 0, 0, -1, 7},
                                     {60, 0, 1, -1, 0},
                                     {80, 0, 1, 0, 3},
                                     {85, 0, 1, 0, 3},
                                     {95, 0, 1, 0, 3},
                                     {100, 0, 1, 0, 3}}),
              progress_seen);
    EXPECT_FIELDS({"pocet", 3, creature_types[0].pocet}, {"delays", 1, session.input.delays},
                  {"ms the full bar stayed", 1000, session.input.clock_ms});
    EXPECT_EQ(prefixed_lines("Nemohu nahrat soubor : SCRIPT/L1/",
                             {"weapons.scr", "panel.scr", "plane.scr", "bonusy.scr"}),
              log.err);
    capture([] { free_level(); });
}
