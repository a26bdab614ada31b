#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game_state.h"
#include "main.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "support.h"
#include "video.h"

namespace {

void parse(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(&argument[0]);
    parse_switches((int)argv.size(), argv.data());
}

// The whole game as started without switches.
int run_game()
{
    char program[] = "./abyssor";
    char* argv[] = {program};
    return game_main(1, argv);
}

// Video flags by the library's names.
std::string flag_names(Uint32 flags)
{
    std::string names = flags & SDL_HWSURFACE ? "SDL_HWSURFACE" : "SDL_SWSURFACE";
    if (flags & SDL_DOUBLEBUF) names += " | SDL_DOUBLEBUF";
    if (flags & SDL_FULLSCREEN) names += " | SDL_FULLSCREEN";
    flags &= ~(SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN);
    return flags != 0 ? names + " | " + std::to_string(flags) : names;
}

int audio_frequency()
{
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) == 1 && format == AUDIO_U8 && channels == 2 ? frequency : 0;
}

// Start-up from a folder of its own; a test that breaks a driver on purpose
// leaves the next one headless again.
class StartUpTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }
    Captured start(std::vector<std::string> arguments)
    {
        parse(arguments);
        return capture([this] { result = start_up(); });
    }
    // What one start holds goes, so that the next starts afresh.
    void close_start()
    {
        Mix_CloseAudio();
        SDL_Quit();
        game.screen = NULL;
        settings = GameSettings();
        command_line = CommandLine();
    }
    int result = -1;
    TempDir dir;
};

}  // namespace

// Switches are found anywhere in an argument, the program path included;
// -SW adds nothing and anything else is ignored. Of two scale switches the
// one tested later wins.
TEST(CommandLineTest, SwitchesSetTheVideoFlagsTheSoundAndTheEffects)
{
    const struct {
        std::vector<std::string> arguments;
        Uint32 video_flags;
        int sound, effect1, effect2, scale;
    } cases[] = {
        {{"./abyssor"}, SDL_SWSURFACE, 0, 0, 0, SCALE_NONE},
        {{"./abyssor", "-FS", "-DB", "-HW", "-X3"}, SDL_FULLSCREEN | SDL_DOUBLEBUF | SDL_HWSURFACE, 0, 0, 0, 3},
        {{"./abyssor", "-SW", "-FS", "-x2", "-X5", "-X3", "-X1"}, SDL_FULLSCREEN | SDL_SWSURFACE, 0, 0, 0, SCALE_NONE},
        {{"/games/x-SNDx/abyssor", "--EF2--", "-HW-FS", "-X4-X2"}, SDL_FULLSCREEN | SDL_HWSURFACE, 1, 0, 1, 4},
        {{"./abyssor", "fullscreen", "-fs", "-snd", "-EF1", "-X2", "big-XA"}, SDL_SWSURFACE, 0, 1, 0, SCALE_AUTO},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        settings = GameSettings();
        settings.sound = 1;
        command_line = CommandLine();
        parse(c.arguments);
        EXPECT_EQ(flag_names(c.video_flags), flag_names(settings.video_flags));
        EXPECT_FIELDS({"sound", c.sound, settings.sound}, {"effect1", c.effect1, command_line.effect1},
                      {"effect2", c.effect2, command_line.effect2}, {"scale", c.scale, command_line.scale});
    }
}

// The settings file's sound line beats the -SND switch either way; the
// device is opened at 11025 Hz, 8 bits, stereo. A device that cannot be
// opened (the disk driver cannot write here) is reported once and leaves
// the game silent but running. The switches, not the settings file, decide
// the effects; the screen is 640 x 480 in 16 bits and the menu is read.
TEST_F(StartUpTest, TheSettingsAndTheSwitchesDecideTheSoundAndTheEffects)
{
    const struct {
        const char *line, *switches, *driver;
        int sound, frequency, efekt01, efekt02;
        const char* warning;
    } cases[] = {{"sound 1\nefekt01 0\nefekt02 1\n", "-EF1", "dummy", 1, 11025, 1, 0, ""},
                 {"sound 0\nefekt02 0\n", "-SND-EF2", "dummy", 0, 0, 0, 1, ""},
                 {"", "-SND", "disk", 0, 0, 0, 0,
                  "Warning: Couldn't set 11025 Hz 8-bit audio\n- Reason: Couldn't open /nonexistent-folder/audio.raw\n"}};
    setenv("SDL_DISKAUDIOFILE", "/nonexistent-folder/audio.raw", 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.driver) + " driver, settings: " + c.line);
        setenv("SDL_AUDIODRIVER", c.driver, 1);
        write_file("SCRIPT/misc.scr", c.line);
        Captured output = start({"./abyssor", c.switches});
        EXPECT_EQ(0, result);
        ASSERT_NE(nullptr, game.screen);
        EXPECT_FIELDS({"screen width", 640, game.screen->w}, {"screen height", 480, game.screen->h},
                      {"bits per pixel", 16, game.screen->format->BitsPerPixel}, {"sound", c.sound, settings.sound},
                      {"audio frequency", c.frequency, audio_frequency()}, {"efekt01", c.efekt01, settings.efekt01},
                      {"efekt02", c.efekt02, settings.efekt02}, {"menu_loaded", 1, menu_loaded});
        EXPECT_EQ(c.warning[0] != 0, occurrences(output.err, "Warning"));
        EXPECT_NE(std::string::npos, output.err.find(c.warning));
        close_start();
    }
}

// A display that refuses the first connections (an X server resetting as its
// last client leaves) is tried again; a start that never succeeds is
// reported once, the scripts are read all the same, and the game leaves
// quietly, without the way out of the menu.
TEST_F(StartUpTest, AFailedStartIsTriedAgainReportedOnceAndTheGameLeavesQuietly)
{
    setenv("SDL_VIDEODRIVER", "no-such-video", 1);
    ScriptedSession session;
    Captured output = capture([&] { result = run_game(); });
    EXPECT_FIELDS({"exit status", 0, result}, {"tries waited for", 9, session.input.delays},
                  {"ms waited", 900, session.input.clock_ms},
                  {"failures reported", 1, occurrences(output.err, "Couldn't initialize SDL: ")});
    EXPECT_NE(std::string::npos, output.err.find("Nemohu nahrat soubor : SCRIPT/menu.scr\n"
                                                 "Nemohu nahrat soubor : SCRIPT/in.scr\n"
                                                 "Chyba pri vytvareni video surfacu\n"));
    EXPECT_FALSE(file_exists("fps.txt"));
}

// Each catalogue of the level prints its line, in a fixed order; then the
// shot pool is empty, so no shot or splash of the old level reaches the next.
TEST(LevelRelease, EachCatalogueSaysItIsFreedAndNoShotIsLeft)
{
    shot_pool.slots[3].active = 1;  // a shot in flight and a splash under way
    shot_pool.slots[4].splash_frame = 2;
    shot_pool.slots[4].splash_sound_done = 0;
    char submarine_line[64];
    snprintf(submarine_line, sizeof submarine_line, "UVOLNENO DELO(%p) Z PAMETI\n", (void*)&submarine);
    EXPECT_EQ(std::string("UVOLNEN SKRIPT BONUSU Z PAMETI\nUVOLNEN SKRIPT LETADEL Z PAMETI\n"
                          "UVOLNEN SKRIPT POTVOR Z PAMETI\nUVOLNEN SKRIPT BITMAP Z PAMETI\n") +
                  submarine_line + "UVOLNEN SKRIPT PANEL Z PAMETI\nUVOLNEN SKRIPT ZBRANI Z PAMETI\n",
              capture([] { free_level(); }).out);
    for (const Shot& shot : shot_pool.slots) EXPECT_TRUE(shot.idle()) << "slot " << &shot - shot_pool.slots;
}

// 1500 frames in 40 s make 37.5 a second; with no level played the time is
// held at 1 ms, never dividing by zero; an older report is replaced, and one
// that cannot be written is skipped.
TEST(FrameRateReport, FramesOverTheLevelTime)
{
    TempDir dir;
    const struct {
        int frames, start_ms, end_ms;
        const char* lines;
    } cases[] = {{1500, 1000, 41000, "fps : 37.500000\n\nTIME : 40000\nFRAMES : 1500\n"},
                 {0, 0, 0, "fps : 0.000000\n\nTIME : 1\nFRAMES : 0\n"}};
    for (const auto& c : cases) {
        game.frame = c.frames;
        game.level_start_ms = c.start_ms;
        game.level_end_ms = c.end_ms;
        write_file("fps.txt", "an older report that is replaced");
        write_fps_report("fps.txt");
        EXPECT_EQ(std::string("ABYSSOR v0.2 -= Tarvik software =-\n--------------------------\n") + c.lines,
                  read_file("fps.txt"));
    }
    std::filesystem::create_directory("report");
    write_fps_report("report");
    EXPECT_TRUE(std::filesystem::is_directory("report"));
}

namespace {

struct Move {
    SDLKey key;
    int pressed;
    Uint16 character;
};

// The whole program with scripted input. Each time the game waits with
// nothing queued, the player's next moves are queued; level loads are
// counted, and a game that loads far more levels than it has is ended with
// Escape.
struct Player {
    std::vector<std::vector<Move>> moves;
    size_t next = 0;
    int loads = 0;
    int frames = 0;
};

void next_moves(ScriptedInput& input, void* user)
{
    Player& player = *(Player*)user;
    if (input.count > 0 || player.next >= player.moves.size()) return;
    for (const Move& move : player.moves[player.next]) scripted_push_key(input, move.key, move.pressed, move.character);
    player.next++;
}

void count_loads(ScriptedInput& input, Uint32 ms, void* user)
{
    Player& player = *(Player*)user;
    if (ms != 1000) return;
    player.loads++;
    if (player.loads > 10) input.keys[SDLK_ESCAPE] = 1;
}

// The player's moves answer the menus, from the menu's first item.
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
const std::vector<Move> NEW_GAME = {{SDLK_RETURN, 1, 13}, {SDLK_RETURN, 0, 0}};
// A key tapped on a still screen: the announcement, the end of a level.
const std::vector<Move> SCREEN_KEY = {{SDLK_SPACE, 1, ' '}, {SDLK_SPACE, 0, 0}};
const std::vector<Move> LEAVE = {{SDLK_RETURN, 0, 0}, {SDLK_UP, 1, 0}, {SDLK_UP, 0, 0}, {SDLK_RETURN, 1, 13}};

class OuterLoopTest : public StartUpTest {
protected:
    void SetUp() override
    {
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
    // Levels whose submarine sails and that hold no creature are won after
    // their first frame.
    void levels_won_at_once(const std::string& catalogue)
    {
        write_file("SCRIPT/levels.scr", catalogue);
        for (const char* dir : {"L1", "L2", "L3"}) write_file(std::string("SCRIPT/") + dir + "/delo.scr", "[*] zivoty 5 [END]\n");
    }
    Captured play()
    {
        Captured output = capture([&] { result = run_game(); });
        EXPECT_EQ(0, result);
        EXPECT_EQ(0, input.dry_waits);
        return output;
    }
    ScriptedInput input;
    Player player;
};

}  // namespace

// Each level is loaded, played and released in turn; the last one won ends
// the game, and the way out writes the table and the report of the last
// level and closes the audio device.
TEST_F(OuterLoopTest, WonLevelsFollowInCatalogueOrderUntilTheLastEndsTheGame)
{
    levels_won_at_once("L1 ALFA 100\nL2 BETA 200\nL3 GAMA 300\n");
    player.moves = {NEW_GAME, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, LEAVE};
    Captured output = play();
    size_t first = output.out.find("script: SCRIPT/L1/delo.scr : NALEZENA NOVA PONORKA #0\n");
    size_t second = output.out.find("script: SCRIPT/L2/delo.scr : NALEZENA NOVA PONORKA #0\n");
    size_t third = output.out.find("script: SCRIPT/L3/delo.scr : NALEZENA NOVA PONORKA #0\n");
    EXPECT_TRUE(first < second && second < third && third != std::string::npos) << output.out;
    EXPECT_EQ(std::string::npos, output.err.find("Pokus o nahrani neexistujiciho levelu"));
    EXPECT_FIELDS({"levels loaded", 3, player.loads}, {"level_index", 3, game.level_index},
                  {"levels released", 3, occurrences(output.out, "UVOLNEN SKRIPT ZBRANI Z PAMETI\n")});
    // The menu is read at start-up and again before the menu after the game.
    EXPECT_EQ(2, occurrences(output.out, "SKRIPT : SCRIPT/menu.scr : Nahrana bitmapa GFX/main1.bmp\n"));
    EXPECT_EQ("%00 0 0\n", read_file("SCRIPT/topten.scr").substr(0, 8));
    EXPECT_NE(std::string::npos, read_file("fps.txt").find("FRAMES : 1\n"));
    EXPECT_EQ(0, audio_frequency());
}

// Closed in the frame in which the level is won: no further level is loaded.
TEST_F(OuterLoopTest, AWindowClosedAsTheLevelIsWonLoadsNoOther)
{
    levels_won_at_once("L1 ALFA 100\nL2 BETA 200\n");
    player.moves = {NEW_GAME, SCREEN_KEY};
    input.on_delay = [](ScriptedInput& in, Uint32 ms, void* user) {
        count_loads(in, ms, user);
        if (ms == 1000) scripted_push_quit(in);  // while the level loads
    };
    Captured output = play();
    EXPECT_EQ(std::string::npos, output.out.find("SCRIPT/L2/"));
    EXPECT_EQ(1, player.loads) << "levels loaded";
    EXPECT_EQ(1, game.level_index) << "the won level counts";
    EXPECT_NE(std::string::npos, read_file("fps.txt").find("FRAMES : 1\n"));
}

// The data set with a file missing or spoilt: the game still starts, plays
// its first level for three seconds of game time (75 frames), goes back to
// the menu, leaves with status 0, and names the file it could not use (a
// picture too small to show is not named). Without a font, text cannot be
// written: the game names the file and ends with status 1 when it needs it.
struct Spoilt {
    const char *path, *kind;  // removed ("missing", "font"), a "lying header", "one pixel", or else the new content
    const char* name;         // in the list of tests
};
std::ostream& operator<<(std::ostream& out, const Spoilt& s) { return out << s.path; }

class BadDataTest : public OuterLoopTest, public ::testing::WithParamInterface<Spoilt> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(copy_data_set());
        play_as(player, input, [](ScriptedInput& in, Uint32 ms, void* user) {
            if (ms == 1000) return;  // the pause after loading a level
            in.keys[SDLK_ESCAPE] = ++((Player*)user)->frames >= 75;
        });
        player.moves = {NEW_GAME, SCREEN_KEY, SCREEN_KEY, SCREEN_KEY, LEAVE};
    }
};

TEST_P(BadDataTest, TheGameStillPlaysAndNamesTheFile)
{
    const std::string path = GetParam().path, kind = GetParam().kind;
    if (kind == "missing" || kind == "font") {
        ASSERT_TRUE(std::filesystem::remove(path));
    } else if (kind == "lying header") {  // 4000 x 4000 pixels said, a handful there
        std::string bmp = read_file(path).substr(0, 1078 + 64);
        for (int b = 0; b < 4; b++) bmp[18 + b] = bmp[22 + b] = (char)(4000 >> (8 * b));
        write_file(path, bmp);
    } else if (kind == "one pixel") {
        write_solid_bmp(path, 1, 1, 200, 0, 0);
    } else {
        write_file(path, kind);
    }
    if (kind == "font") {
        EXPECT_EXIT(run_game(), ::testing::ExitedWithCode(1), "Nemohu nahrat soubor : " + path);
        return;
    }
    Captured output = play();
    EXPECT_EQ(player.moves.size(), player.next);
    EXPECT_GE(player.frames, 75);
    EXPECT_NE(std::string::npos, output.out.find("script: SCRIPT/LEVEL1/"));
    if (kind != "one pixel") {
        EXPECT_NE(std::string::npos, output.err.find(path)) << output.err;
    }
}

INSTANTIATE_TEST_SUITE_P(ASpoiltFileOfEachKind, BadDataTest,
                         ::testing::Values(Spoilt{"GFX/LEVEL1/dno0.bmp", "", "an_empty_seabed"},
                                           Spoilt{"GFX/creatures/ryba.bmp", "lying header", "a_fish_whose_header_lies"},
                                           Spoilt{"GFX/fx/vybuch_potvora.bmp", "one pixel", "an_explosion_of_one_pixel"},
                                           Spoilt{"SFX/vystrel_kanon.wav", "RIFF this is no sound at all\n", "a_shot_that_is_no_sound"},
                                           Spoilt{"SCRIPT/LEVEL1/weapons.scr", "missing", "no_weapons_script"},
                                           Spoilt{"GFX/menu/pismo.bmp", "font", "no_font"}),
                         [](const testing::TestParamInfo<Spoilt>& info) { return std::string(info.param.name); });
