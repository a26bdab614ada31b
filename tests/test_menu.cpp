#include <gtest/gtest.h>

#include <string>

#include "menu.h"
#include "support.h"

namespace {

Captured load(const std::string& text) { return load_script("SCRIPT/menu.scr", text, load_menu); }

// The pictures by width ("k" when keyed, "-" for none), then every place.
std::string menu_state()
{
    const MenuScript& m = menu_script;
    std::string state;
    for (SDL_Surface* p : {m.main_picture, m.highlight_picture, m.topten_picture, m.code_picture, m.loading_picture,
                           m.bar_picture, m.help_picture, m.font, m.highscore_picture})
        state += p == NULL ? "- " : std::to_string(p->w) + ((p->flags & SDL_SRCCOLORKEY) != 0 ? "k " : " ");
    for (int v : {m.bar_x, m.bar_y, m.name_x, m.name_y, m.table_x, m.table_y, m.table_spacing, m.code_x, m.code_y, m.code_width})
        state += std::to_string(v) + ",";
    for (const MenuButton& b : m.buttons) state += " " + std::to_string(b.x) + "," + std::to_string(b.y) + "," + std::to_string(b.w) + "," + std::to_string(b.h);
    return state;
}

// Buttons stacked 50 pixels apart, 200 x 40 each.
const char* BUTTONS = "b_new_game 100,50,200,40 b_kod 100,100,200,40 b_top-ten 100,150,200,40 b_pomoc 100,200,200,40 "
                      "b_exit 100,250,200,40\n";

}  // namespace

// The loading picture and its bar are keyed, the other pictures not; keys
// act inside longer words and one word may hold several; a missing picture
// leaves its field empty without the loaded line.
TEST(MenuScript, ReadsEveryKeyAndReportsEachPicture)
{
    TempDir dir;
    for (int i = 1; i <= 6; i++) write_solid_bmp("GFX/" + std::to_string(i) + ".bmp", i, 8, 0, 0, 200);
    const struct {
        std::string script, out, err, state;
    } cases[] = {
        {"loading GFX/5.bmp\nload_bar GFX/6.bmp\nload_souradnice 12,34\n" + std::string(BUTTONS),
         prefixed_lines("SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa ", {"GFX/5.bmp", "GFX/6.bmp"}), "",
         "- - - - 5k 6k - - - 12,34,0,0,0,0,0,0,0,0, 100,50,200,40 100,100,200,40 100,150,200,40 100,200,200,40 100,250,200,40"},
        // "b_kod" is tested before "b_exit".
        {"xmain1x GFX/1.bmp main1+main2 GFX/1.bmp GFX/2.bmp b_exitb_kod 1,2,3,4 5,6,7,8 help chybi.bmp",
         prefixed_lines("SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa ", {"GFX/1.bmp", "GFX/1.bmp", "GFX/2.bmp"}),
         "Nemohu nahrat soubor : chybi.bmp. Chyba: Couldn't open chybi.bmp\n",
         "1 2 - - - - - - - 0,0,0,0,0,0,0,0,0,0, 0,0,0,0 1,2,3,4 0,0,0,0 0,0,0,0 5,6,7,8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        reset_menu();
        Captured log = load(c.script);
        EXPECT_EQ(c.out, log.out);
        EXPECT_EQ(c.err, log.err);
        EXPECT_EQ(c.state, menu_state());
    }
    // The release frees the pictures and keeps the places for the next visit;
    // an unreadable file leaves the record as it was.
    load(cases[0].script);
    free_menu();
    Captured log = capture([] { load_menu("SCRIPT/chybi.scr"); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/chybi.scr\n", log.err);
    EXPECT_EQ("- - - - - - - - - " + cases[0].state.substr(cases[0].state.find("12,34")), menu_state());
}

// With audio on the sounds load, a missing one with its line. The release
// frees only the menu's own sounds, and a reload replaces the announcement
// it kept.
TEST(MenuScript, SoundsLoadWithAudioOnAndTheReleaseKeepsTheAnnouncements)
{
    TempDir dir;
    ASSERT_TRUE(open_audio());
    write_wav("SFX/m.wav", 600);
    EXPECT_EQ("Nemohu nahrat soubor : SFX/chybi.wav !!!\n", load("menu_sound SFX/m.wav button_sound SFX/m.wav press_sound "
                                                                 "SFX/m.wav prepare SFX/m.wav gameover NULL over_heat SFX/chybi.wav").err);
    free_menu();
    EXPECT_FIELDS({"menu_sound set", 0, menu_script.menu_sound != NULL}, {"button_sound set", 0, menu_script.button_sound != NULL},
                  {"press_sound set", 0, menu_script.press_sound != NULL}, {"prepare_sound set", 1, menu_script.prepare_sound != NULL});
    load("prepare SFX/m.wav");
    EXPECT_NE(nullptr, menu_script.prepare_sound);
    close_audio();
}

// The loading picture (200 x 100, blue) is centred on a cleared screen with
// the bar (100 x 10, red) 50, 40 from its corner, filled to the percentage.
TEST(LoadingScreen, FillsTheBarToThePercentage)
{
    TempDir dir;
    TestScreen screen;
    draw_loading_screen(screen.surface, 50);  // without pictures: only cleared
    write_solid_bmp("GFX/loading.bmp", 200, 100, 0, 0, 200);
    write_solid_bmp("GFX/bar.bmp", 100, 10, 200, 0, 0);
    load("loading GFX/loading.bmp load_bar GFX/bar.bmp load_souradnice 50,40\n");
    const int xs[6] = {5, 221, 271, 289, 290, 369}, ys[6] = {5, 191, 231, 235, 235, 239};
    for (int percentage : {0, 20, 100, 500}) {
        std::string shown;  // black, Blue or Red at each point
        draw_loading_screen(screen.surface, percentage);
        for (int i = 0; i < 6; i++) shown += "0BR"[(pixel_at(screen.surface, xs[i], ys[i]) == map_colour(screen.surface, 0, 0, 200)) + 2 * (pixel_at(screen.surface, xs[i], ys[i]) == map_colour(screen.surface, 200, 0, 0))];
        EXPECT_EQ(percentage == 0 ? "0BBBBB" : percentage == 20 ? "0BRRBB" : "0BRRRR", shown) << percentage << " %";
    }
    draw_loading_screen(NULL, 50);
}
