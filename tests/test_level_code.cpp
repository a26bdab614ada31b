#include <gtest/gtest.h>

#include <string>

#include "game_state.h"
#include "level.h"
#include "level_code.h"
#include "menu.h"
#include "platform.h"
#include "support.h"

namespace {

const std::string CODE31 = "Abcdefghijklmnopqrstuvwxyz01234";  // 31 characters

struct Matched {
    int score;
    Captured log;
};

Matched match(const std::string& typed)
{
    Matched result;
    result.log = capture([&] { result.score = match_level_code(typed.c_str()); });
    return result;
}

class LevelCodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        write_file("SCRIPT/levels.scr", "LEVEL1 PRILIV 1500\nLEVEL2 KORAL 3500\nLEVEL3 KOTVA 6000\n"
                                        "LEVEL4 HLUBINA 11000\nLEVEL5 " + CODE31 + " 20000\n"
                                        "LEVEL6 KORAL 7\n");
        capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
        game.level_index = 5;
    }
    TempDir dir;
};

}  // namespace

// A code matches only whole and in its case; the level it names starts with
// the credits of the levels before it, the first of two levels sharing a
// code wins, and each level looked at says "...NO" or "...OK".
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
        Matched result = match(c.typed);
        EXPECT_EQ(c.score, result.score);
        EXPECT_EQ(c.level_index, game.level_index);
        EXPECT_EQ(c.said, result.log.out);
        EXPECT_EQ("", result.log.err);
    }
}

TEST(LevelCode, CreditsBeyondTheIntegerRangeAreHeldAtItsLimit)
{
    TempDir dir;
    write_file("SCRIPT/levels.scr", "A a 2000000000\nB b 2000000000\nC c 5\n");
    capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    EXPECT_EQ(2147483647, match("c").score);
    EXPECT_EQ(2, game.level_index);
}

namespace {

// The code screen reached from the menu: a grey picture, a white block font
// (glyphs 6 pixels wide) and the code field at (230, 246), 400 pixels wide.
class CodeScreenTest : public LevelCodeTest {
protected:
    void SetUp() override
    {
        LevelCodeTest::SetUp();
        write_solid_bmp("GFX/kod.bmp", 640, 480, 90, 90, 90);
        write_block_font("GFX/font.bmp", 6, 10, 255, 255, 255);
        write_file("SCRIPT/menu.scr", "code GFX/kod.bmp font GFX/font.bmp c_pos 230,246,400\n");
        capture([] { load_menu("SCRIPT/menu.scr"); });
        scripted_reset(input);
        platform_use_scripted(&input);
        game.score = 77;
        game.laser_energy = 2;
    }
    void TearDown() override
    {
        platform_use_scripted(NULL);
        free_menu();
    }
    // Return chooses the code item; its release is the event the screen
    // waits for before the typing starts.
    void choose_code_item_and_type(const std::string& text, bool then_return = true)
    {
        menu_script.highlighted = ITEM_LEVEL_CODE;
        scripted_push_key(input, SDLK_RETURN, 1, 13);
        scripted_push_key(input, SDLK_RETURN, 0, 0);
        for (char c : text) {
            scripted_push_key(input, (SDLKey)c, 1, (Uint16)(unsigned char)c);
            scripted_push_key(input, (SDLKey)c, 0, 0);
        }
        if (!then_return) return;
        scripted_push_key(input, SDLK_RETURN, 1, 13);
        scripted_push_key(input, SDLK_RETURN, 0, 0);
    }
    bool white(int x, int y) { return pixel_at(screen.surface, x, y) == map_colour(screen.surface, 255, 255, 255); }
    TestScreen screen;
    ScriptedInput input;
};

}  // namespace

TEST_F(CodeScreenTest, ATypedCodeStartsTheGameAtItsLevelWithTheCreditedScore)
{
    choose_code_item_and_type("KOTVA");
    int result = 0;
    Captured log = capture([&] { result = run_main_menu(screen.surface); });
    EXPECT_EQ(2, result);
    EXPECT_EQ(2, game.level_index);
    EXPECT_EQ(5000, game.score);
    EXPECT_EQ(2, game.laser_energy);  // the code leaves the air-support calls alone
    EXPECT_EQ("...NO\n...NO\n...OK\n", log.out);
    // The code stands typed in its field: five blocks from x 230.
    EXPECT_TRUE(white(230, 250));
    EXPECT_TRUE(white(259, 250));
    EXPECT_FALSE(white(260, 250));
    EXPECT_FALSE(white(229, 250));
    EXPECT_TRUE(pixel_at(screen.surface, 20, 20) == map_colour(screen.surface, 90, 90, 90));
}

TEST_F(CodeScreenTest, AWrongCodeReturnsToTheMenu)
{
    choose_code_item_and_type("kotva");
    int result = 0;
    Captured log = capture([&] { result = run_main_menu(screen.surface); });
    EXPECT_EQ(1, result);  // the queue ran dry in the menu
    EXPECT_EQ("...NO\n...NO\n...NO\n...NO\n...NO\n...NO\n", log.out);
    EXPECT_EQ(5, game.level_index);
    EXPECT_EQ(77, game.score);
    EXPECT_EQ(ITEM_LEVEL_CODE, menu_script.highlighted);
}

// The player types a whole code but closes the window instead of pressing
// Return: no game starts, and the menu is left.
TEST_F(CodeScreenTest, AWindowClosedWhileTypingStartsNoGame)
{
    choose_code_item_and_type("KOTVA", false);
    scripted_push_quit(input);
    scripted_push_key(input, SDLK_RETURN, 1, 13);
    int result = 0;
    Captured log = capture([&] { result = run_main_menu(screen.surface); });
    EXPECT_EQ(1, result);
    EXPECT_EQ("", log.out);  // the word was not looked up
    EXPECT_EQ(5, game.level_index);
    EXPECT_EQ(77, game.score);
    EXPECT_EQ(1, input.count);  // Return after the request is never read
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_TRUE(white(259, 250));  // the typed word stands in its field
}

TEST_F(CodeScreenTest, AWindowClosedBeforeTypingChoosesNoLevel)
{
    scripted_push_quit(input);
    int result = 0;
    Captured log = capture([&] { result = enter_level_code(screen.surface); });
    EXPECT_EQ(-1, result);
    EXPECT_EQ("", log.out);
    EXPECT_EQ(0, input.dry_waits);
}

TEST_F(CodeScreenTest, WithoutInputNoLevelIsChosen)
{
    int result = 0;
    Captured log = capture([&] { result = enter_level_code(screen.surface); });
    EXPECT_EQ(-1, result);
    EXPECT_EQ("", log.out);
    EXPECT_EQ(5, game.level_index);
}
