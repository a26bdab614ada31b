#include <gtest/gtest.h>

#include <string>

#include "game_state.h"
#include "level.h"
#include "level_code.h"
#include "menu.h"
#include "support.h"

namespace {

const std::string CODE31 = "Abcdefghijklmnopqrstuvwxyz01234";  // 31 characters

class LevelCodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        write_file("SCRIPT/levels.scr", "LEVEL1 PRILIV 1500\nLEVEL2 KORAL 3500\nLEVEL3 KOTVA 6000\n"
                                        "LEVEL4 HLUBINA 11000\nLEVEL5 " + CODE31 + " 20000\nLEVEL6 KORAL 7\n");
        capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    }
    TempDir dir;
};

}  // namespace

// A code matches only whole and in its case; the level it names starts with
// the credits of the levels before it (held at the integer limit), the first
// of two levels sharing a code wins, and each level looked at says "...NO"
// or "...OK".
TEST_F(LevelCodeTest, ACodeStartsItsLevelWithTheCreditsOfTheLevelsBeforeIt)
{
    const std::string refused = "...NO\n...NO\n...NO\n...NO\n...NO\n...NO\n";
    const struct {
        std::string typed;
        int score, level_index;
        std::string said;
    } cases[] = {
        {"PRILIV", 0, 0, "...OK\n"},
        {"HLUBINA", 1500 + 3500 + 6000, 3, "...NO\n...NO\n...NO\n...OK\n"},
        {"KOTVA", 5000, 2, "...NO\n...NO\n...OK\n"},
        {"KORAL", 1500, 1, "...NO\n...OK\n"},
        {CODE31, 1500 + 3500 + 6000 + 11000, 4, "...NO\n...NO\n...NO\n...NO\n...OK\n"},
        {"priliv", -1, 5, refused}, {"KOTV", -1, 5, refused},  {"KOTVAA", -1, 5, refused},
        {"Kotva", -1, 5, refused},  {" KOTVA", -1, 5, refused}, {"", -1, 5, refused},
        {CODE31 + "5", -1, 5, refused}, {CODE31.substr(0, 30), -1, 5, refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        game.level_index = 5;
        int score = 0;
        Captured log = capture([&] { score = match_level_code(c.typed.c_str()); });
        EXPECT_EQ(c.score, score);
        EXPECT_EQ(c.level_index, game.level_index);
        EXPECT_EQ(c.said, log.out + log.err);
    }
    write_file("SCRIPT/levels.scr", "A a 2000000000\nB b 2000000000\nC c 5\n");
    capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    int score = 0;
    capture([&] { score = match_level_code("c"); });
    EXPECT_EQ(2147483647, score);
}

// The code screen on a grey picture with a white block font (glyphs 6
// pixels wide), the field at (230, 246): the word typed once it shows stands
// in it and, on Return, names its level (a Return tapped twice on the menu
// is no part of it). A window closed before or while typing, or no input at
// all, choose no level; what follows the close request is not read.
TEST_F(LevelCodeTest, TheCodeScreenChoosesOnlyALevelWhoseCodeWasTyped)
{
    TestScreen screen;
    write_solid_bmp("GFX/kod.bmp", 640, 480, 90, 90, 90);
    write_block_font("GFX/font.bmp", 6, 10, 255, 255, 255);
    write_file("SCRIPT/menu.scr", "code GFX/kod.bmp font GFX/font.bmp c_pos 230,246,400\n");
    capture([] { load_menu("SCRIPT/menu.scr"); });
    const struct {
        const char* what;
        const char* typed;
        bool quit_before, quit_after;
        int result, level_index, left;
        const char* said;
    } cases[] = {
        {"the code", "KOTVA", false, false, 5000, 2, 1, "...NO\n...NO\n...OK\n"},
        {"a wrong code", "kotva", false, false, -1, 5, 1, "...NO\n...NO\n...NO\n...NO\n...NO\n...NO\n"},
        {"closed while typing", "KOTVA", false, true, -1, 5, 2, ""},
        {"closed before typing", "", true, false, -1, 5, 0, ""},
        {"no input", "", false, false, -1, 5, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedSession s;
        game.level_index = 5;
        SDL_FillRect(screen.surface, NULL, 0);
        if (c.typed[0] != 0) s.release(SDLK_RETURN);  // the release of the menu's Return, waited for first
        for (const char* t = c.typed; *t != 0; t++) s.tap((SDLKey)*t, (Uint16)*t);
        if (c.quit_after) scripted_push_quit(s.input);
        if (c.typed[0] != 0) s.tap(SDLK_RETURN, 13);
        answer_when_shown(s.input);
        // Before the screen shows: a second tap of the menu's Return, which
        // is no part of the word, and the window closed.
        s.tap(SDLK_RETURN, 13);
        if (c.quit_before) scripted_push_quit(s.input);
        int result = 0;
        Captured log = capture([&] { result = enter_level_code(screen.surface); });
        EXPECT_FIELDS({"result", c.result, result}, {"level_index", c.level_index, game.level_index},
                      {"events left", c.left, s.input.count});
        EXPECT_EQ(c.said, log.out);
        // Five blocks from x 230 where a code was typed.
        auto white = [&](int x) { return pixel_at(screen.surface, x, 250) == map_colour(screen.surface, 255, 255, 255); };
        EXPECT_EQ(c.typed[0] != 0, white(230) && white(259) && !white(260) && !white(229));
        EXPECT_TRUE(pixel_at(screen.surface, 20, 20) == map_colour(screen.surface, 90, 90, 90));
    }
    free_menu();
}
