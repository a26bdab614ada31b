#include <gtest/gtest.h>

#include "game_state.h"
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
    EXPECT_EQ(
              prefixed_lines("Skript : SCRIPT/misc.scr : ", {"max_teplota = 100", "chlazeni = 2",
                                                             "zivot_bonusu = 250", "odpor_vzduchu = 0.980000",
                                                             "laser_energie = 3", "efekt01 = 1", "efekt02 = 0",
                                                             "sound = 1"}),
              output.out);
    EXPECT_EQ("", output.err);
    EXPECT_EQ(100, settings.max_teplota);
    EXPECT_EQ(2, settings.chlazeni);
    EXPECT_EQ(250, settings.zivot_bonusu);
    EXPECT_EQ(0.98f, settings.odpor_vzduchu);
    EXPECT_EQ((std::vector<long long>{3, 3, 1, 1}),
              (std::vector<long long>{settings.laser, game.laser_energy, settings.efekt01, settings.sound}));
}

// Each case starts from sound 1 (as the command line left it), heat limit 60
// and air resistance 0.5. Only the laser line refills the calls; a value
// that is no number keeps the field and is read again as a key; a remark
// word holding a key triggers it ("nosound"); a word holding two keys reads
// them in the loader's order ("laser" before "sound"); an empty file sets
// only the air resistance, to 1.
TEST_F(SettingsTest, EachKeyChangesOnlyItsOwnSetting)
{
    const struct {
        const char* text;
        std::string out;
        int max_teplota, chlazeni, laser, laser_energy, sound;
    } cases[] = {
        {"laser 5", "laser_energie = 5\n", 60, 0, 5, 5, 1},
        {"max_teplota chlazeni 4", "max_teplota = 60\nchlazeni = 4\n", 60, 4, 0, 0, 1},
        {"nosound 0 comment here\n", "sound = 0\n", 60, 0, 0, 0, 0},
        {"laser_sound 3 0", "laser_energie = 3\nsound = 0\n", 60, 0, 3, 3, 0},
        {"", "", 60, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        settings = GameSettings();
        game = GameState();
        settings.sound = 1;
        settings.max_teplota = 60;
        settings.odpor_vzduchu = 0.5f;
        write_file("SCRIPT/misc.scr", c.text);
        Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
        std::string said;
        for (size_t at = 0; at < c.out.size(); at = c.out.find('\n', at) + 1)
            said += "Skript : SCRIPT/misc.scr : " + c.out.substr(at, c.out.find('\n', at) + 1 - at);
        EXPECT_EQ(said, output.out);
        EXPECT_EQ("", output.err);
        EXPECT_EQ((std::vector<int>{c.max_teplota, c.chlazeni, c.laser, c.laser_energy, c.sound}),
                  (std::vector<int>{settings.max_teplota, settings.chlazeni, settings.laser, game.laser_energy,
                                    settings.sound}));
        EXPECT_EQ(1.0f, settings.odpor_vzduchu);
    }
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


TEST_F(SettingsTest, MissingFileReportsAndKeepsAirResistanceAtOne)
{
    settings.odpor_vzduchu = 0.5f;
    Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
    EXPECT_EQ("", output.out);
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/misc.scr\n", output.err);
    EXPECT_EQ(1.0f, settings.odpor_vzduchu);
}
