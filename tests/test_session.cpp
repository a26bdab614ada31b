#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform.h"
#include "session.h"
#include "support.h"

namespace {

// What each call through the seam gave, in the order a game makes them.
std::vector<long long> play_calls()
{
    std::vector<long long> got;
    SDL_Event key{}, motion{}, release{}, button{}, quit{}, none{};
    got.push_back(platform_poll_event(&key));
    got.insert(got.end(), {key.type, key.key.keysym.sym, key.key.keysym.unicode, platform_key_state()[SDLK_a]});
    got.push_back(platform_ticks());
    platform_delay(25);
    got.push_back(platform_ticks());
    got.push_back(platform_poll_event(&motion));
    got.insert(got.end(), {motion.type, motion.motion.x, motion.motion.y});
    platform_poll_event(&release);
    got.push_back(platform_key_state()[SDLK_a]);
    got.push_back(platform_wait_event(&button));
    got.insert(got.end(), {button.type, button.button.button, button.button.x, button.button.y});
    int x = 0, y = 0;
    got.push_back(platform_mouse_state(&x, &y));
    got.insert(got.end(), {x, y, platform_quit_requests(), platform_input_exhausted(), platform_wait_event(&quit),
                           platform_quit_requests(), platform_take_quit_requests(), platform_delay_unless_quit(10),
                           platform_poll_event(&none)});
    platform_frame_shown(NULL);
    return got;
}

// The calls' answers as a scripted player gives them from 1000 ms on.
const std::vector<long long> PLAYED = {
    1, SDL_KEYDOWN, SDLK_a, 'a', 1, 1000, 1025, 1, SDL_MOUSEMOTION, 100, 200, 0, 1, SDL_MOUSEBUTTONDOWN,
    SDL_BUTTON_LEFT, 30, 40, SDL_BUTTON(SDL_BUTTON_LEFT), 100, 200, 0, 0, 0, 1, 1, 1, 0};

char program[] = "abyssor";

// Records play_calls into "game.rec" with a scripted player.
void record_game(int argc, char** argv)
{
    ScriptedSession s;
    s.input.clock_ms = 1000;
    scripted_push_key(s.input, SDLK_a, 1, 'a');
    scripted_push_motion(s.input, 100, 200);
    scripted_push_key(s.input, SDLK_a, 0, 0);
    s.input.mouse_x = 30;  // where the button event says it was pressed
    s.input.mouse_y = 40;
    scripted_push_button(s.input, SDL_BUTTON_LEFT, 1);
    scripted_push_quit(s.input);
    EXPECT_EQ(0, session_record_into("game.rec", argc, argv));
    EXPECT_EQ(PLAYED, play_calls());
    EXPECT_EQ(0, session_close());
}

void record_plain_game()
{
    char* argv[] = {program, NULL};
    record_game(1, argv);
}

// After a failed replay the game sees no input and a close request at
// every look: every screen ends, the credits see a second request and stop,
// and timed screens still come to an end.
void expect_winding_down()
{
    SDL_Event event;
    int first = platform_take_quit_requests();
    std::vector<long long> got = {platform_wait_event(&event), platform_poll_event(&event), platform_quit_requested(),
                                  platform_take_quit_requests() > first, platform_key_state()[SDLK_a],
                                  platform_delay_unless_quit(1000), platform_ticks()};
    platform_delay(40);
    got.back() = platform_ticks() - got.back();
    EXPECT_EQ((std::vector<long long>{0, 0, 1, 1, 0, 1, 40}), got);
}

}  // namespace

// The replay gives every call what it got when recorded, the arguments
// included, and neither takes the live player's input nor waits.
TEST(RecordReplay, EveryCallGetsWhatItGotWhenRecordedAndTheLiveInputIsNotAsked)
{
    TempDir dir;
    char sound_switch[] = "-SND", odd_argument[] = "two words 100%";
    char* argv[] = {program, sound_switch, odd_argument, NULL};
    record_game(3, argv);
    ScriptedSession other;  // a different player, who must not be heard
    other.input.clock_ms = 777;
    scripted_push_key(other.input, SDLK_b, 1, 'b');
    int argc = 1;
    char* given[] = {program, NULL};
    char** args = given;
    ASSERT_EQ(0, session_replay_from("game.rec", &argc, &args));
    ASSERT_EQ(3, argc);
    EXPECT_EQ("abyssor|-SND|two words 100%|1", std::string(args[0]) + "|" + args[1] + "|" + args[2] + "|" + std::to_string(args[3] == NULL));
    EXPECT_EQ(PLAYED, play_calls());
    EXPECT_EQ(0, session_replay_failed());
    Captured closing = capture([&] { EXPECT_EQ(0, session_close()); });
    EXPECT_EQ("", closing.err);
    EXPECT_EQ((std::vector<long long>{1, 0, 777}),
              (std::vector<long long>{other.input.count, other.input.delays, other.input.clock_ms}));
}

// A recording spoilt in one line, or a game that asks for other calls than
// were recorded: the fault is said once, in one line that says where, and
// the game winds down. (The kept games' replays of damaged recordings try
// the other faults in a whole game.)
TEST(RecordReplay, AFaultyReplaySaysWhereOnceAndTheGameWindsDown)
{
    const struct {
        const char* what;
        int line;              // the line spoilt, from 1
        const char* spoilt;    // what it becomes
        std::function<void()> play;
        std::string said;
    } cases[] = {
        {"a key beyond the key table", 3, "p 2 1 0 99999 0 97",
         [] {
             SDL_Event event;
             EXPECT_EQ(0, platform_poll_event(&event));
         },
         "is corrupt at line 3 (frame 0)\n"},
        {"a game that ends before the recording", 0, "",
         [] {
             SDL_Event event;
             platform_poll_event(&event);
         },
         "is out of step: the game ended before the recording did at line 4 (frame 0)\n"},
        {"a game that asks for more than was recorded", 0, "",
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
        std::string text = read_file("game.rec"), said = c.said;
        size_t lines = occurrences(text, "\n"), start = 0;
        for (int i = 1; i < c.line; i++) start = text.find('\n', start) + 1;
        if (c.line > 0) text.replace(start, text.find('\n', start) - start, c.spoilt);
        if (said.find("{lines}") != std::string::npos) said.replace(said.find("{lines}"), 7, std::to_string(lines));
        write_file("game.rec", text);
        ASSERT_EQ(0, session_replay_from("game.rec", NULL, NULL));
        Captured run = capture([&] {
            c.play();
            EXPECT_EQ(1, session_close());
        });
        EXPECT_EQ("ABYSSOR: replay game.rec " + said, run.err);
        EXPECT_EQ("", run.out);
    }
}

// A replay or a recording that cannot be used starts nothing and says why.
TEST(RecordReplay, ARecordingOfAnotherGameOrOneThatCannotBeWrittenIsRefused)
{
    TempDir dir;
    // Another version is refused in a whole game by golden_replay_faults.
    write_file("other.rec", "P6\n640 480\n");
    const char* refused[][2] = {
        {"other.rec", "replay other.rec is not a recording of this game at line 1 (frame 0)\n"},
        {"missing.rec", "cannot open the replay missing.rec: No such file or directory\n"}};
    for (const auto& r : refused) {
        Captured run = capture([&] { EXPECT_EQ(-1, session_replay_from(r[0], NULL, NULL)); });
        EXPECT_EQ(std::string("ABYSSOR: ") + r[1], run.err);
        EXPECT_EQ(0, session_replaying());
    }
    char* argv[] = {program, NULL};
    Captured run = capture([&] { EXPECT_EQ(-1, session_record_into("no/such/folder/game.rec", 1, argv)); });
    EXPECT_EQ("ABYSSOR: cannot write the recording no/such/folder/game.rec: No such file or directory\n", run.err);
    EXPECT_EQ(0, session_recording());
}

