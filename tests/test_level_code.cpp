#include <gtest/gtest.h>

#include <string>

#include "game_loop.h"
#include "level.h"
#include "level_code.h"
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

TEST_F(LevelCodeTest, FirstLevelsCodeStartsThereWithNothingCredited)
{
    Matched result = match("PRILIV");
    EXPECT_EQ(0, result.score);
    EXPECT_EQ(0, game.level_index);
    EXPECT_EQ("...OK\n", result.log.out);
}

TEST_F(LevelCodeTest, ALaterLevelIsCreditedWithTheLevelsBeforeIt)
{
    Matched result = match("HLUBINA");
    EXPECT_EQ(1500 + 3500 + 6000, result.score);
    EXPECT_EQ(3, game.level_index);
    EXPECT_EQ("...NO\n...NO\n...NO\n...OK\n", result.log.out);
    EXPECT_EQ("", result.log.err);
}

TEST_F(LevelCodeTest, AWrongCodeIsRefusedByEveryLevel)
{
    Matched result = match("priliv");
    EXPECT_EQ(-1, result.score);
    EXPECT_EQ(5, game.level_index);
    EXPECT_EQ("...NO\n...NO\n...NO\n...NO\n...NO\n...NO\n", result.log.out);
}

TEST_F(LevelCodeTest, CodesMatchOnlyWholeAndInTheirCase)
{
    EXPECT_EQ(-1, match("KOTV").score);
    EXPECT_EQ(-1, match("KOTVAA").score);
    EXPECT_EQ(-1, match("Kotva").score);
    EXPECT_EQ(-1, match(" KOTVA").score);
    EXPECT_EQ(-1, match("").score);
    EXPECT_EQ(5000, match("KOTVA").score);
}

TEST_F(LevelCodeTest, AThirtyOneCharacterCodeMatchesExactly)
{
    EXPECT_EQ(-1, match(CODE31 + "5").score);
    EXPECT_EQ(-1, match(CODE31.substr(0, 30)).score);
    Matched result = match(CODE31);
    EXPECT_EQ(1500 + 3500 + 6000 + 11000, result.score);
    EXPECT_EQ(4, game.level_index);
}

TEST_F(LevelCodeTest, TheFirstOfTwoLevelsSharingACodeWins)
{
    Matched result = match("KORAL");
    EXPECT_EQ(1500, result.score);
    EXPECT_EQ(1, game.level_index);
    EXPECT_EQ("...NO\n...OK\n", result.log.out);
}

TEST(LevelCode, CreditsBeyondTheIntegerRangeAreHeldAtItsLimit)
{
    TempDir dir;
    write_file("SCRIPT/levels.scr", "A a 2000000000\nB b 2000000000\nC c 5\n");
    capture([] { load_level_catalogue("SCRIPT/levels.scr"); });
    EXPECT_EQ(2147483647, match("c").score);
    EXPECT_EQ(2, game.level_index);
}
