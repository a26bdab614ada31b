#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game_state.h"
#include "gun.h"
#include "media.h"
#include "panel.h"
#include "settings.h"
#include "submarine.h"
#include "support.h"
#include "weapons.h"

namespace {

// Colours by letter: grey background, Red, Green, Blue, Yellow, White; a
// digit d as (20 d, 200, 100).
Uint32 colour(SDL_Surface* s, char k)
{
    if (k >= '0' && k <= '9') return map_colour(s, (Uint8)(20 * (k - '0')), 200, 100);
    const char* letters = "gRGBYW";
    const Uint8 rgb[6][3] = {{90, 90, 90}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 255, 255}};
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
// (50, 60); the score in digits 20 wide at (400, 10). Each case changes the
// game and lists points with their colours.
TEST(PanelTest, ShowsLifeHeatAndScore)
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
    weapon_catalogue.weapons[0].zahrivani = 10;
    const struct {
        const char* what;
        std::function<void()> change;
        std::vector<std::tuple<int, int, char>> points;
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SDL_FillRect(screen.surface, NULL, colour(screen.surface, 'g'));
        submarine.active = 1;
        submarine.zivoty = submarine.max_zivoty = settings.max_teplota = 100;
        GunHeat = game.score = 0;
        c.change();
        draw_panel(screen.surface, 0, submarine);
        for (auto [x, y, k] : c.points) EXPECT_EQ(colour(screen.surface, k), pixel_at(screen.surface, x, y)) << x << "," << y;
        EXPECT_GE(game.score, 0);  // a negative score stays 0
    }
}

// Thirteen keyed pictures, the third of which may be "NULL", then nine
// positions; a position beyond any screen is held at a million off.
TEST(PanelScript, ReadsThirteenPicturesAndNinePositions)
{
    TempDir dir;
    TestScreen screen;
    write_solid_bmp("GFX/p.bmp", 10, 5, 200, 0, 0);
    std::string script;
    for (int i = 0; i < 13; i++) script += i == 2 ? "NULL\n" : "GFX/p.bmp\n";
    write_file("panel.scr", script + "1,2\n3,4\n5,6\n7,8\n9,10\n11,12\n13,14\n15,16\n-17,2147483647\n");
    EXPECT_EQ("", capture([] { load_panel("panel.scr"); }).err);
    EXPECT_FIELDS({"spare set", 0, panel.spare != NULL}, {"tally_ten width", 10, panel.tally_ten->w},
                  {"lamp_pos.x", 13, panel.lamp_pos.x}, {"lamp_pos.y", 14, panel.lamp_pos.y},
                  {"score_pos.x", -17, panel.score_pos.x}, {"score_pos.y", 1000000, panel.score_pos.y});
    capture([] { free_panel(); });
}
