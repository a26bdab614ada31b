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

const char* const EVERY_KEY =
    "max_teplota 100\nchlazeni 2\nzivot_bonusu 250\nodpor_vzduchu 0.98\n"
    "laser_energie 3\nefekt01 1\nefekt02 0\nsound 1\n";

TEST_F(SettingsTest, EveryKeyPrintsItsLineWithTheValueHeld)
{
    write_file("SCRIPT/misc.scr", EVERY_KEY);
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
    EXPECT_EQ(0.98f, settings.odpor_vzduchu);
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
    EXPECT_EQ(1.0f, settings.odpor_vzduchu);
}

TEST_F(SettingsTest, MissingFileReportsAndKeepsAirResistanceAtOne)
{
    settings.odpor_vzduchu = 0.5f;
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("", output.out);
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/misc.scr\n", output.err);
    EXPECT_EQ(1.0f, settings.odpor_vzduchu);
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

TEST_F(SettingsTest, AllKeysOnOneLineReadAsOneKeyPerLine)
{
    write_file("SCRIPT/misc.scr", EVERY_KEY);
    Captured per_line = capture([] { load_settings("SCRIPT/misc.scr"); });
    GameSettings from_lines = settings;
    settings = GameSettings();
    game = GameState();
    std::string one_line = EVERY_KEY;
    for (char& c : one_line)
        if (c == '\n') c = ' ';
    write_file("SCRIPT/misc.scr", one_line);
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ(per_line.out, output.out);
    EXPECT_EQ("", output.err);
    EXPECT_EQ(100, settings.max_teplota);
    EXPECT_EQ(from_lines.zivot_bonusu, settings.zivot_bonusu);
    EXPECT_EQ(0.98f, settings.odpor_vzduchu);
    EXPECT_EQ(3, game.laser_energy);
    EXPECT_EQ(1, settings.sound);
}

TEST_F(SettingsTest, AWordHoldingTwoKeysReadsThemInTheLoadersOrder)
{
    // "laser" is read before "sound": the first number is the calls, the
    // second the sound switch.
    write_file("SCRIPT/misc.scr", "laser_sound 3 1");
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("Skript : SCRIPT/misc.scr : laser_energie = 3\n"
              "Skript : SCRIPT/misc.scr : sound = 1\n",
              output.out);
    EXPECT_EQ(3, settings.laser);
    EXPECT_EQ(3, game.laser_energy);
    EXPECT_EQ(1, settings.sound);
}

TEST_F(SettingsTest, AnEmptyFileSetsOnlyTheAirResistance)
{
    write_file("SCRIPT/misc.scr", "");
    settings.odpor_vzduchu = 0.5f;
    settings.max_teplota = 40;
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("", output.out);
    EXPECT_EQ("", output.err);
    EXPECT_EQ(1.0f, settings.odpor_vzduchu);
    EXPECT_EQ(40, settings.max_teplota);
}
