#include <gtest/gtest.h>

#include <signal.h>


#include "platform.h"
#include "support.h"

// A close request is counted and not handed out; once one is met, no wait
// (for an event or a key press) waits any more and what follows it stays
// unread.
TEST(CloseRequest, AWaitThatMeetsItStopsAndSoDoesEveryWaitAfter)
{
    ScriptedSession s;
    s.press(SDLK_a, 'a');
    scripted_push_quit(s.input);
    s.press(SDLK_b, 'b');
    SDL_Event event;
    // A key, then the close request stops this wait and every one after; the game stopped for the
    // request, not for want of input (no dry wait), and left what follows it queued.
    EXPECT_EQ(1, platform_wait_event(&event)) << "the first wait";
    EXPECT_EQ(SDLK_a, event.key.keysym.sym);
    EXPECT_EQ(0, platform_quit_requested()) << "before the request";
    EXPECT_EQ(0, platform_wait_event(&event)) << "the wait that meets the request";
    EXPECT_EQ(1, platform_quit_requests());
    EXPECT_EQ(0, platform_wait_event(&event)) << "a wait after the request";
    EXPECT_EQ(1, s.input.count) << "events left";
    EXPECT_EQ(0, s.input.dry_waits);

    ScriptedSession k;  // a wait for a key press passes over motions and releases
    scripted_push_motion(k.input, 1, 1);
    k.release(SDLK_a);
    k.press(SDLK_a, 'a');
    scripted_push_motion(k.input, 2, 2);
    scripted_push_quit(k.input);
    k.press(SDLK_b, 'b');
    EXPECT_EQ(1, platform_wait_key_press()) << "the first wait for a key";
    EXPECT_EQ(3, k.input.count) << "events left after it";
    EXPECT_EQ(0, platform_wait_key_press()) << "the wait that meets the request";
    EXPECT_EQ(1, k.input.count) << "events left after it";
    EXPECT_EQ(0, k.input.dry_waits);
}

// A delay runs in full dropping what the player does, is skipped when a
// request is waiting and is cut short when one comes.
TEST(CloseRequest, ADelayRunsInFullUnlessOneIsWaitingOrComes)
{
    ScriptedSession s;
    s.press(SDLK_a, 'a');
    EXPECT_EQ(0, platform_delay_unless_quit(700));
    EXPECT_EQ(700u, s.input.clock_ms);
    EXPECT_EQ(1, s.input.delays);
    EXPECT_EQ(0, s.input.count) << "the key pressed meanwhile is dropped";
    scripted_push_quit(s.input);
    EXPECT_EQ(1, platform_delay_unless_quit(700));
    EXPECT_EQ(1, s.input.delays);

    ScriptedSession during;
    during.input.on_delay = [](ScriptedInput& input, Uint32, void*) { scripted_push_quit(input); };
    EXPECT_EQ(1, platform_delay_unless_quit(700));
    EXPECT_EQ(1, platform_quit_requests());
    EXPECT_EQ(0, during.input.count);
}


namespace {

// SDL's dummy video driver with a screen, as the game has one.
void start_sdl()
{
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_NOPARACHUTE));
    ASSERT_NE(nullptr, SDL_SetVideoMode(64, 48, 16, 0));
    SDL_Event event;
    while (SDL_PollEvent(&event)) continue;  // whatever setting the mode queued
}

}  // namespace

// SDL's own queue: an interrupt becomes a close request as the window
// manager's close button does, from a wait or a drain; the drain drops
// everything else queued.
TEST(CloseRequest, SDLsOwnQueueCountsItFromAWaitOrADrain)
{
    // SDL turns interrupts into requests only where they are not ignored, and
    // a shell ignores them for a job it starts in the background.
    struct sigaction plain, old_int, old_term;
    memset(&plain, 0, sizeof plain);
    plain.sa_handler = SIG_DFL;
    sigaction(SIGINT, &plain, &old_int);
    sigaction(SIGTERM, &plain, &old_term);
    SDL_Quit();  // SDL takes the interrupts when it starts
    platform_reset();
    start_sdl();
    SDL_Event event, key;
    memset(&key, 0, sizeof key);
    key.type = SDL_KEYDOWN;
    raise(SIGTERM);
    EXPECT_EQ(0, platform_wait_event(&event));
    EXPECT_EQ(1, platform_quit_requests());
    SDL_PushEvent(&key);
    EXPECT_EQ(0, platform_wait_event(&event));  // on the way out nothing is waited for
    SDL_PushEvent(&key);
    raise(SIGINT);  // a second request behind the key: counted, and the key dropped with it
    platform_drop_queued_events();
    EXPECT_EQ(2, platform_quit_requests());
    EXPECT_EQ(0, platform_poll_event(&event));
    SDL_Quit();
    sigaction(SIGINT, &old_int, NULL);
    sigaction(SIGTERM, &old_term, NULL);
}

// SDL keeps 127 events and drops what comes after: a close request that
// comes while the player has filled the queue with mouse motions is still
// counted, and it cuts a delay short at once.
TEST(CloseRequest, ARequestBehindAFullQueueIsNotLost)
{
    struct sigaction plain, old_term;
    memset(&plain, 0, sizeof plain);
    plain.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &plain, &old_term);
    SDL_Quit();
    platform_reset();
    start_sdl();
    platform_watch_close_requests();
    SDL_Event motion;
    memset(&motion, 0, sizeof motion);
    motion.type = SDL_MOUSEMOTION;
    int queued = 0;
    while (queued < 1000 && SDL_PushEvent(&motion) == 0) queued++;
    ASSERT_EQ(127, queued);
    raise(SIGTERM);  // SDL turns it into a close request, as the window manager's close button
    EXPECT_EQ(1, platform_quit_requests());
    Uint32 start = SDL_GetTicks();
    EXPECT_EQ(1, platform_delay_unless_quit(2000));
    EXPECT_GT(1000u, SDL_GetTicks() - start) << "ms the delay ran";
    SDL_Quit();
    sigaction(SIGTERM, &old_term, NULL);
}
