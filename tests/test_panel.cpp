#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "gun.h"
#include "level.h"
#include "media.h"
#include "panel.h"
#include "settings.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

const Uint8 GREY[3] = {90, 90, 90};

// A gauge picture whose rows above `split` are red and the rest green, so
// that the rows drawn tell which part of the picture was taken.
SDL_Surface* two_tone(int w, int h, int split)
{
    SDL_Surface* s = solid_surface(w, h, 255, 0, 0);
    SDL_Rect lower = make_rect(0, split, w, h - split);
    SDL_FillRect(s, &lower, SDL_MapRGB(s->format, 0, 255, 0));
    return s;
}

// Ten digit frames w pixels wide, frame d in the colour (20 d, 200, 100).
SDL_Surface* digit_strip(int w, int h)
{
    SDL_Surface* s = solid_surface(10 * w, h, 0, 0, 0);
    for (int d = 0; d < 10; d++) {
        SDL_Rect frame = make_rect(d * w, 0, w, h);
        SDL_FillRect(s, &frame, SDL_MapRGB(s->format, (Uint8)(20 * d), 200, 100));
    }
    return s;
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SDL_FillRect(screen.surface, NULL, grey());
        settings.max_teplota = 100;
        submarine.active = 1;
        submarine.zivoty = submarine.max_zivoty = 100;
        game.score = 0;
        game.laser_energy = 0;
        game.show_tally = 1;
        game.frame = 0;
        creature_type_last = -1;
        GunHeat = 0;
    }
    void TearDown() override
    {
        capture([] { free_panel(); });
        // The pictures kept went into the game's catalogues: the reset
        // before the next test frees them with the catalogues.
    }
    SDL_Surface* keep(SDL_Surface* s)
    {
        owned.push_back(s);
        return s;
    }
    Uint32 grey() { return map_colour(screen.surface, GREY[0], GREY[1], GREY[2]); }
    Uint32 red() { return map_colour(screen.surface, 255, 0, 0); }
    Uint32 green() { return map_colour(screen.surface, 0, 255, 0); }
    Uint32 digit(int d) { return map_colour(screen.surface, (Uint8)(20 * d), 200, 100); }
    Uint32 at(int x, int y) { return pixel_at(screen.surface, x, y); }
    void draw() { draw_panel(screen.surface, 0, submarine); }

    TestScreen screen;
    std::vector<SDL_Surface*> owned;
};

}  // namespace

// The life bar (50 rows at (100, 200), red above picture row 40, green
// below) and the heat gauge (60 rows at (305, 105) in a blue frame, red above
// row 30) show their bottom rows in proportion; limits of 0 show nothing.
TEST_F(PanelTest, GaugesShowTheirBottomRowsInProportion)
{
    panel.life_bar.bitmap = two_tone(10, 50, 40);
    panel.life_pos = {100, 200};
    panel.heat_frame = solid_surface(20, 70, 0, 0, 255);
    panel.heat_frame_pos = {300, 100};
    panel.heat_fill = two_tone(10, 60, 30);
    panel.heat_fill_pos = {305, 105};
    struct Point {
        int x, y;
        char colour;  // grey, Red, Green, Blue
    };
    const struct {
        int zivoty, max_zivoty, heat, max_teplota;
        std::vector<Point> points;
    } cases[] = {
        // 50 x 30 / 100 = 15 rows, from row 35 of the picture, 35 rows down.
        {30, 100, 0, 100, {{105, 234, 'g'}, {105, 235, 'R'}, {105, 240, 'G'}, {105, 249, 'G'}, {105, 250, 'g'}}},
        {0, 100, 0, 100, {{105, 249, 'g'}}},
        {50, 100, 0, 100, {{105, 224, 'g'}, {105, 225, 'R'}}},
        {100, 100, 0, 100, {{105, 200, 'R'}, {105, 199, 'g'}}},
        {100, 100, 0, 100, {{310, 164, 'B'}}},  // cold: the frame only
        {100, 100, 50, 100, {{310, 134, 'B'}, {310, 135, 'G'}, {310, 164, 'G'}}},
        {100, 100, 100, 100, {{310, 105, 'R'}, {310, 135, 'G'}}},
        {5, 0, 7, 0, {{105, 249, 'g'}, {310, 164, 'B'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        SDL_FillRect(screen.surface, NULL, grey());
        submarine.zivoty = c.zivoty;
        submarine.max_zivoty = c.max_zivoty;
        GunHeat = c.heat;
        settings.max_teplota = c.max_teplota;
        draw();
        for (const Point& point : c.points) {
            Uint32 expected = point.colour == 'R' ? red() : point.colour == 'G' ? green()
                            : point.colour == 'B' ? map_colour(screen.surface, 0, 0, 255) : grey();
            EXPECT_EQ(expected, at(point.x, point.y)) << point.x << "," << point.y;
        }
    }
}

TEST_F(PanelTest, AWreckStandsForTheLostSubmarine)
{
    panel.life_bar.bitmap = two_tone(10, 50, 40);
    panel.wreck.bitmap = solid_surface(10, 50, 255, 255, 0);
    panel.life_pos = {100, 200};
    submarine.active = 0;
    draw();
    EXPECT_EQ(at(105, 200), map_colour(screen.surface, 255, 255, 0));
    EXPECT_EQ(at(105, 249), map_colour(screen.surface, 255, 255, 0));
}

TEST_F(PanelTest, ReadyLampLightsWhileOneMoreShotStaysBelowTheLimit)
{
    panel.ready_lamp = solid_surface(6, 6, 255, 255, 255);
    panel.lamp_pos = {50, 60};
    weapon_catalogue.weapons[0].zahrivani = 10;
    GunHeat = 90;  // 90 + 10 reaches the limit of 100
    draw();
    EXPECT_EQ(at(52, 62), grey());
    GunHeat = 89;
    draw();
    EXPECT_EQ(at(52, 62), map_colour(screen.surface, 255, 255, 255));
}

TEST_F(PanelTest, ScoreIsWrittenDigitByDigit)
{
    panel.score_digits = digit_strip(20, 12);
    panel.score_pos = {400, 10};
    game.score = 1205;
    draw();
    EXPECT_EQ(at(400, 10), digit(1));
    EXPECT_EQ(at(419, 21), digit(1));
    EXPECT_EQ(at(420, 10), digit(2));
    EXPECT_EQ(at(440, 10), digit(0));
    EXPECT_EQ(at(460, 10), digit(5));
    EXPECT_EQ(at(480, 10), grey());
}

TEST_F(PanelTest, ANegativeScoreShowsAndStaysZero)
{
    panel.score_digits = digit_strip(20, 12);
    panel.score_pos = {400, 10};
    game.score = -40;
    draw();
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(at(400, 10), digit(0));
    EXPECT_EQ(at(420, 10), grey());
}

TEST_F(PanelTest, OneIconPerAirSupportCallLeft)
{
    panel.support_icon = solid_surface(8, 5, 255, 0, 255);
    panel.support_pos = {200, 30};
    game.laser_energy = 3;  // at 200, 209, 218, one pixel apart
    draw();
    Uint32 icon = map_colour(screen.surface, 255, 0, 255);
    EXPECT_EQ(at(207, 30), icon);
    EXPECT_EQ(at(208, 30), grey());
    EXPECT_EQ(at(209, 30), icon);
    EXPECT_EQ(at(225, 34), icon);
    EXPECT_EQ(at(226, 30), grey());
    EXPECT_EQ(at(227, 30), grey());
}

TEST_F(PanelTest, EndlessAirSupportFillsTheRowAndNoMore)
{
    panel.support_icon = solid_surface(8, 5, 255, 0, 255);
    panel.support_pos = {-2000000000, 30};
    game.laser_energy = 2147483647;
    draw();
    EXPECT_EQ(at(0, 30), map_colour(screen.surface, 255, 0, 255));
    EXPECT_EQ(at(639, 30), map_colour(screen.surface, 255, 0, 255));
}

TEST_F(PanelTest, TheSelectedWeaponSitsInTheTopRightCorner)
{
    weapon_catalogue.weapons[2].menu = keep(solid_surface(40, 30, 0, 0, 255));
    draw_panel(screen.surface, 2, submarine);
    EXPECT_EQ(at(600, 0), map_colour(screen.surface, 0, 0, 255));
    EXPECT_EQ(at(639, 29), map_colour(screen.surface, 0, 0, 255));
    EXPECT_EQ(at(599, 0), grey());
    EXPECT_EQ(at(600, 30), grey());
}

TEST_F(PanelTest, CollectedBonusesStackUpFromTheBottomWithTheirTimers)
{
    panel.timer_digits = digit_strip(5, 7);
    bonus_catalogue.types[0].bitmap = keep(solid_surface(12, 16, 255, 255, 0));
    bonus_catalogue.types[1].bitmap = keep(solid_surface(12, 16, 0, 255, 255));
    game.frame = 1000;
    bonuses[1] = {0, 0, 1, 1387, 1, 1};  // 387 frames left
    bonuses[3] = {0, 0, 0, 1200, 1, 0};  // floating: not on the panel
    bonuses[4] = {0, 0, 0, 1095, 1, 1};  // 95 left
    draw();
    EXPECT_EQ(at(1, 463), map_colour(screen.surface, 0, 255, 255));
    EXPECT_EQ(at(12, 478), map_colour(screen.surface, 0, 255, 255));
    EXPECT_EQ(at(1, 447), map_colour(screen.surface, 255, 255, 0));
    EXPECT_EQ(at(1, 446), grey());
    // Timers start one pixel right of the icon: 3, 8, 7 and 9, 5.
    EXPECT_EQ(at(14, 463), digit(3));
    EXPECT_EQ(at(19, 463), digit(8));
    EXPECT_EQ(at(24, 463), digit(7));
    EXPECT_EQ(at(14, 447), digit(9));
    EXPECT_EQ(at(19, 447), digit(5));
    EXPECT_EQ(at(24, 447), grey());
}

namespace {

// Kinds with 12-pixel icons, ten-marks 6 wide and unit marks 2 wide.
class TallyTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        panel.tally_ten = solid_surface(6, 4, 255, 255, 255);
        panel.tally_one = solid_surface(2, 4, 0, 0, 255);
        for (int t = 0; t < 3; t++) creature_types[t].skore_b = keep(solid_surface(10, 12, 200, 0, (Uint8)(50 * t)));
        creature_type_last = 2;
    }
    Uint32 kind(int t) { return map_colour(screen.surface, 200, 0, (Uint8)(50 * t)); }
    Uint32 ten() { return map_colour(screen.surface, 255, 255, 255); }
    Uint32 one() { return map_colour(screen.surface, 0, 0, 255); }
};

}  // namespace

TEST_F(TallyTest, MarksTensAndUnitsOfTheCreaturesLeft)
{
    creature_types[0].pocet = 30;
    creature_types[0].finished = 7;  // 23 left
    creature_types[1].pocet = 4;
    creature_types[1].finished = 4;  // none left: its row stays empty
    creature_types[2].pocet = 1;
    draw();
    // Rows from 240 - 12 x 2 / 2 = 228, one icon height apart.
    EXPECT_EQ(at(1, 228), kind(0));
    EXPECT_EQ(at(12, 228), ten());  // x = 1 + 10 + 1
    EXPECT_EQ(at(23, 228), ten());
    EXPECT_EQ(at(24, 228), grey());  // the gap after the tens
    EXPECT_EQ(at(25, 228), one());
    EXPECT_EQ(at(30, 228), one());
    EXPECT_EQ(at(31, 228), grey());
    EXPECT_EQ(at(1, 240), grey());
    EXPECT_EQ(at(1, 252), kind(2));
    EXPECT_EQ(at(12, 252), grey());  // no tens
    EXPECT_EQ(at(13, 252), one());
    EXPECT_EQ(at(15, 252), grey());
}

TEST_F(TallyTest, HiddenUntilTheGameLoopAllowsIt)
{
    creature_types[0].pocet = 5;
    game.show_tally = 0;
    draw();
    EXPECT_EQ(at(1, 228), grey());
}

TEST_F(TallyTest, AHugeQuotaFillsTheRowAndNoMore)
{
    creature_types[0].pocet = 2147483647;
    creature_types[0].finished = -2147483647 - 1;
    draw();
    EXPECT_EQ(at(12, 228), ten());
    EXPECT_EQ(at(639, 228), ten());
}

TEST(PanelScript, ReadsThirteenPicturesAndNinePositions)
{
    TempDir dir;
    TestScreen screen;
    const char* names[13] = {"back", "frame", "NULL", "score", "fill", "lamp", "life",
                             "wreck", "plane", "digits", "small", "one", "ten"};
    std::string script;
    for (int i = 0; i < 13; i++) {
        if (i != 2) write_solid_bmp(std::string("GFX/") + names[i] + ".bmp", 10 + i, 5, 200, 0, 0);
        script += i == 2 ? std::string("NULL\n") : std::string("GFX/") + names[i] + ".bmp\n";
    }
    script += "1,2\n3,4\n5,6\n7,8\n9,10\n11,12\n13,14\n15,16\n-17,18\n";
    write_file("SCRIPT/L/panel.scr", script);
    Captured log = capture([] { load_panel("SCRIPT/L/panel.scr"); });
    EXPECT_EQ(log.out, "");
    EXPECT_EQ(log.err, "");
    EXPECT_EQ(panel.background->w, 10);
    EXPECT_EQ(panel.heat_frame->w, 11);
    EXPECT_EQ(panel.spare, nullptr);
    EXPECT_EQ((std::vector<long long>{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 2, 3, 5, 7, 9, 11, 13, 15, -17, 18}),
              (std::vector<long long>{panel.score_frame->w, panel.heat_fill->w, panel.ready_lamp->w,
                                      panel.life_bar.bitmap->w, panel.wreck.bitmap->w, panel.support_icon->w,
                                      panel.score_digits->w, panel.timer_digits->w, panel.tally_one->w,
                                      panel.tally_ten->w, panel.background_pos.y, panel.life_pos.x,
                                      panel.support_pos.x, panel.heat_frame_pos.x, panel.spare_pos.x,
                                      panel.heat_fill_pos.x, panel.lamp_pos.x, panel.score_frame_pos.x,
                                      panel.score_pos.x, panel.score_pos.y}));
    // Pictures are colour-keyed: their top-left colour is transparent.
    EXPECT_TRUE(panel.background->flags & SDL_SRCCOLORKEY);

    Captured released = capture([] { free_panel(); });
    EXPECT_EQ(released.out, "UVOLNEN SKRIPT PANEL Z PAMETI\n");
    EXPECT_EQ(panel.background, nullptr);
    EXPECT_EQ(panel.life_bar.bitmap, nullptr);
    EXPECT_EQ(panel.life_bar.frames, 1);
    EXPECT_EQ(panel.tally_ten, nullptr);
}

TEST(PanelScript, OnlyTheThirdPictureMayBeLeftOut)
{
    TempDir dir;
    TestScreen screen;
    write_solid_bmp("GFX/a.bmp", 4, 4, 200, 0, 0);
    std::string script = "NULL\n";
    for (int i = 1; i < 13; i++) script += "GFX/a.bmp\n";
    Captured log = capture([&] {
        write_file("panel.scr", script);
        load_panel("panel.scr");
    });
    EXPECT_EQ(log.err.find("Nemohu nahrat soubor : NULL. Chyba: "), 0u);
    EXPECT_EQ(panel.background, nullptr);
    EXPECT_NE(panel.heat_frame, nullptr);
    EXPECT_NE(panel.spare, nullptr);  // a real name in the third line is loaded
    capture([] { free_panel(); });
}

TEST(PanelScript, AMissingScriptIsReportedAndChangesNothing)
{
    TempDir dir;
    panel.score_pos = {7, 8};
    Captured log = capture([] { load_panel("SCRIPT/X/panel.scr"); });
    EXPECT_EQ(log.err, "Nemohu nahrat soubor : SCRIPT/X/panel.scr\n");
    EXPECT_EQ(panel.score_pos.x, 7);
}

// A script may put elements anywhere at all: far off the screen they show
// nothing, and no sum of a position and a picture's size overflows.
TEST(PanelScript, PositionsAtTheEndsOfTheNumbersDrawNothing)
{
    TempDir dir;
    TestScreen screen;
    write_solid_bmp("GFX/a.bmp", 20, 26, 200, 0, 0);
    std::string script;
    for (int i = 0; i < 13; i++) script += "GFX/a.bmp\n";
    for (int i = 0; i < 9; i++) script += i % 2 ? "2147483647,2147483647\n" : "-2147483648,2147483647\n";
    write_file("panel.scr", script);
    capture([] { load_panel("panel.scr"); });
    EXPECT_EQ(panel.life_pos.y, 1000000);
    EXPECT_EQ(panel.background_pos.x, -1000000);
    SDL_FillRect(screen.surface, NULL, 0);
    submarine.active = 1;
    submarine.zivoty = submarine.max_zivoty = 100;
    settings.max_teplota = 100;
    game.score = 987654;
    game.laser_energy = 3;
    draw_panel(screen.surface, 0, submarine);
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 7) ASSERT_EQ(pixel_at(screen.surface, x, y), 0u) << x << "," << y;
    panel.background_pos = {0, 0};
    draw_panel(screen.surface, 0, submarine);
    EXPECT_EQ(pixel_at(screen.surface, 5, 5), map_colour(screen.surface, 200, 0, 0));
    capture([] { free_panel(); });
}

// Every level's panel script names pictures that exist, puts every element
// on the screen, and its digit strips divide into ten frames.
TEST(PanelDataSet, EveryLevelHasAWholePanel)
{
    TempDir dir;
    TestScreen screen;
    ASSERT_TRUE(copy_data_set());
    capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    ASSERT_GT(levels.count, 0);
    for (int level = 0; level < levels.count; level++) {
        char path[LEVEL_PATH_SIZE];
        level_script_path("panel.scr", path, level);
        Captured log = capture([&] { load_panel(path); });
        EXPECT_EQ(log.err, "") << path;
        SDL_Surface* pictures[12] = {panel.background, panel.heat_frame,  panel.score_frame,
                                     panel.heat_fill,  panel.ready_lamp,  panel.life_bar.bitmap,
                                     panel.wreck.bitmap, panel.support_icon, panel.score_digits,
                                     panel.timer_digits, panel.tally_one, panel.tally_ten};
        for (SDL_Surface* picture : pictures) ASSERT_NE(picture, nullptr) << path;
        EXPECT_EQ(panel.score_digits->w % 10, 0) << path;
        EXPECT_EQ(panel.timer_digits->w % 10, 0) << path;
        PanelPosition positions[8] = {panel.background_pos, panel.life_pos,  panel.support_pos,
                                      panel.heat_frame_pos, panel.heat_fill_pos, panel.lamp_pos,
                                      panel.score_frame_pos, panel.score_pos};
        for (const PanelPosition& p : positions) {
            EXPECT_TRUE(p.x >= 0 && p.x < 640 && p.y >= 0 && p.y < 480) << path << " " << p.x << "," << p.y;
        }
        capture([] { free_panel(); });
    }
}
