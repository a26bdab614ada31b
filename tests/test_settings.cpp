#include <gtest/gtest.h>

#include "game_loop.h"
#include "settings.h"
#include "support.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = GameSettings();
        game = GameState();
    }
    TempDir dir;
};

}  // namespace

TEST_F(SettingsTest, EveryKeyPrintsItsLineWithTheValueHeld)
{
    write_file("SCRIPT/misc.scr",
               "max_teplota 100\nchlazeni 2\nzivot_bonusu 250\nodpor_vzduchu 0.98\n"
               "laser_energie 3\nefekt01 1\nefekt02 0\nsound 1\n");
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("Skript : SCRIPT/misc.scr : max_teplota = 100\n"
              "Skript : SCRIPT/misc.scr : chlazeni = 2\n"
              "Skript : SCRIPT/misc.scr : zivot_bonusu = 250\n"
              "Skript : SCRIPT/misc.scr : odpor_vzduchu = 0.980000\n"
              "Skript : SCRIPT/misc.scr : laser_energie = 3\n"
              "Skript : SCRIPT/misc.scr : efekt01 = 1\n"
              "Skript : SCRIPT/misc.scr : efekt02 = 0\n"
              "Skript : SCRIPT/misc.scr : sound = 1\n",
              output.out);
    EXPECT_EQ("", output.err);
    EXPECT_EQ(100, settings.max_teplota);
    EXPECT_EQ(2, settings.chlazeni);
    EXPECT_EQ(250, settings.zivot_bonusu);
    EXPECT_FLOAT_EQ(0.98f, settings.odpor_vzduchu);
    EXPECT_EQ(3, settings.laser);
    EXPECT_EQ(3, game.laser_energy);
    EXPECT_EQ(1, settings.efekt01);
    EXPECT_EQ(1, settings.sound);
}

TEST_F(SettingsTest, OnlyTheLaserLineRefillsTheCallsAndLeavesTheRest)
{
    write_file("SCRIPT/misc.scr", "laser 5");
    settings.sound = 1;  // as the command line left it
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("Skript : SCRIPT/misc.scr : laser_energie = 5\n", output.out);
    EXPECT_EQ(5, settings.laser);
    EXPECT_EQ(5, game.laser_energy);
    EXPECT_EQ(0, settings.max_teplota);
    EXPECT_EQ(1, settings.sound);
    EXPECT_FLOAT_EQ(1.0f, settings.odpor_vzduchu);
}

TEST_F(SettingsTest, MissingFileReportsAndKeepsAirResistanceAtOne)
{
    settings.odpor_vzduchu = 0.5f;
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("", output.out);
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/misc.scr\n", output.err);
    EXPECT_FLOAT_EQ(1.0f, settings.odpor_vzduchu);
}

TEST_F(SettingsTest, ValueThatIsNoNumberKeepsTheFieldAndIsReadAgainAsAKey)
{
    write_file("SCRIPT/misc.scr", "max_teplota chlazeni 4");
    settings.max_teplota = 60;
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("Skript : SCRIPT/misc.scr : max_teplota = 60\n"
              "Skript : SCRIPT/misc.scr : chlazeni = 4\n",
              output.out);
    EXPECT_EQ(60, settings.max_teplota);
    EXPECT_EQ(4, settings.chlazeni);
}

TEST_F(SettingsTest, ARemarkWordHoldingAKeyTriggersIt)
{
    // "nosound" contains the key "sound": a remark in a script must avoid keys.
    write_file("SCRIPT/misc.scr", "nosound 0 comment here\n");
    settings.sound = 1;
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("Skript : SCRIPT/misc.scr : sound = 0\n", output.out);
    EXPECT_EQ(0, settings.sound);
}

TEST_F(SettingsTest, TheGamesOwnSettingsAreSound)
{
    ASSERT_TRUE(copy_data_set()) << "the run folder " ABYSSOR_RUN_DIR " lacks the data set: build the game first";
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("", output.err);
    EXPECT_GT(settings.max_teplota, 0);
    EXPECT_GT(settings.chlazeni, 0);
    EXPECT_GT(settings.zivot_bonusu, 0);
    EXPECT_GT(settings.odpor_vzduchu, 0.0f);
    EXPECT_LT(settings.odpor_vzduchu, 1.0f);
    EXPECT_GT(game.laser_energy, 0);
}
