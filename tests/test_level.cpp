#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <malloc.h>
#include <string.h>
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's count of the bytes the program holds.
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "creatures.h"
#include "game_state.h"
#include "graphics_bank.h"
#include "level.h"
#include "main.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

const char* CATALOGUE = "SCRIPT/levels.scr";

Captured load_catalogue(const std::string& text)
{
    write_file(CATALOGUE, text);
    return capture([] { load_level_catalogue(CATALOGUE); });
}

}  // namespace

// One entry a line, directory, code word and credit, in playing order; line
// ends are white space. A cut-short entry still counts and keeps what its
// missing fields held; a credit that is not a number shifts the rest of the
// file; over-long names and codes are cut to their fields.
TEST(LevelCatalogue, ReadsOneLevelPerEntryInPlayingOrder)
{
    TempDir dir;
    const std::string long_dir(250, 'd'), long_code(40, 'k');
    const struct {
        std::string before, text, read;
    } cases[] = {
        {"", "LEVEL01 ALFA 100\nLEVEL02 BETA 250\r\nLEVEL03 GAMA 400\n",
         "LEVEL01 ALFA 100|LEVEL02 BETA 250|LEVEL03 GAMA 400|"},
        {"", "LEVEL01 ALFA 100\nLEVEL02 BETA", "LEVEL01 ALFA 100|LEVEL02 BETA 0|"},
        {"L1 A 1\nL2 BETA 2\n", "LEVEL01 ALFA 100\nLEVEL09\n", "LEVEL01 ALFA 100|LEVEL09 BETA 2|"},
        {"", "LEVEL01 ALFA sto\nLEVEL02 BETA 250\n", "LEVEL01 ALFA 0|sto LEVEL02 0|BETA 250 0|"},
        {"", long_dir + " " + long_code + " 7\nL2 B 8\n",
         std::string(199, 'd') + " " + std::string(31, 'k') + " 7|L2 B 8|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        levels = LevelCatalogue();
        if (!c.before.empty()) load_catalogue(c.before);
        game.level_index = 5;
        Captured log = load_catalogue(c.text);
        EXPECT_EQ("", log.out);
        EXPECT_EQ("", log.err);
        EXPECT_EQ(0, game.level_index);
        std::string read;
        for (int i = 0; i < levels.count; i++)
            read += std::string(levels.entries[i].dir) + " " + levels.entries[i].code + " " +
                    std::to_string(levels.entries[i].credit) + "|";
        EXPECT_EQ(c.read, read);
    }
}

TEST(LevelCatalogue, AMissingCatalogueIsReportedAndHoldsNoLevel)
{
    TempDir dir;
    game.level_index = 3;
    Captured log = capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/levels.scr\n", log.err);
    EXPECT_EQ(0, levels.count);
    EXPECT_EQ(0, game.level_index);
}

TEST(LevelCatalogue, MoreThanAHundredLevelsAreReportedAndLeftOut)
{
    TempDir dir;
    std::string text;
    for (int i = 0; i < 103; i++) text += "L" + std::to_string(i) + " K" + std::to_string(i) + " 1\n";
    Captured log = load_catalogue(text);
    EXPECT_EQ("script: SCRIPT/levels.scr : Prilis mnoho levelu !!!\n", log.err);
    EXPECT_EQ(LEVEL_CAPACITY, levels.count);
    EXPECT_STREQ("L99", levels.entries[99].dir);
}

TEST(LevelCatalogue, BuildsTheScriptPathOfAnExistingLevel)
{
    TempDir dir;
    load_catalogue("LEVEL01 ALFA 100\nLEVEL02 BETA 250\n");
    char path[LEVEL_PATH_SIZE];
    EXPECT_EQ(25, level_script_path("images.scr", path, 0));
    EXPECT_STREQ("SCRIPT/LEVEL01/images.scr", path);
    EXPECT_EQ(23, level_script_path("delo.scr", path, 1));
    EXPECT_STREQ("SCRIPT/LEVEL02/delo.scr", path);
}

TEST(LevelCatalogue, RefusesTheScriptPathOfALevelThatDoesNotExist)
{
    TempDir dir;
    load_catalogue("LEVEL01 ALFA 100\n");
    char path[LEVEL_PATH_SIZE] = "unchanged";
    Captured log = capture([&] {
        EXPECT_EQ(2, level_script_path("images.scr", path, 1));
        EXPECT_EQ(2, level_script_path("images.scr", path, -1));
    });
    EXPECT_EQ("Pokus o nahrani neexistujiciho levelu\nPokus o nahrani neexistujiciho levelu\n", log.err);
    EXPECT_STREQ("unchanged", path);
}

namespace {

struct ProgressStep {
    int percentage;
    // What had been read at that moment.
    int seabed_last;
    int submarine_active;
    int creature_kinds_last;
};

std::vector<ProgressStep> progress_seen;

void record_progress(int percentage)
{
    progress_seen.push_back({percentage, bank.dno_last, submarine.active, creature_type_last});
}

}  // namespace

TEST(LevelLoading, ShowsTheProgressBeforeEveryScriptThenHoldsTheFullBar)
{
    TempDir dir;
    write_solid_bmp("GFX/dno.bmp", 16, 16, 0, 0, 200);
    write_file("SCRIPT/L1/images.scr", "[*DNO] 4 GFX/dno.bmp [END]\n");
    write_file("SCRIPT/L1/delo.scr", "[*] zivoty 5 [END]\n");
    write_file("SCRIPT/L1/potvory.scr", "[*A] pocet 3 [END]\n");
    load_catalogue("L1 ALFA 0\n");
    capture([] { free_level(); });
    ScriptedSession session;
    ScriptedInput& input = session.input;
    progress_seen.clear();
    capture([] { load_level_showing(record_progress); });

    std::vector<int> percentages;
    for (const ProgressStep& step : progress_seen) percentages.push_back(step.percentage);
    EXPECT_EQ((std::vector<int>{0, 20, 20, 60, 80, 85, 95, 100}), percentages);
    ASSERT_EQ(8u, progress_seen.size());
    // The graphics are read first, the weapons (not shown here) between the
    // two 20s, the submarine before 60 and the creatures before 80.
    const int seabed[] = {-1, 0, 0, 0, 0, 0, 0, 0};
    const int sailing[] = {0, 0, 0, 1, 1, 1, 1, 1};
    const int kinds[] = {-1, -1, -1, -1, 0, 0, 0, 0};
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(seabed[i], progress_seen[i].seabed_last) << i;
        EXPECT_EQ(sailing[i], progress_seen[i].submarine_active) << i;
        EXPECT_EQ(kinds[i], progress_seen[i].creature_kinds_last) << i;
    }
    // The submarine's script clears the creature counts before the creatures are read.
    EXPECT_EQ(3, creature_types[0].pocet);
    EXPECT_EQ(1, input.delays);
    EXPECT_EQ(1000u, input.clock_ms);
    capture([] { free_level(); });
}

TEST(LevelLoading, WithoutALevelNoScriptIsRead)
{
    TempDir dir;
    capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    ScriptedSession session;
    ScriptedInput& input = session.input;
    Captured log = capture([] { load_level(); });
    std::string refused = "Pokus o nahrani neexistujiciho levelu\n";
    EXPECT_EQ(refused + refused + refused + refused + refused + refused + refused, log.err);
    EXPECT_EQ(1000u, input.clock_ms);
}

TEST(LevelLoading, LeavesTheFullBarOnTheLoadingScreen)
{
    TempDir dir;
    TestScreen screen;
    write_solid_bmp("GFX/loading.bmp", 200, 100, 0, 0, 200);
    write_solid_bmp("GFX/bar.bmp", 100, 10, 200, 0, 0);
    write_file("SCRIPT/menu.scr", "loading GFX/loading.bmp load_bar GFX/bar.bmp load_souradnice 50,40\n");
    capture([] { load_menu("SCRIPT/menu.scr"); });
    load_catalogue("L1 ALFA 0\n");
    ScriptedSession session;
    capture([] { load_level(); });
    // Loading picture centred at (220, 190); the bar at (270, 230), 100 wide.
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 225, 195));
    EXPECT_EQ(map_colour(screen.surface, 200, 0, 0), pixel_at(screen.surface, 271, 231));
    EXPECT_EQ(map_colour(screen.surface, 200, 0, 0), pixel_at(screen.surface, 369, 239));
    EXPECT_EQ(map_colour(screen.surface, 0, 0, 200), pixel_at(screen.surface, 370, 239));
    EXPECT_EQ(0u, pixel_at(screen.surface, 10, 10));
}

namespace {

// The screen pixel shows the picture's colour at (px, py).
bool shows(SDL_Surface* screen, int x, int y, SDL_Surface* picture, int px, int py)
{
    Uint8 r, g, b;
    colour_at(picture, px, py, &r, &g, &b);
    return pixel_at(screen, x, y) == map_colour(screen, r, g, b);
}

}  // namespace

TEST(LevelLoading, TheDataSetsFirstLevelLoadsBehindTheFullBar)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set()) << "the run folder " ABYSSOR_RUN_DIR " lacks the data set: build the game first";
    capture([] {
        load_level_catalogue("SCRIPT/levels.scr");
        load_menu("SCRIPT/menu.scr");
    });
    ASSERT_GE(levels.count, 1);
    ScriptedSession session;
    ScriptedInput& input = session.input;
    Captured log = capture([] { load_level(); });

    std::string images = std::string("SCRIPT/") + levels.entries[0].dir + "/images.scr";
    EXPECT_EQ(0u, log.out.find("script: " + images + " : NAHRAVAM BITMAPY DNA\n")) << log.out;
    std::string weapons = std::string("SCRIPT/") + levels.entries[0].dir + "/weapons.scr";
    EXPECT_NE(std::string::npos, log.out.find("script: " + weapons + " : NALEZENA ZBRAN #0\n"));
    EXPECT_GE(weapon_catalogue.count, 1);
    // With sound off the weapons report each of their sounds as not loaded;
    // nothing else may go wrong.
    std::string problems = log.err;
    const std::string sound_off = "Nepodarilo se nahrat zvuk : ";
    for (size_t at = problems.find(sound_off); at != std::string::npos; at = problems.find(sound_off))
        problems.erase(at, problems.find('\n', at) + 1 - at);
    EXPECT_EQ("", problems);
    EXPECT_GE(bank.dno_last, 0);
    EXPECT_EQ(1000u, input.clock_ms);

    // The bar's last column shows at the bar's place inside the centred loading picture.
    SDL_Surface* picture = menu_script.loading_picture;
    SDL_Surface* bar = menu_script.bar_picture;
    ASSERT_NE(nullptr, picture);
    ASSERT_NE(nullptr, bar);
    int x = 320 - picture->w / 2 + menu_script.bar_x;
    int y = 240 - picture->h / 2 + menu_script.bar_y;
    EXPECT_TRUE(shows(screen.surface, x + bar->w / 2, y + bar->h / 2, bar, bar->w / 2, bar->h / 2));
    EXPECT_TRUE(shows(screen.surface, x + bar->w - 2, y + bar->h / 2, bar, bar->w - 2, bar->h / 2));
    EXPECT_EQ(0u, pixel_at(screen.surface, 2, 2));

    Captured freed = capture([] { free_level(); });
    EXPECT_NE(std::string::npos, freed.out.find("UVOLNEN SKRIPT BITMAP Z PAMETI\n"));
    EXPECT_NE(std::string::npos, freed.out.find("UVOLNEN SKRIPT ZBRANI Z PAMETI\n"));
    EXPECT_EQ(-1, bank.dno_last);
}

TEST(LevelLoading, EachMissingScriptIsReportedInLoadingOrder)
{
    TempDir dir;
    load_catalogue("L1 ALFA 0\n");
    ScriptedSession session;
    Captured log = capture([] { load_level(); });
    EXPECT_EQ(
              prefixed_lines("Nemohu nahrat soubor : ", {"SCRIPT/L1/images.scr", "SCRIPT/L1/weapons.scr",
                                                         "SCRIPT/L1/delo.scr", "SCRIPT/L1/potvory.scr",
                                                         "SCRIPT/L1/panel.scr", "SCRIPT/L1/plane.scr",
                                                         "SCRIPT/L1/bonusy.scr"}),
              log.err);
    capture([] { free_level(); });
}

TEST(LevelRelease, EveryPartOfTheLevelSaysItIsReleasedInAFixedOrder)
{
    TempDir dir;
    Captured log = capture([] { free_level(); });
    char submarine_line[64];
    snprintf(submarine_line, sizeof submarine_line, "UVOLNENO DELO(%p) Z PAMETI\n", (void*)&submarine);
    EXPECT_EQ(std::string("UVOLNEN SKRIPT BONUSU Z PAMETI\n"
                          "UVOLNEN SKRIPT LETADEL Z PAMETI\n"
                          "UVOLNEN SKRIPT POTVOR Z PAMETI\n"
                          "UVOLNEN SKRIPT BITMAP Z PAMETI\n") +
                  submarine_line +
                  "UVOLNEN SKRIPT PANEL Z PAMETI\n"
                  "UVOLNEN SKRIPT ZBRANI Z PAMETI\n",
              log.out);
    EXPECT_EQ("", log.err);
}

namespace {

// Bytes the heap holds for the program now.
size_t heap_in_use()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

}  // namespace

// Every level of the data set loaded and released in turn, a hundred times
// in one process, with sound on: the heap holds no more after the last
// release than after the tenth (the sanitizer build adds its leak check at
// exit).
TEST(LevelLoading, AHundredLoadsAndReleasesLeaveTheHeapAsTheyFoundIt)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set());
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    ASSERT_EQ(0, Mix_OpenAudio(11025, AUDIO_S16SYS, 2, 1024));
    settings.sound = 1;
    capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    ASSERT_GE(levels.count, 2);
    ScriptedSession session;
    size_t after_tenth = 0;
    int weapons_loaded = 0;
    for (int cycle = 1; cycle <= 100; cycle++) {
        game.level_index = cycle % levels.count;
        capture([] { load_level_showing([](int) {}); });
        weapons_loaded += weapon_catalogue.count > 0 && bank.dno[0].bitmap != NULL;
        capture([] { free_level(); });
        if (cycle == 10) after_tenth = heap_in_use();
    }
    size_t after_last = heap_in_use();
    EXPECT_EQ(100, weapons_loaded);
    EXPECT_LE(after_last, after_tenth + 16384) << "grew from " << after_tenth << " to " << after_last;
    EXPECT_EQ(nullptr, bank.dno[0].bitmap);
    Mix_CloseAudio();
    settings = GameSettings();
}
