#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "game_loop.h"
#include "main.h"
#include "platform.h"
#include "settings.h"
#include "support.h"

namespace {

void parse(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(&argument[0]);
    parse_switches((int)argv.size(), argv.data());
}

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = GameSettings();
        command_line = CommandLine();
    }
};

// Start-up from a folder of its own, closing SDL again afterwards.
class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = GameSettings();
        command_line = CommandLine();
        game = GameState();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_Quit();
        game.screen = NULL;
        // Tests that break a driver on purpose leave the next test headless again.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }
    Captured start(std::vector<std::string> arguments)
    {
        parse(arguments);
        return capture([this] { result = start_up(); });
    }
    int result = -1;
    TempDir dir;
};

const char* MISC =
    "max_teplota 100\nchlazeni 2\nzivot_bonusu 250\nodpor_vzduchu 0.98\n"
    "laser_energie 3\nefekt01 0\nefekt02 1\n";

}  // namespace

TEST_F(CommandLineTest, NoArgumentsMeanASilentSoftwareWindow)
{
    settings.sound = 1;
    parse({"./abyssor"});
    EXPECT_EQ(0u, settings.video_flags);
    EXPECT_EQ(0, settings.sound);
    EXPECT_EQ(0, command_line.effect1);
    EXPECT_EQ(0, command_line.effect2);
}

TEST_F(CommandLineTest, VideoSwitchesCombine)
{
    parse({"./abyssor", "-FS", "-DB", "-HW"});
    EXPECT_EQ(0xC0000001u, settings.video_flags);
}

TEST_F(CommandLineTest, SoftwareSwitchAddsNothing)
{
    parse({"./abyssor", "-SW", "-FS"});
    EXPECT_EQ(0x80000000u, settings.video_flags);
}

TEST_F(CommandLineTest, SwitchesAreFoundInsideLongerArgumentsAndTheProgramPath)
{
    parse({"/games/x-SNDx/abyssor", "--EF2--", "-HW-FS"});
    EXPECT_EQ(1, settings.sound);
    EXPECT_EQ(0, command_line.effect1);
    EXPECT_EQ(1, command_line.effect2);
    EXPECT_EQ(0x80000001u, settings.video_flags);
}

TEST_F(CommandLineTest, UnknownArgumentsAreIgnored)
{
    parse({"./abyssor", "fullscreen", "-fs", "-snd"});
    EXPECT_EQ(0u, settings.video_flags);
    EXPECT_EQ(0, settings.sound);
}

TEST_F(StartUpTest, ReadsTheSettingsOpensTheScreenAndLetsTheSwitchesDecideTheEffects)
{
    write_file("SCRIPT/misc.scr", MISC);
    Captured output = start({"./abyssor", "-EF1"});
    EXPECT_EQ(0, result);
    EXPECT_NE(std::string::npos,
              output.out.find("Skript : SCRIPT/misc.scr : max_teplota = 100\n"
                              "Skript : SCRIPT/misc.scr : chlazeni = 2\n"
                              "Skript : SCRIPT/misc.scr : zivot_bonusu = 250\n"
                              "Skript : SCRIPT/misc.scr : odpor_vzduchu = 0.980000\n"
                              "Skript : SCRIPT/misc.scr : laser_energie = 3\n"
                              "Skript : SCRIPT/misc.scr : efekt01 = 0\n"
                              "Skript : SCRIPT/misc.scr : efekt02 = 1\n"));
    EXPECT_EQ(std::string::npos, output.err.find("Skript :"));
    EXPECT_EQ(std::string::npos, output.err.find("misc.scr"));
    ASSERT_NE(nullptr, game.screen);
    EXPECT_EQ(640, game.screen->w);
    EXPECT_EQ(480, game.screen->h);
    EXPECT_EQ(16, game.screen->format->BitsPerPixel);
    EXPECT_EQ(3, game.laser_energy);
    EXPECT_FLOAT_EQ(0.98f, settings.odpor_vzduchu);
    EXPECT_EQ(1, settings.efekt01);  // -EF1 beats the file's 0
    EXPECT_EQ(0, settings.efekt02);  // no -EF2 beats the file's 1
    EXPECT_EQ(0, settings.sound);
    EXPECT_EQ(1, menu_loaded);
}

TEST_F(StartUpTest, WithoutSettingsFileReportsItAndKeepsAirResistanceAtOne)
{
    Captured output = start({"./abyssor"});
    EXPECT_EQ(0, result);
    EXPECT_NE(std::string::npos, output.err.find("Nemohu nahrat soubor : SCRIPT/misc.scr\n"));
    EXPECT_EQ(std::string::npos, output.out.find("misc.scr"));
    EXPECT_FLOAT_EQ(1.0f, settings.odpor_vzduchu);
    EXPECT_EQ(0, settings.max_teplota);
    EXPECT_EQ(0, settings.sound);
}

// Every fixed script is reported in the order start-up reads them, and the
// game still starts.
TEST_F(StartUpTest, WithNoDataAtAllEachFixedScriptIsReportedInTurn)
{
    Captured output = start({"./abyssor"});
    EXPECT_EQ(0, result);
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/misc.scr\n"
              "Nemohu nahrat soubor : SCRIPT/levels.scr\n"
              "Nemohu otevrit soubor SCRIPT/topten.scr !!!\n"
              "Nemohu nahrat soubor : SCRIPT/menu.scr\n"
              "Nemohu nahrat soubor : SCRIPT/in.scr\n",
              output.err);
    EXPECT_EQ("", output.out);
}

// Without any data the game starts, finds no level, font or picture, and
// when the player leaves the credits cannot be drawn: the game stops there,
// before the high scores and the frame-rate report are written.
TEST_F(StartUpTest, WithNoDataAtAllLeavingStopsForWantOfTheCreditsFont)
{
    ScriptedInput input;
    scripted_reset(input);
    platform_use_scripted(&input);  // no input: the menu is left at once
    EXPECT_EXIT(
        {
            if (freopen("out.txt", "w", stdout) == NULL) abort();
            if (freopen("err.txt", "w", stderr) == NULL) abort();
            std::vector<std::string> arguments = {"./abyssor"};
            std::vector<char*> argv = {&arguments[0][0]};
            game_main(1, argv.data());
        },
        ::testing::ExitedWithCode(1), "");
    platform_use_scripted(NULL);
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/misc.scr\n"
              "Nemohu nahrat soubor : SCRIPT/levels.scr\n"
              "Nemohu otevrit soubor SCRIPT/topten.scr !!!\n"
              "Nemohu nahrat soubor : SCRIPT/menu.scr\n"
              "Nemohu nahrat soubor : SCRIPT/in.scr\n",
              read_file("err.txt"));
    EXPECT_EQ("The font has not been loaded!\n", read_file("out.txt"));
    EXPECT_FALSE(file_exists("SCRIPT/topten.scr"));
    EXPECT_FALSE(file_exists("fps.txt"));
}

TEST_F(StartUpTest, SoundLineTurnsAudioOnWithoutTheSwitch)
{
    write_file("SCRIPT/misc.scr", "sound 1\n");
    start({"./abyssor"});
    EXPECT_EQ(1, settings.sound);
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(1, Mix_QuerySpec(&frequency, &format, &channels));
    EXPECT_EQ(11025, frequency);
    EXPECT_EQ(AUDIO_U8, format);
    EXPECT_EQ(2, channels);
}

TEST_F(StartUpTest, SoundLineTurnsAudioOffDespiteTheSwitch)
{
    write_file("SCRIPT/misc.scr", "sound 0\n");
    start({"./abyssor", "-SND"});
    EXPECT_EQ(0, settings.sound);
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    EXPECT_EQ(0, Mix_QuerySpec(&frequency, &format, &channels));
}

TEST_F(StartUpTest, FailedAudioDeviceLeavesTheGameSilentButRunning)
{
    // The disk driver cannot write its output here, so opening the device fails.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/nonexistent-folder/audio.raw", 1);
    write_file("SCRIPT/misc.scr", "laser 2\n");
    Captured output = start({"./abyssor", "-SND"});
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, settings.sound);
    const std::string warning =
        "Warning: Couldn't set 11025 Hz 8-bit audio\n- Reason: Couldn't open /nonexistent-folder/audio.raw\n";
    size_t at = output.err.find(warning);
    ASSERT_NE(std::string::npos, at);
    EXPECT_EQ(std::string::npos, output.err.find("Warning", at + 1));
    EXPECT_EQ(std::string::npos, output.out.find("Warning"));
    EXPECT_NE(nullptr, game.screen);
}

TEST_F(StartUpTest, MissingVideoEndsStartUpAfterTheScriptsAndTheGameLeavesQuietly)
{
    setenv("SDL_VIDEODRIVER", "no-such-video", 1);
    write_file("SCRIPT/misc.scr", MISC);
    std::vector<std::string> arguments = {"./abyssor"};
    std::vector<char*> argv = {&arguments[0][0]};
    Captured output = capture([&] { result = game_main(1, argv.data()); });
    EXPECT_EQ(0, result);
    EXPECT_NE(std::string::npos, output.err.find("Couldn't initialize SDL: "));
    EXPECT_NE(std::string::npos, output.err.find("Chyba pri vytvareni video surfacu\n"));
    EXPECT_NE(std::string::npos, output.out.find("Skript : SCRIPT/misc.scr : max_teplota = 100\n"));
    // Nothing of the way out runs: no report, no high scores written.
    EXPECT_FALSE(file_exists("fps.txt"));
    EXPECT_FALSE(file_exists("SCRIPT/topten.scr"));
}

TEST(FrameRateReport, FramesOverTheLevelTime)
{
    TempDir dir;
    game = GameState();
    game.frame = 1500;
    game.level_start_ms = 1000;
    game.level_end_ms = 41000;
    write_fps_report("fps.txt");
    EXPECT_EQ("ABYSSOR v0.2 -= Tarvik software =-\n"
              "--------------------------\n"
              "fps : 37.500000\n"
              "\n"
              "TIME : 40000\n"
              "FRAMES : 1500\n",
              read_file("fps.txt"));
}

TEST(FrameRateReport, NoLevelPlayedNeverDividesByZero)
{
    TempDir dir;
    game = GameState();
    write_file("fps.txt", "an older report that is replaced");
    write_fps_report("fps.txt");
    EXPECT_EQ("ABYSSOR v0.2 -= Tarvik software =-\n"
              "--------------------------\n"
              "fps : 0.000000\n"
              "\n"
              "TIME : 1\n"
              "FRAMES : 0\n",
              read_file("fps.txt"));
}

TEST(FrameRateReport, UnwritableReportIsSkipped)
{
    TempDir dir;
    game = GameState();
    write_fps_report("no-such-folder/fps.txt");
    EXPECT_FALSE(file_exists("no-such-folder/fps.txt"));
}
