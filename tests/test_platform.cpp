#include <gtest/gtest.h>

#include <signal.h>

#include "platform.h"
#include "support.h"

namespace {

int waits_seen = 0;
void count_wait(ScriptedInput&, void*)
{
    waits_seen++;
}

void quit_during_delay(ScriptedInput& input, Uint32, void*)
{
    scripted_push_quit(input);
}

}  // namespace

TEST(CloseRequest, AWaitThatMeetsItStopsAndSoDoesEveryWaitAfter)
{
    ScriptedSession s;
    waits_seen = 0;
    s.input.on_wait = count_wait;
    scripted_push_key(s.input, SDLK_a, 1, 'a');
    scripted_push_quit(s.input);
    scripted_push_key(s.input, SDLK_b, 1, 'b');
    SDL_Event event;
    ASSERT_EQ(1, platform_wait_event(&event));
    EXPECT_EQ(SDLK_a, event.key.keysym.sym);
    EXPECT_EQ(0, platform_quit_requested());
    EXPECT_EQ(0, platform_wait_event(&event));  // the close request itself is not handed out
    EXPECT_EQ(1, platform_quit_requests());
    EXPECT_EQ(0, platform_wait_event(&event));  // B stays where it is: nothing more is waited for
    EXPECT_EQ(1, s.input.count);
    EXPECT_EQ(2, waits_seen);
    EXPECT_EQ(0, s.input.dry_waits);  // the game stopped for the close request, not for want of input
}

TEST(CloseRequest, AKeyPressWaitEndsOnAKeyOrOnTheRequest)
{
    ScriptedSession s;
    scripted_push_motion(s.input, 1, 1);
    scripted_push_key(s.input, SDLK_a, 0, 0);
    scripted_push_key(s.input, SDLK_a, 1, 'a');
    scripted_push_motion(s.input, 2, 2);
    scripted_push_quit(s.input);
    scripted_push_key(s.input, SDLK_b, 1, 'b');
    EXPECT_EQ(1, platform_wait_key_press());
    EXPECT_EQ(3, s.input.count);
    EXPECT_EQ(0, platform_wait_key_press());
    EXPECT_EQ(1, s.input.count);  // the press of B after the request is never read
    EXPECT_EQ(0, s.input.dry_waits);
}

TEST(CloseRequest, ADelayRunsInFullWithoutOne)
{
    ScriptedSession s;
    scripted_push_key(s.input, SDLK_a, 1, 'a');
    EXPECT_EQ(0, platform_delay_unless_quit(700));
    EXPECT_EQ(700u, s.input.clock_ms);
    EXPECT_EQ(1, s.input.delays);
    EXPECT_EQ(1, s.input.count);  // input is not read
}

TEST(CloseRequest, ADelayIsSkippedWhenOneIsWaitingAndCutWhenOneComes)
{
    ScriptedSession s;
    scripted_push_quit(s.input);
    EXPECT_EQ(1, platform_delay_unless_quit(700));
    EXPECT_EQ(0, s.input.delays);
    EXPECT_EQ(0u, s.input.clock_ms);

    ScriptedSession during;
    during.input.on_delay = quit_during_delay;
    EXPECT_EQ(1, platform_delay_unless_quit(700));
    EXPECT_EQ(1, platform_quit_requests());
    EXPECT_EQ(0, during.input.count);
}

// The real queue: SDL turns an interrupt into a close request, as it does the
// window manager's close button.
TEST(CloseRequest, SDLsOwnQueueCountsItFromAWaitOrATake)
{
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE));
    ASSERT_NE(nullptr, SDL_SetVideoMode(64, 48, 16, 0));
    SDL_Event key;
    memset(&key, 0, sizeof key);
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_x;
    raise(SIGTERM);
    SDL_Event event;
    EXPECT_EQ(0, platform_wait_event(&event));
    EXPECT_EQ(1, platform_quit_requests());
    SDL_PushEvent(&key);
    EXPECT_EQ(0, platform_wait_event(&event));  // on the way out nothing is waited for
    // A second request behind the key: taken, and the key left in the queue.
    raise(SIGINT);
    EXPECT_EQ(2, platform_take_quit_requests());
    ASSERT_EQ(1, platform_poll_event(&event));
    EXPECT_EQ(SDL_KEYDOWN, event.type);
    EXPECT_EQ(0, platform_poll_event(&event));
    SDL_Quit();
}

namespace {

Uint32 push_quit(Uint32, void*)
{
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    return 0;
}

}  // namespace

TEST(CloseRequest, ADelayOfSDLsOwnRunsInFullOrIsCutShort)
{
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_NOPARACHUTE));
    ASSERT_NE(nullptr, SDL_SetVideoMode(64, 48, 16, 0));
    Uint32 start = SDL_GetTicks();
    EXPECT_EQ(0, platform_delay_unless_quit(60));
    EXPECT_GE(SDL_GetTicks() - start, 60u);
    // A request 50 ms into a delay of ten minutes ends it.
    SDL_TimerID timer = SDL_AddTimer(50, push_quit, NULL);
    ASSERT_NE(nullptr, timer);
    EXPECT_EQ(1, platform_delay_unless_quit(600000));
    EXPECT_EQ(1, platform_quit_requests());
    SDL_Quit();
}
