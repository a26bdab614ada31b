#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "platform.h"
#include "session.h"
#include "support.h"

namespace {

// What a short session took through the seam: two frames of play, a still
// screen, a close request.
struct Played {
    int first_frame_key, key_held, second_frame_events, key_held_after_release;
    Uint32 clock_at_start, clock_after_a_frame;
    int pointer_x, pointer_y;
    int screen_answered, screen_button, buttons_held;
    int requests_before, wait_after_request, requests_after, delay_cut_short;
};

std::ostream& operator<<(std::ostream& out, const Played& p)
{
    return out << "{first frame key " << p.first_frame_key << ", held " << p.key_held << ", second frame events "
               << p.second_frame_events << ", held after release " << p.key_held_after_release << ", clock "
               << p.clock_at_start << " then " << p.clock_after_a_frame << ", pointer " << p.pointer_x << ","
               << p.pointer_y << ", screen answered " << p.screen_answered << " by button " << p.screen_button
               << " holding " << p.buttons_held << ", requests " << p.requests_before << " then "
               << p.requests_after << ", wait after request "
               << p.wait_after_request << ", delay cut short " << p.delay_cut_short << "}";
}

bool operator==(const Played& a, const Played& b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

// The player: a key before the first frame, a motion and the key let go
// during the first frame's delay, a button for the still screen and then
// the window closed.
int waits_seen;

void script_player(ScriptedSession& s)
{
    waits_seen = 0;
    s.input.clock_ms = 1000;
    s.press(SDLK_a, 'a');
    s.input.on_delay = [](ScriptedInput& input, Uint32, void*) {
        if (input.clock_ms != 1025) return;
        scripted_push_motion(input, 100, 200);
        scripted_push_key(input, SDLK_a, 0, 0);
    };
    s.input.on_wait = [](ScriptedInput& input, void*) {
        if (waits_seen++ == 0)
            scripted_push_button(input, SDL_BUTTON_RIGHT, 1);
        else
            scripted_push_quit(input);
    };
}

// The game's calls. With extra, it also reads the clock, the keys and the
// pointer and polls the empty queue where it did not when recorded.
Played play(bool extra)
{
    Played p{};
    SDL_Event event;
    auto drain = [&] {
        int taken = 0;
        while (platform_poll_event(&event)) taken++;
        if (extra) taken += platform_poll_event(&event);
        return taken;
    };
    if (extra) platform_ticks();
    p.clock_at_start = platform_ticks();
    p.first_frame_key = drain() == 1 ? event.key.keysym.sym : 0;
    p.key_held = platform_key_state()[SDLK_a];
    platform_frame_shown(NULL);
    platform_delay(25);
    if (extra) {
        platform_ticks();
        platform_key_state();
        platform_mouse_state(NULL, NULL);
    }
    p.clock_after_a_frame = platform_ticks();
    p.second_frame_events = drain();
    p.key_held_after_release = platform_key_state()[SDLK_a];
    platform_mouse_state(&p.pointer_x, &p.pointer_y);
    platform_frame_shown(NULL);
    p.screen_answered = platform_wait_event(&event);
    p.screen_button = event.button.button;
    p.buttons_held = platform_mouse_state(NULL, NULL);
    if (extra) {
        drain();
        platform_ticks();
    }
    p.requests_before = platform_quit_requests();
    p.wait_after_request = platform_wait_event(&event);
    p.requests_after = platform_quit_requests();
    p.delay_cut_short = platform_delay_unless_quit(10);
    return p;
}

const Played PLAYED = {SDLK_a, 1, 2, 0, 1000, 1025, 100, 200, 1, SDL_BUTTON_RIGHT, SDL_BUTTON(SDL_BUTTON_RIGHT),
                       0, 0, 1, 1};

char program[] = "abyssor";

// Records a play into "game.rec" with the scripted player.
void record_game(int argc, char** argv)
{
    ScriptedSession s;
    script_player(s);
    EXPECT_EQ(0, session_record_into("game.rec", argc, argv));
    EXPECT_EQ(PLAYED, play(false));
    EXPECT_EQ(0, session_close());
}

void record_plain_game()
{
    char* argv[] = {program, NULL};
    record_game(1, argv);
}

}  // namespace

// The recording holds what the player did and where the game stood: the
// events each frame and wait took, the clock where it is not the sleeps
// added up, the close request, and where the game ended.
TEST(RecordReplay, TheRecordingHoldsWhatThePlayerDidAndWhen)
{
    TempDir dir;
    char sound_switch[] = "-SND", odd_argument[] = "two words 100%";
    char* argv[] = {program, sound_switch, odd_argument, NULL};
    record_game(3, argv);
    EXPECT_EQ("ABYSSOR replay 2\n"
              "args -SND two%20words%20100%25\n"
              "clock 1000\n"
              "kd 97 97\n"
              "f1 t25 mv 100 200\n"
              "ku 97\n"
              "f2 w1 bd 3 100 200\n"
              "w2 close\n"
              "end\n",
              read_file("game.rec"));
}

// The replay gives the game what it took when recorded, the arguments
// included, and neither takes the live player's input nor waits. Reading
// the clock, the keys or the pointer more often, or polling an empty queue
// once more, changes nothing.
TEST(RecordReplay, TheReplayGivesWhatWasTakenHoweverOftenTheGameLooks)
{
    TempDir dir;
    record_plain_game();
    for (bool extra : {false, true}) {
        SCOPED_TRACE(extra ? "the game looks more often" : "the game looks as often as recorded");
        ScriptedSession other;  // a different player, who must not be heard
        other.input.clock_ms = 777;
        other.press(SDLK_b, 'b');
        int argc = 1;
        char* given[] = {program, NULL};
        char** args = given;
        ASSERT_EQ(0, session_replay_from("game.rec", &argc, &args));
        EXPECT_EQ(1, argc);
        EXPECT_EQ(PLAYED, play(extra));
        Captured closing = capture([&] { EXPECT_EQ(0, session_close()); });
        EXPECT_EQ("", closing.err);
        EXPECT_EQ(1, other.input.count) << "the live player's key";
        EXPECT_EQ(0, other.input.delays) << "delays slept";
    }
}

// A recording spoilt in one line, or a game that takes another path than
// the recording: the fault is said once, in one line that says where, and
// the game winds down: no input, a close request whenever it looks, a
// clock that only delays move. (The kept games' replays of damaged
// recordings try the faults in a whole game.)
TEST(RecordReplay, AFaultyReplaySaysWhereOnceAndTheGameWindsDown)
{
    const struct {
        const char* what;
        const char* line;     // the line spoilt
        const char* spoilt;   // what it becomes
        int frames_before;    // frames shown before the game plays as recorded
        std::string said;
    } cases[] = {
        {"a key beyond the key table", "kd 97 97", "kd 99999 97", 0, "is corrupt at line 4 (frame 0)\n"},
        {"a position that goes back", "ku 97", "f0 ku 97", 0, "is corrupt at line 6 (frame 1)\n"},
        {"a recording that ends before the game waits", "f2 w1 bd 3 100 200", "f2 end", 0,
         "ran out: the game waits for the player after the recording's end at line 7 (frame 2)\n"},
        {"a recording that ends before the game's second frame", "kd 97 97", "end", 0,
         "ran out: the game plays on past the recording's end at line 4 (frame 1)\n"},
        {"a game a frame ahead", "", "", 1,
         "is out of step: the game goes on from frame 0, wait 0, and leaves input untaken at line 4 (frame 0)\n"},
        {"a game whose wait is answered by its next one", "f2 w1 bd 3 100 200", "f2 w2 bd 3 100 200", 0,
         "is out of step: the game waits for the player at frame 2, wait 1; the recording holds input at frame 2, "
         "wait 2 at line 7 (frame 2)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        record_plain_game();
        std::string text = read_file("game.rec");
        if (*c.line != 0) text.replace(text.find(std::string(c.line) + "\n"), strlen(c.line), c.spoilt);
        write_file("game.rec", text);
        ASSERT_EQ(0, session_replay_from("game.rec", NULL, NULL));
        Captured run = capture([&] {
            for (int i = 0; i < c.frames_before; i++) platform_frame_shown(NULL);
            play(false);
            EXPECT_EQ(1, session_replay_failed());
            SDL_Event event;
            EXPECT_EQ(0, platform_wait_event(&event)) << "a wait after the fault";
            EXPECT_EQ(0, platform_poll_event(&event)) << "a poll after the fault";
            EXPECT_EQ(1, platform_quit_requested()) << "a close request after the fault";
            EXPECT_EQ(1, platform_delay_unless_quit(1000)) << "a delay after the fault";
            Uint32 before = platform_ticks();
            platform_delay(40);
            EXPECT_EQ(40u, platform_ticks() - before) << "the clock after the fault";
            EXPECT_EQ(1, session_close());
        });
        EXPECT_EQ("ABYSSOR: replay game.rec " + c.said, run.err);
        EXPECT_EQ("", run.out);
    }
}

// A recording that ends in the middle of a line, or a game that ends
// before the recording does.
TEST(RecordReplay, ATruncatedRecordingOrAGameThatEndsEarlyFails)
{
    const struct {
        const char* what;
        size_t cut;        // bytes cut off the end
        int plays;
        std::string said;
    } cases[] = {
        {"cut in its last line", 3, 1, "is truncated at line 9 (frame 2)\n"},
        {"a game that ends at once", 0, 0, "is out of step: the game ended before the recording did at line 4 (frame 0)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        record_plain_game();
        std::string text = read_file("game.rec");
        write_file("game.rec", text.substr(0, text.size() - c.cut));
        ASSERT_EQ(0, session_replay_from("game.rec", NULL, NULL));
        Captured run = capture([&] {
            if (c.plays) play(false);
            EXPECT_EQ(1, session_close());
        });
        EXPECT_EQ("ABYSSOR: replay game.rec " + c.said, run.err);
    }
}

// A replay or a recording that cannot be used starts nothing and says why.
TEST(RecordReplay, ARecordingOfAnotherGameOrOneThatCannotBeWrittenIsRefused)
{
    TempDir dir;
    write_file("other.rec", "P6\n640 480\n");
    write_file("older.rec", "ABYSSOR replay 1\nargs\nt 2000\nend\n");
    const struct {
        const char *file, *said;
    } refused[] = {{"other.rec", "replay other.rec is not a recording of this game at line 1 (frame 0)\n"},
                   {"older.rec", "replay older.rec is of version 1, and this game replays version 2 at line 1 (frame 0)\n"},
                   {"missing.rec", "cannot open the replay missing.rec: No such file or directory\n"}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.file);
        Captured run = capture([&] { EXPECT_EQ(-1, session_replay_from(r.file, NULL, NULL)); });
        EXPECT_EQ(std::string("ABYSSOR: ") + r.said, run.err);
        EXPECT_EQ(0, session_replaying());
    }
    char* argv[] = {program, NULL};
    Captured run = capture([&] { EXPECT_EQ(-1, session_record_into("no/such/folder/game.rec", 1, argv)); });
    EXPECT_EQ("ABYSSOR: cannot write the recording no/such/folder/game.rec: No such file or directory\n", run.err);
    EXPECT_EQ(0, session_recording());
}
