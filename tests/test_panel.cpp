#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "gun.h"
#include "media.h"
#include "panel.h"
#include "settings.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// Colours by letter: grey background, Red, Green, Blue, Yellow, Magenta,
// White, a digit d as (20 d, 200, 100); a kind t of the tally as 'a' + t.
Uint32 colour(SDL_Surface* s, char k)
{
    if (k >= '0' && k <= '9') return map_colour(s, (Uint8)(20 * (k - '0')), 200, 100);
    if (k >= 'a' && k <= 'c') return map_colour(s, 200, 0, (Uint8)(50 * (k - 'a')));
    const char* letters = "gRGBYMWC";
    const Uint8 rgb[8][3] = {{90, 90, 90}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255},
                             {255, 255, 255}, {0, 255, 255}};
    int i = (int)(strchr(letters, k) - letters);
    return map_colour(s, rgb[i][0], rgb[i][1], rgb[i][2]);
}

// A gauge picture red above row `split`, green below, so that the rows
// drawn tell which part of the picture was taken.
SDL_Surface* two_tone(int w, int h, int split)
{
    SDL_Surface* s = solid_surface(w, h, 255, 0, 0);
    SDL_Rect lower = make_rect(0, split, w, h - split);
    SDL_FillRect(s, &lower, SDL_MapRGB(s->format, 0, 255, 0));
    return s;
}

// Ten digit frames w pixels wide, frame d in the colour of digit d.
SDL_Surface* digit_strip(int w, int h)
{
    SDL_Surface* s = solid_surface(10 * w, h, 0, 0, 0);
    for (int d = 0; d < 10; d++) {
        SDL_Rect frame = make_rect(d * w, 0, w, h);
        SDL_FillRect(s, &frame, SDL_MapRGB(s->format, (Uint8)(20 * d), 200, 100));
    }
    return s;
}

}  // namespace

// The panel of a submarine with full life on a grey screen: a life bar of
// 50 rows at (100, 200), red above its row 40; a heat gauge of 60 rows at
// (305, 105), red above row 30, in a blue frame at (300, 100); a lamp at
// (50, 60); the score in digits 20 wide at (400, 10); air-support icons
// 8 x 5 at (200, 30); timer digits 5 wide; the tally's ten-marks 6 wide
// and unit marks 2 wide after kinds with icons 10 x 12. Each case changes
// the game and lists points with their colours.
TEST(PanelTest, ShowsLifeHeatScoreSupportBonusesAndTheTally)
{
    TestScreen screen;
    panel.life_bar.bitmap = two_tone(10, 50, 40);
    panel.wreck.bitmap = solid_surface(10, 50, 255, 255, 0);
    panel.life_pos = {100, 200};
    panel.heat_frame = solid_surface(20, 70, 0, 0, 255);
    panel.heat_frame_pos = {300, 100};
    panel.heat_fill = two_tone(10, 60, 30);
    panel.heat_fill_pos = {305, 105};
    panel.ready_lamp = solid_surface(6, 6, 255, 255, 255);
    panel.lamp_pos = {50, 60};
    panel.score_digits = digit_strip(20, 12);
    panel.score_pos = {400, 10};
    panel.support_icon = solid_surface(8, 5, 255, 0, 255);
    panel.support_pos = {200, 30};
    panel.timer_digits = digit_strip(5, 7);
    panel.tally_ten = solid_surface(6, 4, 255, 255, 255);
    panel.tally_one = solid_surface(2, 4, 0, 0, 255);
    for (int t = 0; t < 3; t++) creature_types[t].skore_b = solid_surface(10, 12, 200, 0, (Uint8)(50 * t));
    bonus_catalogue.types[0].bitmap = solid_surface(12, 16, 255, 255, 0);
    bonus_catalogue.types[1].bitmap = solid_surface(12, 16, 0, 255, 255);
    weapon_catalogue.weapons[0].zahrivani = 10;
    struct Point {
        int x, y;
        char colour;
    };
    const struct {
        const char* what;
        std::function<void()> change;
        std::vector<Point> points;
    } cases[] = {
        // 50 x 30 / 100 = 15 rows, from picture row 35, 35 rows down.
        {"life 30", [] { submarine.zivoty = 30; }, {{105, 234, 'g'}, {105, 235, 'R'}, {105, 240, 'G'}, {105, 249, 'G'}}},
        {"life 0", [] { submarine.zivoty = 0; }, {{105, 249, 'g'}}},
        {"full life", [] {}, {{105, 200, 'R'}, {105, 199, 'g'}, {310, 164, 'B'}, {52, 62, 'W'}, {400, 10, '0'}, {420, 10, 'g'}}},
        {"wreck", [] { submarine.active = 0; }, {{105, 200, 'Y'}, {105, 249, 'Y'}}},
        {"heat 100", [] { GunHeat = 100; }, {{310, 105, 'R'}, {310, 135, 'G'}}},
        {"no limits", [] { submarine.max_zivoty = 0; settings.max_teplota = 0; GunHeat = 7; },
         {{105, 249, 'g'}, {310, 164, 'B'}}},
        // The lamp is lit while one more shot stays below the limit.
        {"heat 89", [] { GunHeat = 89; }, {{52, 62, 'W'}}},
        {"heat 90", [] { GunHeat = 90; }, {{52, 62, 'g'}}},
        {"score -40", [] { game.score = -40; }, {{400, 10, '0'}, {420, 10, 'g'}}},
        // Icons one pixel apart, at 200, 209 and 218; endless support fills the row.
        {"support 3", [] { game.laser_energy = 3; },
         {{207, 30, 'M'}, {208, 30, 'g'}, {209, 30, 'M'}, {225, 34, 'M'}, {226, 30, 'g'}}},
        {"support endless", [] { panel.support_pos = {-2000000000, 30}; game.laser_energy = 2147483647; },
         {{0, 30, 'M'}, {639, 30, 'M'}}},
        // Collected bonuses stack up from the bottom, their timers one pixel
        // right of the icon: 387 and 95 frames left.
        {"bonuses", [] {
             game.frame = 1000;
             bonuses[1] = {0, 0, 1, 1387, 1, 1};
             bonuses[3] = {0, 0, 0, 1200, 1, 0};  // floating: not on the panel
             bonuses[4] = {0, 0, 0, 1095, 1, 1};
         },
         {{1, 463, 'C'}, {12, 478, 'C'}, {1, 447, 'Y'}, {1, 446, 'g'}, {14, 463, '3'}, {19, 463, '8'}, {24, 463, '7'},
          {14, 447, '9'}, {19, 447, '5'}, {24, 447, 'g'}}},
        // Rows from 240 - 12 x 2 / 2 = 228: 23 left of the first kind, none
        // of the second (its row stays empty), one of the third.
        {"tally", [] {
             creature_types[0].pocet = 30;
             creature_types[0].finished = 7;
             creature_types[1].pocet = creature_types[1].finished = 4;
             creature_types[2].pocet = 1;
         },
         {{1, 228, 'a'}, {12, 228, 'W'}, {23, 228, 'W'}, {24, 228, 'g'}, {25, 228, 'B'}, {30, 228, 'B'}, {31, 228, 'g'},
          {1, 240, 'g'}, {1, 252, 'c'}, {12, 252, 'g'}, {13, 252, 'B'}, {15, 252, 'g'}}},
        {"tally hidden", [] { creature_types[0].pocet = 5; game.show_tally = 0; }, {{1, 228, 'g'}}},
        {"tally huge", [] { creature_types[0].pocet = 2147483647; creature_types[0].finished = -2147483647 - 1; },
         {{12, 228, 'W'}, {639, 228, 'W'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SDL_FillRect(screen.surface, NULL, colour(screen.surface, 'g'));
        submarine.active = 1;
        submarine.zivoty = submarine.max_zivoty = settings.max_teplota = 100;
        GunHeat = game.score = game.laser_energy = 0;
        game.show_tally = 1;
        panel.support_pos = {200, 30};
        for (Bonus& bonus : bonuses) bonus = Bonus();
        for (int t = 0; t < 3; t++) creature_types[t].pocet = creature_types[t].finished = 0;
        creature_type_last = 2;
        c.change();
        draw_panel(screen.surface, 0, submarine);
        for (const Point& p : c.points) EXPECT_EQ(colour(screen.surface, p.colour), pixel_at(screen.surface, p.x, p.y)) << p.x << "," << p.y;
        EXPECT_GE(game.score, 0);  // a negative score stays 0
    }
}

// Thirteen keyed pictures (the third may be "NULL") and nine positions,
// in order; a position beyond any screen is held at a million off.
TEST(PanelScript, ReadsThirteenPicturesAndNinePositions)
{
    TempDir dir;
    TestScreen screen;
    std::string script;
    for (int i = 0; i < 13; i++) {
        write_solid_bmp("GFX/" + std::to_string(i) + ".bmp", 10 + i, 5, 200, 0, 0);
        script += i == 2 ? "NULL\n" : "GFX/" + std::to_string(i) + ".bmp\n";
    }
    write_file("panel.scr", script + "1,2\n3,4\n5,6\n7,8\n9,10\n11,12\n13,14\n15,16\n-17,2147483647\n");
    Captured log = capture([] { load_panel("panel.scr"); });
    EXPECT_EQ("", log.out + log.err);
    const Panel& p = panel;
    EXPECT_EQ((std::vector<long long>{10, 11, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}),
              (std::vector<long long>{p.background->w, p.heat_frame->w, p.score_frame->w, p.heat_fill->w,
                                      p.ready_lamp->w, p.life_bar.bitmap->w, p.wreck.bitmap->w, p.support_icon->w,
                                      p.score_digits->w, p.timer_digits->w, p.tally_one->w, p.tally_ten->w}));
    EXPECT_EQ((std::vector<long long>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, -17, 1000000}),
              (std::vector<long long>{p.background_pos.x, p.background_pos.y, p.life_pos.x, p.life_pos.y, p.support_pos.x,
                                      p.support_pos.y, p.heat_frame_pos.x, p.heat_frame_pos.y, p.spare_pos.x,
                                      p.spare_pos.y, p.heat_fill_pos.x, p.heat_fill_pos.y, p.lamp_pos.x, p.lamp_pos.y,
                                      p.score_frame_pos.x, p.score_frame_pos.y, p.score_pos.x, p.score_pos.y}));
    EXPECT_EQ(nullptr, p.spare);
    EXPECT_NE(0u, p.background->flags & SDL_SRCCOLORKEY);
    Captured released = capture([] { free_panel(); });
    EXPECT_EQ("UVOLNEN SKRIPT PANEL Z PAMETI\n", released.out);
    EXPECT_EQ((std::vector<SDL_Surface*>{NULL, NULL, NULL}), (std::vector<SDL_Surface*>{p.background, p.life_bar.bitmap, p.tally_ten}));
    Captured missing = capture([] { load_panel("SCRIPT/X/panel.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/X/panel.scr\n", missing.err);
    EXPECT_EQ(-17, p.score_pos.x);
}

