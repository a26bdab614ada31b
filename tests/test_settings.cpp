#include <gtest/gtest.h>

#include "game_state.h"
#include "settings.h"
#include "support.h"

// Each case starts from sound 1 (as the command line left it), heat limit 60
// and air resistance 0.5. Every key prints its line with the value held. Only
// the laser line refills the calls; a value that is no number keeps the field
// and is read again as a key; a remark word holding a key triggers it
// ("nosound"); a word holding two keys reads them in the loader's order
// ("laser" before "sound"); an empty or missing file sets only the air
// resistance, to 1, and a missing one is reported.
TEST(SettingsTest, EachKeyChangesOnlyItsOwnSettingAndPrintsItsLine)
{
    TempDir dir;
    const struct {
        const char* text;
        std::string out;
        struct {
            int max_teplota, chlazeni, zivot_bonusu, laser, laser_energy, efekt01, efekt02, sound;
        } held;
        float air;
    } cases[] = {
        {"max_teplota 100\nchlazeni 2\nzivot_bonusu 250\nodpor_vzduchu 0.98\nlaser_energie 3\nefekt01 1\n"
         "efekt02 0\nsound 1\n",
         "max_teplota = 100\nchlazeni = 2\nzivot_bonusu = 250\nodpor_vzduchu = 0.980000\nlaser_energie = 3\n"
         "efekt01 = 1\nefekt02 = 0\nsound = 1\n",
         {100, 2, 250, 3, 3, 1, 0, 1}, 0.98f},
        {"laser 5", "laser_energie = 5\n", {60, 0, 0, 5, 5, 0, 0, 1}, 1},
        {"max_teplota chlazeni 4 efekt02 1", "max_teplota = 60\nchlazeni = 4\nefekt02 = 1\n", {60, 4, 0, 0, 0, 0, 1, 1}, 1},
        {"nosound 0 comment here\n", "sound = 0\n", {60, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"laser_sound 3 0", "laser_energie = 3\nsound = 0\n", {60, 0, 0, 3, 3, 0, 0, 0}, 1},
        {"", "", {60, 0, 0, 0, 0, 0, 0, 1}, 1},
        {NULL, "", {60, 0, 0, 0, 0, 0, 0, 1}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text != NULL ? c.text : "no file");
        settings = GameSettings();
        game = GameState();
        settings.sound = 1;
        settings.max_teplota = 60;
        settings.odpor_vzduchu = 0.5f;
        remove("SCRIPT/misc.scr");
        if (c.text != NULL) write_file("SCRIPT/misc.scr", c.text);
        Captured output = capture([] { load_settings("SCRIPT/misc.scr"); });
        std::string said;
        for (size_t at = 0; at < c.out.size(); at = c.out.find('\n', at) + 1)
            said += "Skript : SCRIPT/misc.scr : " + c.out.substr(at, c.out.find('\n', at) + 1 - at);
        EXPECT_EQ(said, output.out);
        EXPECT_EQ(c.text != NULL ? "" : "Nemohu nahrat soubor : SCRIPT/misc.scr\n", output.err);
        EXPECT_FIELDS({"max_teplota", c.held.max_teplota, settings.max_teplota}, {"chlazeni", c.held.chlazeni, settings.chlazeni},
                      {"zivot_bonusu", c.held.zivot_bonusu, settings.zivot_bonusu}, {"laser", c.held.laser, settings.laser},
                      {"laser_energy", c.held.laser_energy, game.laser_energy}, {"efekt01", c.held.efekt01, settings.efekt01},
                      {"efekt02", c.held.efekt02, settings.efekt02}, {"sound", c.held.sound, settings.sound});
        EXPECT_EQ(c.air, settings.odpor_vzduchu);
    }
}
