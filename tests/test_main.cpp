#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game_loop.h"
#include "level.h"
#include "main.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "support.h"
#include "video.h"

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

// What start-up reports when no data at all is there, in the order it reads.
const char* NO_DATA_ERRORS =
    "Nemohu nahrat soubor : SCRIPT/misc.scr\n"
    "Nemohu nahrat soubor : SCRIPT/levels.scr\n"
    "Nemohu otevrit soubor SCRIPT/topten.scr !!!\n"
    "Nemohu nahrat soubor : SCRIPT/menu.scr\n"
    "Nemohu nahrat soubor : SCRIPT/in.scr\n";

// The whole game as started without switches.
int run_game()
{
    std::vector<std::string> arguments = {"./abyssor"};
    std::vector<char*> argv = {&arguments[0][0]};
    return game_main(1, argv.data());
}

bool audio_open()
{
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) == 1;
}

}  // namespace

// Switches are found anywhere in an argument, the program path included;
// -SW adds nothing and anything else is ignored. Of two scale switches the
// one tested later wins.
TEST_F(CommandLineTest, SwitchesSetTheVideoFlagsTheSoundAndTheEffects)
{
    const struct {
        std::vector<std::string> arguments;
        Uint32 video_flags;
        int sound, effect1, effect2, scale;
    } cases[] = {
        {{"./abyssor"}, 0u, 0, 0, 0, SCALE_NONE},
        {{"./abyssor", "-FS", "-DB", "-HW", "-X3"}, 0xC0000001u, 0, 0, 0, 3},
        {{"./abyssor", "-SW", "-FS", "-x2", "-X5", "-X3", "-X1"}, 0x80000000u, 0, 0, 0, SCALE_NONE},
        {{"/games/x-SNDx/abyssor", "--EF2--", "-HW-FS", "-X4-X2"}, 0x80000001u, 1, 0, 1, 4},
        {{"./abyssor", "fullscreen", "-fs", "-snd", "-EF1", "-X2", "big-XA"}, 0u, 0, 1, 0, SCALE_AUTO},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        settings = GameSettings();
        settings.sound = 1;
        command_line = CommandLine();
        parse(c.arguments);
        EXPECT_EQ(c.video_flags, settings.video_flags);
        EXPECT_EQ(c.sound, settings.sound);
        EXPECT_EQ(c.effect1, command_line.effect1);
        EXPECT_EQ(c.effect2, command_line.effect2);
        EXPECT_EQ(c.scale, command_line.scale);
    }
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
    EXPECT_EQ((std::vector<long long>{640, 480, 16, 3}),
              (std::vector<long long>{game.screen->w, game.screen->h, game.screen->format->BitsPerPixel,
                                      game.laser_energy}));
    EXPECT_EQ(0.98f, settings.odpor_vzduchu);
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
    EXPECT_EQ(1.0f, settings.odpor_vzduchu);
    EXPECT_EQ(0, settings.max_teplota);
    EXPECT_EQ(0, settings.sound);
}

// Every fixed script is reported in the order start-up reads them, and the
// game still starts.
TEST_F(StartUpTest, WithNoDataAtAllEachFixedScriptIsReportedInTurn)
{
    Captured output = start({"./abyssor"});
    EXPECT_EQ(0, result);
    EXPECT_EQ(NO_DATA_ERRORS, output.err);
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
            run_game();
        },
        ::testing::ExitedWithCode(1), "");
    platform_use_scripted(NULL);
    EXPECT_EQ(NO_DATA_ERRORS, read_file("err.txt"));
    EXPECT_EQ("The font has not been loaded!\n", read_file("out.txt"));
    EXPECT_FALSE(file_exists("SCRIPT/topten.scr"));
    EXPECT_FALSE(file_exists("fps.txt"));
}

TEST_F(StartUpTest, TheSecondEffectComesOnlyFromItsSwitch)
{
    write_file("SCRIPT/misc.scr", "efekt01 1\nefekt02 0\n");
    start({"./abyssor", "-EF2"});
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, settings.efekt01);
    EXPECT_EQ(1, settings.efekt02);
}

TEST_F(StartUpTest, AVideoModeRefusedAfterAGoodStartStillReadsTheScripts)
{
    write_file("SCRIPT/misc.scr", MISC);
    write_file("SCRIPT/levels.scr", "L1 ALFA 100\nL2 BETA 200\n");
    write_solid_bmp("GFX/main1.bmp", 8, 8, 0, 0, 200);
    write_file("SCRIPT/menu.scr", "main1 GFX/main1.bmp\n");
    parse({"./abyssor", "-EF1"});
    // The dummy driver has no OpenGL: the library starts, the mode is refused.
    settings.video_flags = SDL_OPENGL;
    Captured output = capture([this] { result = start_up(); });
    EXPECT_EQ(1, result);
    EXPECT_EQ(nullptr, game.screen);
    // The scripts after the video mode are still read (and reported missing)
    // before the failure is told.
    EXPECT_EQ("Nemohu otevrit soubor SCRIPT/topten.scr !!!\n"
              "Nemohu nahrat soubor : SCRIPT/in.scr\n"
              "Chyba pri vytvareni video surfacu\n",
              output.err);
    EXPECT_EQ(2, levels.count);
    EXPECT_NE(std::string::npos, output.out.find("SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa GFX/main1.bmp\n"));
    EXPECT_EQ(0, menu_loaded);
    EXPECT_EQ(0, settings.efekt01);  // the switches are not applied
    free_menu();
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
    EXPECT_FALSE(audio_open());
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
    Captured output = capture([&] { result = run_game(); });
    EXPECT_EQ(0, result);
    EXPECT_NE(std::string::npos, output.err.find("Couldn't initialize SDL: "));
    EXPECT_NE(std::string::npos, output.err.find("Chyba pri vytvareni video surfacu\n"));
    EXPECT_NE(std::string::npos, output.out.find("Skript : SCRIPT/misc.scr : max_teplota = 100\n"));
    // The scripts after the video mode are read all the same.
    EXPECT_NE(std::string::npos, output.err.find("Nemohu nahrat soubor : SCRIPT/levels.scr\n"));
    EXPECT_NE(std::string::npos, output.err.find("Nemohu nahrat soubor : SCRIPT/menu.scr\n"));
    // Nothing of the way out runs: no report.
    EXPECT_FALSE(file_exists("fps.txt"));
}

// A display that refuses the first connections (an X server resetting as its
// last client leaves) is tried again; only a start that never succeeds is
// reported, once.
TEST_F(StartUpTest, AFailedStartIsTriedAgainBeforeItIsReportedOnce)
{
    setenv("SDL_VIDEODRIVER", "no-such-video", 1);
    ScriptedSession session;
    ScriptedInput& input = session.input;
    Captured output = start({"./abyssor"});
    EXPECT_EQ(1, result);
    EXPECT_EQ(9, input.delays);
    EXPECT_EQ(900u, input.clock_ms);
    size_t first = output.err.find("Couldn't initialize SDL: ");
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ(std::string::npos, output.err.find("Couldn't initialize SDL: ", first + 1));
}

// 1500 frames in 40 s make 37.5 a second; with no level played the time is
// held at 1 ms, never dividing by zero, and an older report is replaced.
TEST(FrameRateReport, FramesOverTheLevelTime)
{
    TempDir dir;
    const struct {
        int frames, start_ms, end_ms;
        const char* lines;
    } cases[] = {{1500, 1000, 41000, "fps : 37.500000\n\nTIME : 40000\nFRAMES : 1500\n"},
                 {0, 0, 0, "fps : 0.000000\n\nTIME : 1\nFRAMES : 0\n"}};
    for (const auto& c : cases) {
        game = GameState();
        game.frame = c.frames;
        game.level_start_ms = c.start_ms;
        game.level_end_ms = c.end_ms;
        write_file("fps.txt", "an older report that is replaced");
        write_fps_report("fps.txt");
        EXPECT_EQ(std::string("ABYSSOR v0.2 -= Tarvik software =-\n--------------------------\n") + c.lines,
                  read_file("fps.txt"));
    }
}

namespace {

// The whole program with scripted input. Each time a menu waits with nothing
// queued, the player's next moves are queued; level loads are counted, and a
// game that loads far more levels than it has is ended with Escape.
struct Player {
    std::vector<std::vector<std::pair<SDLKey, int>>> moves;
    size_t next = 0;
    int loads = 0;
    int frames = 0;
};

void next_moves(ScriptedInput& input, void* user)
{
    Player& player = *(Player*)user;
    if (input.count > 0 || player.next >= player.moves.size()) return;
    for (const std::pair<SDLKey, int>& key : player.moves[player.next]) scripted_push_key(input, key.first, key.second, 0);
    player.next++;
}

void count_loads(ScriptedInput& input, Uint32 ms, void* user)
{
    Player& player = *(Player*)user;
    if (ms != 1000) return;
    player.loads++;
    if (player.loads > 10) input.keys[SDLK_ESCAPE] = 1;
}

// The player's moves answer the menus, from the menu's first item; the
// delays are watched as given.
void play_as(Player& player, ScriptedInput& input, void (*on_delay)(ScriptedInput&, Uint32, void*))
{
    menu_script.highlighted = ITEM_NEW_GAME;
    reset_frame_pacing();
    scripted_reset(input);
    input.on_wait = next_moves;
    input.on_delay = on_delay;
    input.user = &player;
    platform_use_scripted(&input);
}

// Return is let go again, so that it does not start another game when the
// menu comes back.
const std::vector<std::pair<SDLKey, int>> NEW_GAME = {{SDLK_RETURN, 1}, {SDLK_RETURN, 0}};
// A key tapped on a still screen: the announcement, the end of a level.
const std::vector<std::pair<SDLKey, int>> SCREEN_KEY = {{SDLK_SPACE, 1}, {SDLK_SPACE, 0}};
const std::vector<std::pair<SDLKey, int>> LEAVE = {{SDLK_RETURN, 0}, {SDLK_UP, 1}, {SDLK_UP, 0}, {SDLK_RETURN, 1}};

// The order in which a level's data is released, by the first words of the
// release lines.
const std::vector<std::string> RELEASE_ORDER = {
    "UVOLNEN SKRIPT BONUSU", "UVOLNEN SKRIPT LETADEL", "UVOLNEN SKRIPT POTVOR", "UVOLNEN SKRIPT BITMAP",
    "UVOLNENO DELO",         "UVOLNEN SKRIPT PANEL",   "UVOLNEN SKRIPT ZBRANI"};

// The places in RELEASE_ORDER of the release lines of a log, in log order.
std::vector<int> release_ranks(const std::string& log)
{
    std::vector<int> ranks;
    size_t begin = 0;
    while (begin < log.size()) {
        size_t end = log.find('\n', begin);
        std::string line = log.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        for (size_t r = 0; r < RELEASE_ORDER.size(); r++)
            if (line.compare(0, RELEASE_ORDER[r].size(), RELEASE_ORDER[r]) == 0) ranks.push_back((int)r);
        if (end == std::string::npos) break;
        begin = end + 1;
    }
    return ranks;
}

class OuterLoopTest : public StartUpTest {
protected:
    void SetUp() override
    {
        StartUpTest::SetUp();
        play_as(player, input, count_loads);
        write_file("SCRIPT/misc.scr", "sound 1\n");
        write_solid_bmp("GFX/main1.bmp", 640, 480, 0, 0, 200);
        // The still screens and the credits write in these fonts.
        write_block_font("GFX/font.bmp", 6, 10, 255, 255, 255);
        write_file("SCRIPT/in.scr", "font GFX/font.bmp\nkrok2 40\n");
        write_file("SCRIPT/menu.scr",
                   "main1 GFX/main1.bmp\nfont GFX/font.bmp\nb_new_game 100,50,200,40\nb_kod 100,100,200,40\n"
                   "b_top-ten 100,150,200,40\nb_pomoc 100,200,200,40\nb_exit 100,250,200,40\n");
    }
    void TearDown() override
    {
        platform_use_scripted(NULL);
        StartUpTest::TearDown();
    }
    // A level whose submarine sails and that holds no creature is won after
    // its first frame.
    void level_won_at_once(const std::string& dir) { write_file("SCRIPT/" + dir + "/delo.scr", "[*] zivoty 5 [END]\n"); }
    // The second level, BETA, chosen from the menu's code item and kept going
    // by a creature that never comes; the table holds Nemo's 50.
    void second_level_by_code(const std::string& more_levels, const std::string& more_menu)
    {
        write_file("SCRIPT/levels.scr", "L1 ALFA 100\nL2 BETA 200\n" + more_levels);
        level_won_at_once("L2");
        write_file("SCRIPT/L2/potvory.scr", "[*A] pocet 1 [END]\n");
        write_file("SCRIPT/topten.scr", "Nemo 50 1\n");
        write_file("SCRIPT/menu.scr", read_file("SCRIPT/menu.scr") + "c_pos 100,300,400\n" + more_menu);
        menu_script.highlighted = ITEM_LEVEL_CODE;
    }
    Captured play()
    {
        return capture([&] { result = run_game(); });
    }
    ScriptedInput input;
    Player player;
};

}  // namespace

TEST_F(OuterLoopTest, WonLevelsFollowInCatalogueOrderUntilTheLastEndsTheGame)
{
    write_file("SCRIPT/levels.scr", "L1 ALFA 100\nL2 BETA 200\nL3 GAMA 300\n");
    level_won_at_once("L1");
    level_won_at_once("L2");
    level_won_at_once("L3");
    player.moves = {NEW_GAME, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, LEAVE};
    Captured output = play();
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_EQ(3, player.loads);
    size_t first = output.out.find("script: SCRIPT/L1/delo.scr : NALEZENA NOVA PONORKA #0\n");
    size_t second = output.out.find("script: SCRIPT/L2/delo.scr : NALEZENA NOVA PONORKA #0\n");
    size_t third = output.out.find("script: SCRIPT/L3/delo.scr : NALEZENA NOVA PONORKA #0\n");
    ASSERT_NE(std::string::npos, first);
    ASSERT_NE(std::string::npos, second);
    ASSERT_NE(std::string::npos, third);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_EQ(std::string::npos, output.err.find("Pokus o nahrani neexistujiciho levelu"));
    EXPECT_EQ(3, game.level_index);
    // Every level is released in the same order, once.
    std::vector<int> ranks = release_ranks(output.out);
    int restarts = 0;
    for (size_t i = 1; i < ranks.size(); i++) restarts += ranks[i] <= ranks[i - 1];
    EXPECT_EQ(2, restarts) << output.out;
    EXPECT_EQ(3, occurrences(output.out, "UVOLNEN SKRIPT POTVOR Z PAMETI\n"));
    EXPECT_EQ(3, occurrences(output.out, "UVOLNEN SKRIPT BITMAP Z PAMETI\n"));
    EXPECT_EQ(3, occurrences(output.out, "UVOLNENO DELO("));
    // The menu is read at start-up and again before the menu after the game.
    EXPECT_EQ(2, occurrences(output.out, "SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa GFX/main1.bmp\n"));
    // The way out: the report of the last level, and the audio device closed.
    EXPECT_NE(std::string::npos, read_file("fps.txt").find("FRAMES : 1\n"));
    EXPECT_FALSE(audio_open());
}

TEST_F(OuterLoopTest, ALostLevelEndsTheGameWithoutAdvancing)
{
    write_file("SCRIPT/levels.scr", "L1 ALFA 100\nL2 BETA 200\n");
    level_won_at_once("L2");  // L1 has no submarine: lost after its first frame
    player.moves = {NEW_GAME, SCREEN_KEY, SCREEN_KEY, LEAVE};
    Captured output = play();
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_EQ(1, player.loads);
    EXPECT_NE(std::string::npos, output.err.find("Nemohu nahrat soubor : SCRIPT/L1/delo.scr\n"));
    EXPECT_EQ(std::string::npos, output.out.find("SCRIPT/L2/"));
    EXPECT_EQ(0, game.level_index);
}

TEST_F(OuterLoopTest, EscapeEndsTheGameWithoutAdvancing)
{
    write_file("SCRIPT/levels.scr", "L1 ALFA 100\nL2 BETA 200\n");
    level_won_at_once("L1");
    level_won_at_once("L2");
    write_file("SCRIPT/L1/potvory.scr", "[*A] pocet 1 [END]\n");  // keeps the level going
    input.keys[SDLK_ESCAPE] = 1;
    player.moves = {NEW_GAME, SCREEN_KEY, SCREEN_KEY, LEAVE};
    Captured output = play();
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_EQ(1, player.loads);
    EXPECT_EQ(std::string::npos, output.out.find("SCRIPT/L2/"));
    EXPECT_EQ(0, game.level_index);
    EXPECT_NE(std::string::npos, read_file("fps.txt").find("FRAMES : 1\n"));
}

TEST_F(OuterLoopTest, AReportThatCannotBeWrittenIsSkippedAndTheWayOutGoesOn)
{
    std::filesystem::create_directory("fps.txt");
    player.moves = {{{SDLK_UP, 1}, {SDLK_UP, 0}, {SDLK_RETURN, 1}}};
    Captured output = play();
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_EQ(ITEM_LEAVE, menu_script.chosen);
    EXPECT_TRUE(std::filesystem::is_directory("fps.txt"));
    EXPECT_FALSE(audio_open());
}

// The window closed in the menu: the way out of the menu's last item, with
// the credits, the high scores and the frame-rate report.
TEST_F(OuterLoopTest, ClosingTheWindowInTheMenuLeavesAsTheLastItemDoes)
{
    write_file("SCRIPT/topten.scr", "Nemo 300 2\n");
    scripted_push_quit(input);
    Captured output = play();
    EXPECT_EQ((std::vector<long long>{0, 0, 1, 0}),
              (std::vector<long long>{result, input.dry_waits, input.quit_requests, player.loads}));
    EXPECT_EQ("Nemo 300 2\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n",
              read_file("SCRIPT/topten.scr"));
    EXPECT_NE(std::string::npos, read_file("fps.txt").find("FRAMES : 0\n"));
    EXPECT_FALSE(audio_open());
}

// The window closed in a level started by its code: the game ends as with
// Escape, the score enters the table without a name, and the game leaves.
TEST_F(OuterLoopTest, ClosingTheWindowInALevelEndsTheGameKeepsTheScoreAndLeaves)
{
    second_level_by_code("L3 GAMA 300\n", "");
    scripted_push_key(input, SDLK_RETURN, 1, 13);
    scripted_push_key(input, SDLK_RETURN, 0, 0);
    for (char c : std::string("BETA")) {
        scripted_push_key(input, (SDLKey)c, 1, (Uint16)c);
        scripted_push_key(input, (SDLKey)c, 0, 0);
    }
    scripted_push_key(input, SDLK_RETURN, 1, 13);
    scripted_push_key(input, SDLK_RETURN, 0, 0);
    scripted_push_key(input, SDLK_SPACE, 1, 0);  // past the announcement
    scripted_push_quit(input);
    // Should the close request be missed, the player gives up after a second.
    input.on_delay = [](ScriptedInput& in, Uint32 ms, void* user) {
        count_loads(in, ms, user);
        if (in.delays > 1100) in.keys[SDLK_ESCAPE] = 1;
    };
    Captured output = play();
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_EQ(1, player.loads);
    EXPECT_NE(std::string::npos, output.out.find("...NO\n...OK\n"));
    EXPECT_EQ("%00 100 2\nNemo 50 1\n", read_file("SCRIPT/topten.scr").substr(0, 20));
    EXPECT_NE(std::string::npos, read_file("fps.txt").find("FRAMES : 1\n"));
    EXPECT_EQ(1, occurrences(output.out, "UVOLNEN SKRIPT POTVOR Z PAMETI\n"));
}

// A name typed after a game is in the file at once, before the player leaves
// (a player who then closes the page or kills the game keeps it); leaving
// writes the same table again.
TEST_F(OuterLoopTest, TheTableIsWrittenAsSoonAsANameIsEntered)
{
    second_level_by_code("", "high_souradnice 100,200\n");
    struct Typist {
        int step = 0;
        std::vector<std::string> tables;  // the file as it was at each wait
    } typist;
    input.user = &typist;
    input.on_delay = NULL;
    input.on_wait = [](ScriptedInput& in, void* user) {
        Typist& t = *(Typist*)user;
        t.tables.push_back(read_file("SCRIPT/topten.scr"));
        if (in.count > 0) return;
        auto tap = [&](SDLKey key, Uint16 unicode) {
            scripted_push_key(in, key, 1, unicode);
            scripted_push_key(in, key, 0, 0);
        };
        switch (t.step++) {
        case 0:  // the level-code item, the code, Return
            tap(SDLK_RETURN, 13);
            for (char c : std::string("BETA")) tap((SDLKey)c, (Uint16)c);
            scripted_push_key(in, SDLK_RETURN, 1, 13);
            break;
        case 1:  // past the announcement, and Escape in the level's first frame
            scripted_push_key(in, SDLK_RETURN, 0, 0);
            tap(SDLK_SPACE, ' ');
            scripted_push_key(in, SDLK_ESCAPE, 1, 27);
            break;
        case 2:  // past the game-over screen
            scripted_push_key(in, SDLK_ESCAPE, 0, 0);
            scripted_push_key(in, SDLK_SPACE, 1, ' ');
            break;
        case 3:  // the name, after the event that opens its entry
            scripted_push_key(in, SDLK_SPACE, 0, 0);
            tap(SDLK_a, 'A');
            tap(SDLK_n, 'n');
            tap(SDLK_n, 'n');
            scripted_push_key(in, SDLK_RETURN, 1, 13);
            break;
        default:  // back in the menu: close the window
            scripted_push_quit(in);
            break;
        }
    };
    Captured output = play();
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, input.dry_waits);
    ASSERT_EQ(5, typist.step) << output.out;
    const std::string expected = "Ann 100 2\nNemo 50 1\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n%00 0 0\n";
    // The last wait is the menu's after the game, before the way out.
    EXPECT_EQ(expected, typist.tables.back());
    EXPECT_EQ(expected, read_file("SCRIPT/topten.scr"));
    EXPECT_FALSE(file_exists("SCRIPT/topten.scr.tmp"));
}

// Closed in the frame in which the level is won: no further level is loaded.
TEST_F(OuterLoopTest, AWindowClosedAsTheLevelIsWonLoadsNoOther)
{
    write_file("SCRIPT/levels.scr", "L1 ALFA 100\nL2 BETA 200\n");
    level_won_at_once("L1");
    level_won_at_once("L2");
    player.moves = {NEW_GAME, SCREEN_KEY};
    input.on_delay = [](ScriptedInput& in, Uint32 ms, void* user) {
        count_loads(in, ms, user);
        if (ms == 1000) scripted_push_quit(in);  // while the level loads
    };
    Captured output = play();
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, input.dry_waits);
    EXPECT_EQ(1, player.loads);
    EXPECT_EQ(std::string::npos, output.out.find("SCRIPT/L2/"));
    EXPECT_EQ(1, game.level_index);  // the won level counts
    EXPECT_NE(std::string::npos, read_file("fps.txt").find("FRAMES : 1\n"));
}

// ---------------------------------------------------------------------------
// The data set with one file missing or spoilt: the game still starts, plays
// its first level for three seconds of game time, goes back to the menu and
// leaves with status 0, and says which file it could not use.

namespace {

// The menu's moves: a new game, a key on the level's announcement, then,
// after the level, keys on the still screens and the way out of the menu.
// The level is left with Escape after 75 frames (three seconds).
const int BAD_DATA_FRAMES = 75;

void bad_data_frames(ScriptedInput& input, Uint32 ms, void* user)
{
    Player& player = *(Player*)user;
    if (ms == 1000) return;  // the pause after loading a level
    player.frames++;
    input.keys[SDLK_ESCAPE] = player.frames >= BAD_DATA_FRAMES;
}

class BadDataTest : public StartUpTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        StartUpTest::SetUp();
        ASSERT_TRUE(copy_data_set());
        play_as(player, input, bad_data_frames);
        player.moves = {NEW_GAME, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, LEAVE};
    }
    void TearDown() override
    {
        platform_use_scripted(NULL);
        StartUpTest::TearDown();
    }
    // Plays and checks everything but the line about the file.
    Captured play_and_leave(bool with_level = true)
    {
        Captured output = capture([&] { result = run_game(); });
        EXPECT_EQ(0, result);
        EXPECT_EQ(0, input.dry_waits);
        EXPECT_EQ(player.moves.size(), player.next);
        if (!with_level) return output;
        // The level was played for its three seconds, then left.
        EXPECT_GE(player.frames, BAD_DATA_FRAMES);
        EXPECT_NE(std::string::npos, output.out.find("script: SCRIPT/LEVEL1/"));
        return output;
    }
    ScriptedInput input;
    Player player;
};

bool names_file(const Captured& output, const std::string& path)
{
    return output.err.find(path) != std::string::npos;
}

class MissingFileTest : public BadDataTest {};
class MissingFontTest : public BadDataTest {};
class CorruptFileTest : public BadDataTest {};

}  // namespace

TEST_P(MissingFileTest, TheGameStartsPlaysLeavesAndNamesTheFile)
{
    const std::string path = GetParam();
    ASSERT_TRUE(std::filesystem::remove(path)) << path;
    // Without creatures the first level is won at once and the second is
    // played: its announcement takes one more key.
    if (path == "SCRIPT/LEVEL1/potvory.scr") player.moves.insert(player.moves.begin() + 1, player.moves[1]);
    // Without a level catalogue there is no level to play; without a
    // submarine the level is lost on its first frame.
    Captured output = play_and_leave(path != "SCRIPT/levels.scr" && path != "SCRIPT/LEVEL1/delo.scr");
    EXPECT_TRUE(names_file(output, path)) << output.err;
}

// Text cannot be written without a font: the game names the file it could
// not load and ends with status 1 as soon as it needs the font.
TEST_P(MissingFontTest, TheGameNamesTheFileAndEndsWithStatusOne)
{
    const std::string path = GetParam();
    ASSERT_TRUE(std::filesystem::remove(path)) << path;
    EXPECT_EXIT(run_game(), ::testing::ExitedWithCode(1), "Nemohu nahrat soubor : " + path);
}

INSTANTIATE_TEST_SUITE_P(EveryFontAndTheScriptsNamingThem, MissingFontTest,
                         ::testing::Values("SCRIPT/menu.scr", "SCRIPT/in.scr", "GFX/menu/pismo.bmp",
                                           "GFX/intro/titulky_pismo.bmp"));

INSTANTIATE_TEST_SUITE_P(
    EveryScriptAndKindOfMedia, MissingFileTest,
    ::testing::Values("SCRIPT/misc.scr", "SCRIPT/levels.scr", "SCRIPT/topten.scr", "SCRIPT/LEVEL1/images.scr", "SCRIPT/LEVEL1/weapons.scr",
                      "SCRIPT/LEVEL1/delo.scr", "SCRIPT/LEVEL1/potvory.scr", "SCRIPT/LEVEL1/panel.scr",
                      "SCRIPT/LEVEL1/plane.scr", "SCRIPT/LEVEL1/bonusy.scr", "GFX/LEVEL1/dno0.bmp",
                      "GFX/fx/pena.bmp", "GFX/fx/zblunk_maly.bmp", "GFX/fx/vybuch_potvora.bmp",
                      "GFX/fx/zamer_ok.bmp", "GFX/LEVEL1/uvod.bmp", "GFX/LEVEL1/panel.bmp",
                      "GFX/panel/cislice.bmp", "GFX/creatures/ryba.bmp", "GFX/planes/bombarder.bmp",
                      "GFX/bonus/oprava.bmp", "GFX/menu/main1.bmp", "GFX/intro/uvod1.bmp", "GFX/shots/granat.bmp",
                      "GFX/weapons/kanon.bmp", "SFX/menu.wav", "SFX/vystrel_kanon.wav"));

namespace {

struct CorruptFile {
    const char* path;
    const char* kind;  // how the file is spoilt
    bool named;        // the game cannot load it and says so
};

void spoil(const CorruptFile& file)
{
    const std::string kind = file.kind;
    if (kind == "empty") {
        write_file(file.path, "");
    } else if (kind == "lying header") {
        // A 4000 x 4000 8-bit header over a handful of pixel bytes.
        std::string bmp = read_file(file.path).substr(0, 1078 + 64);
        const Uint32 side = 4000;
        for (int b = 0; b < 4; b++) {
            bmp[18 + b] = (char)(side >> (8 * b));
            bmp[22 + b] = (char)(side >> (8 * b));
        }
        write_file(file.path, bmp);
    } else if (kind == "one pixel") {
        write_solid_bmp(file.path, 1, 1, 200, 0, 0);
    } else {
        write_file(file.path, "RIFF this is no sound at all\n");
    }
}

}  // namespace

TEST_P(CorruptFileTest, TheGameStartsPlaysLeavesAndNamesTheFileItCannotLoad)
{
    static const CorruptFile FILES[] = {
        {"GFX/LEVEL1/dno0.bmp", "empty", true},          {"GFX/creatures/ryba.bmp", "lying header", true},
        {"GFX/LEVEL1/dno0.bmp", "one pixel", false},     {"GFX/fx/pena.bmp", "one pixel", false},
        {"GFX/fx/vybuch_potvora.bmp", "one pixel", false}, {"GFX/shots/granat.bmp", "one pixel", false},
        {"SFX/vystrel_kanon.wav", "not a sound", true},  {"SFX/menu.wav", "not a sound", true},
    };
    const CorruptFile& file = FILES[GetParam()[0] - '0'];
    SCOPED_TRACE(std::string(file.path) + ": " + file.kind);
    spoil(file);
    Captured output = play_and_leave();
    if (file.named) {
        EXPECT_TRUE(names_file(output, file.path)) << output.err;
    }
}

INSTANTIATE_TEST_SUITE_P(ZeroByteLyingHeaderTinyPicturesAndFalseSounds, CorruptFileTest,
                         ::testing::Values("0", "1", "2", "3", "4", "5", "6", "7"));
