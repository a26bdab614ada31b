#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform.h"
#include "session.h"
#include "support.h"

namespace {

struct Played {
    SDL_Event key, motion, button;
    int polled_key, polled_motion, waited_button, waited_quit, polled_nothing;
    Uint8 key_a, key_a_after_release;
    Uint32 ticks_before, ticks_after;
    int mouse_x, mouse_y;
    Uint8 buttons;
    int exhausted, quits_before, quits_after, taken, cut_short;
};

// The same calls, in the same order, whatever answers them.
Played play_calls()
{
    Played p;
    memset(&p, 0, sizeof p);
    p.polled_key = platform_poll_event(&p.key);
    p.key_a = platform_key_state()[SDLK_a];
    p.ticks_before = platform_ticks();
    platform_delay(25);
    p.ticks_after = platform_ticks();
    p.polled_motion = platform_poll_event(&p.motion);
    SDL_Event release;
    platform_poll_event(&release);
    p.key_a_after_release = platform_key_state()[SDLK_a];
    p.waited_button = platform_wait_event(&p.button);
    p.buttons = platform_mouse_state(&p.mouse_x, &p.mouse_y);
    p.quits_before = platform_quit_requests();
    p.exhausted = platform_input_exhausted();
    SDL_Event quit;
    p.waited_quit = platform_wait_event(&quit);
    p.quits_after = platform_quit_requests();
    p.taken = platform_take_quit_requests();
    p.cut_short = platform_delay_unless_quit(10);
    SDL_Event none;
    p.polled_nothing = platform_poll_event(&none);
    platform_frame_shown(NULL);
    return p;
}

void queue_calls(ScriptedInput& input)
{
    scripted_push_key(input, SDLK_a, 1, 'a');
    scripted_push_motion(input, 100, 200);
    scripted_push_key(input, SDLK_a, 0, 0);
    scripted_push_button(input, SDL_BUTTON_LEFT, 1);
    scripted_push_quit(input);
}

// Records play_calls into "game.rec" with a scripted player.
Played record_game(int argc, char** argv)
{
    ScriptedSession s;
    s.input.clock_ms = 1000;
    queue_calls(s.input);
    EXPECT_EQ(0, session_record_into("game.rec", argc, argv));
    Played played = play_calls();
    EXPECT_EQ(0, session_close());
    return played;
}

char program[] = "abyssor";
char sound_switch[] = "-SND";
char odd_argument[] = "two words 100%";

void record_plain_game()
{
    char* argv[] = {program, NULL};
    record_game(1, argv);
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string join_lines(const std::vector<std::string>& lines, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count && i < lines.size(); i++) text += lines[i] + "\n";
    return text;
}

// After a failed replay the game sees no input and a close request at
// every look: every screen ends and the game leaves.
void expect_winding_down()
{
    SDL_Event event;
    EXPECT_EQ(0, platform_wait_event(&event));
    EXPECT_EQ(0, platform_poll_event(&event));
    EXPECT_EQ(1, platform_quit_requested());
    int first = platform_take_quit_requests();
    EXPECT_GT(platform_take_quit_requests(), first);  // the credits see a second request and stop
    EXPECT_EQ(0, platform_key_state()[SDLK_a]);
    EXPECT_EQ(1, platform_delay_unless_quit(1000));
    Uint32 before = platform_ticks();
    platform_delay(40);
    EXPECT_EQ(before + 40, platform_ticks());  // timed screens still come to an end
}

}  // namespace

TEST(RecordReplay, EveryCallGetsWhatItGotWhenRecordedAndTheLiveInputIsNotAsked)
{
    TempDir dir;
    char* argv[] = {program, sound_switch, odd_argument, NULL};
    Played recorded = record_game(3, argv);
    ASSERT_EQ(SDLK_a, recorded.key.key.keysym.sym);  // the recording saw the script's input
    ASSERT_EQ(1, recorded.taken);

    ScriptedSession other;  // a different player, who must not be heard
    other.input.clock_ms = 777;
    scripted_push_key(other.input, SDLK_b, 1, 'b');
    int argc = 1;
    char* given[] = {program, NULL};
    char** args = given;
    ASSERT_EQ(0, session_replay_from("game.rec", &argc, &args));
    ASSERT_EQ(3, argc);
    EXPECT_STREQ("abyssor", args[0]);
    EXPECT_STREQ("-SND", args[1]);
    EXPECT_STREQ("two words 100%", args[2]);
    EXPECT_EQ(NULL, args[3]);
    Played replayed = play_calls();

    EXPECT_EQ(1, replayed.polled_key);
    EXPECT_EQ(SDL_KEYDOWN, replayed.key.type);
    EXPECT_EQ(SDLK_a, replayed.key.key.keysym.sym);
    EXPECT_EQ((std::vector<long long>{'a', 1, 0, 1000, 1025, SDL_MOUSEMOTION, 100, 200, 1, SDL_MOUSEBUTTONDOWN,
                                      SDL_BUTTON_LEFT, 100, 200}),
              (std::vector<long long>{replayed.key.key.keysym.unicode, replayed.key_a, replayed.key_a_after_release,
                                      replayed.ticks_before, replayed.ticks_after, replayed.motion.type,
                                      replayed.motion.motion.x, replayed.motion.motion.y, replayed.waited_button,
                                      replayed.button.type, replayed.button.button.button, replayed.mouse_x,
                                      replayed.mouse_y}));
    EXPECT_EQ(SDL_BUTTON(SDL_BUTTON_LEFT), replayed.buttons);
    EXPECT_EQ((std::vector<long long>{0, 0, 0, 1, 1, 1, 0, 0}),
              (std::vector<long long>{replayed.quits_before, replayed.exhausted, replayed.waited_quit,
                                      replayed.quits_after, replayed.taken, replayed.cut_short,
                                      replayed.polled_nothing, session_replay_failed()}));

    Captured closing = capture([&] { EXPECT_EQ(0, session_close()); });
    EXPECT_EQ("", closing.err);
    // The replay neither took the other player's input nor waited.
    EXPECT_EQ(1, other.input.count);
    EXPECT_EQ(0, other.input.delays);
    EXPECT_EQ(777u, other.input.clock_ms);
}

// A recording spoilt in one line, or a game that asks for other calls than
// were recorded: the fault is said once, in one line, and the game winds down.
TEST(RecordReplay, AFaultyReplaySaysWhereOnceAndTheGameWindsDown)
{
    const std::string at = "ABYSSOR: replay game.rec ";
    const struct {
        const char* what;
        bool cut_mid_line;
        std::function<void(std::vector<std::string>&)> spoil;
        std::function<void()> play;
        std::string said;
    } cases[] = {
        {"cut in the middle of the motion event's line", true,
         [](std::vector<std::string>& lines) {
             ASSERT_EQ('p', lines[6][0]);
             lines[6] = lines[6].substr(0, 4);
             lines.resize(7);
         },
         [] {
             play_calls();
             expect_winding_down();
         },
         "is truncated at line 7 (frame 0)\n"},
        {"a line that no recording holds", false,
         [](std::vector<std::string>& lines) {
             ASSERT_EQ("t 1000", lines[4]);
             lines[4] = "t 1x00";
         },
         [] {
             Played p = play_calls();
             EXPECT_EQ(1, p.polled_key);  // what came before the fault was replayed
             EXPECT_EQ(0u, p.ticks_before);
             EXPECT_EQ(0, p.polled_motion);
         },
         "is corrupt at line 5 (frame 0)\n"},
        {"a key beyond the key table", false,
         [](std::vector<std::string>& lines) {
             ASSERT_EQ('p', lines[2][0]);
             lines[2] = "p 2 1 0 99999 0 97";
         },
         [] {
             SDL_Event event;
             EXPECT_EQ(0, platform_poll_event(&event));
         },
         "is corrupt at line 3 (frame 0)\n"},
        {"a game that takes another path", false, [](std::vector<std::string>&) {},
         [] {
             platform_ticks();  // the recorded game polled first
             expect_winding_down();
         },
         "is out of step: the game asks for the clock, the recording holds an event polled at line 3 (frame 0)\n"},
        {"a game that ends before the recording", false, [](std::vector<std::string>&) {},
         [] {
             SDL_Event event;
             platform_poll_event(&event);
         },
         "is out of step: the game ended before the recording did at line 4 (frame 0)\n"},
        {"a game that asks for more than was recorded", false, [](std::vector<std::string>&) {},
         [] {
             play_calls();
             EXPECT_EQ(0, session_replay_failed());
             EXPECT_EQ(0u, platform_ticks() - platform_ticks());
             EXPECT_EQ(1, session_replay_failed());
             expect_winding_down();
         },
         "ran out: the game asks for the clock after the recording's end at line {lines} (frame 1)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        record_plain_game();
        std::vector<std::string> lines = lines_of(read_file("game.rec"));
        std::string said = c.said;
        size_t count_at = said.find("{lines}");
        if (count_at != std::string::npos) said.replace(count_at, 7, std::to_string(lines.size()));
        c.spoil(lines);
        std::string text = join_lines(lines, lines.size());
        if (c.cut_mid_line) text.pop_back();
        write_file("game.rec", text);
        ASSERT_EQ(0, session_replay_from("game.rec", NULL, NULL));
        Captured run = capture([&] {
            c.play();
            EXPECT_EQ(1, session_close());
        });
        EXPECT_EQ(at + said, run.err);
        EXPECT_EQ("", run.out);
    }
}

TEST(RecordReplay, ARecordingOfAnotherVersionIsNotStarted)
{
    TempDir dir;
    write_file("game.rec", "ABYSSOR replay 2\nargs\nend\n");
    Captured run = capture([&] { EXPECT_EQ(-1, session_replay_from("game.rec", NULL, NULL)); });
    EXPECT_EQ("ABYSSOR: replay game.rec is of version 2, and this game replays version 1 at line 1 (frame 0)\n",
              run.err);
    EXPECT_EQ(0, session_replaying());
    write_file("other.rec", "P6\n640 480\n");
    run = capture([&] { EXPECT_EQ(-1, session_replay_from("other.rec", NULL, NULL)); });
    EXPECT_EQ("ABYSSOR: replay other.rec is not a recording of this game at line 1 (frame 0)\n", run.err);
    run = capture([&] { EXPECT_EQ(-1, session_replay_from("missing.rec", NULL, NULL)); });
    EXPECT_EQ("ABYSSOR: cannot open the replay missing.rec: No such file or directory\n", run.err);
}

TEST(RecordReplay, TheEnvironmentChoosesAndAReplayWinsOverARecording)
{
    TempDir dir;
    record_plain_game();
    std::string before = read_file("game.rec");
    setenv("ABYSSOR_REPLAY", "game.rec", 1);
    setenv("ABYSSOR_RECORD", "new.rec", 1);
    int argc = 1;
    char* given[] = {program, NULL};
    char** args = given;
    EXPECT_EQ(0, session_open(&argc, &args));
    unsetenv("ABYSSOR_REPLAY");
    unsetenv("ABYSSOR_RECORD");
    EXPECT_EQ(1, session_replaying());
    play_calls();
    EXPECT_EQ(0, session_close());
    EXPECT_FALSE(file_exists("new.rec"));
    EXPECT_EQ(before, read_file("game.rec"));
}

TEST(RecordReplay, ARecordingThatCannotBeWrittenIsRefused)
{
    TempDir dir;
    char* argv[] = {program, NULL};
    Captured run = capture([&] { EXPECT_EQ(-1, session_record_into("no/such/folder/game.rec", 1, argv)); });
    EXPECT_EQ("ABYSSOR: cannot write the recording no/such/folder/game.rec: No such file or directory\n", run.err);
    EXPECT_EQ(0, session_recording());
}

TEST(ScreenSums, PixelsRowByRowWithoutThePitchPadding)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 16, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_NE(nullptr, surface);
    ASSERT_GT(surface->pitch, 6);  // rows are padded
    memset(surface->pixels, 0xEE, (size_t)surface->pitch * 2);
    const Uint16 values[2][3] = {{0x0102, 0x0304, 0x0506}, {0x0708, 0x090A, 0x0B0C}};
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++) ((Uint16*)((Uint8*)surface->pixels + y * surface->pitch))[x] = values[y][x];
    // FNV-1a of the twelve bytes 02 01 04 03 ... 0C 0B, worked out apart.
    EXPECT_EQ(0x0a8f0889u, screen_checksum(surface));
    SDL_FreeSurface(surface);
    EXPECT_EQ(0x811c9dc5u, screen_checksum(NULL));
}

TEST(ScreenSums, EveryFiftiethFrameAndEveryWaitWhenAsked)
{
    TempDir dir;
    ScriptedSession s;
    scripted_push_key(s.input, SDLK_a, 1, 'a');
    TestScreen screen;
    setenv("ABYSSOR_SCREEN_SUMS", "sums.txt", 1);
    int argc = 1;
    char* given[] = {program, NULL};
    char** args = given;
    ASSERT_EQ(0, session_open(&argc, &args));
    unsetenv("ABYSSOR_SCREEN_SUMS");
    SDL_Surface* surface = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, surface);
    SDL_FillRect(surface, NULL, 0);
    Uint32 black = screen_checksum(surface);
    SDL_Event event;
    platform_wait_event(&event);
    for (int frame = 1; frame <= 100; frame++) {
        if (frame == 100) SDL_FillRect(surface, NULL, 0xFFFF);
        platform_frame_shown(surface);
    }
    Uint32 white = screen_checksum(surface);
    EXPECT_EQ(100, session_frames_shown());
    EXPECT_EQ(0, session_close());
    char expected[128];
    snprintf(expected, sizeof expected, "wait 1 %08x\nframe 50 %08x\nframe 100 %08x\n", (unsigned)black,
             (unsigned)black, (unsigned)white);
    EXPECT_EQ(expected, read_file("sums.txt"));
    EXPECT_NE(black, white);
}
