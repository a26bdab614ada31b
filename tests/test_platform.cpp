#include <gtest/gtest.h>

#include <signal.h>

#include <vector>

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
    std::vector<int> got = {platform_wait_event(&event), event.key.keysym.sym, platform_quit_requested(),
                            platform_wait_event(&event), platform_quit_requests(), platform_wait_event(&event)};
    got.insert(got.end(), {s.input.count, s.input.dry_waits});
    EXPECT_EQ((std::vector<int>{1, SDLK_a, 0, 0, 1, 0, 1, 0}), got);

    ScriptedSession k;  // a wait for a key press passes over motions and releases
    scripted_push_motion(k.input, 1, 1);
    k.release(SDLK_a);
    k.press(SDLK_a, 'a');
    scripted_push_motion(k.input, 2, 2);
    scripted_push_quit(k.input);
    k.press(SDLK_b, 'b');
    std::vector<int> keys = {platform_wait_key_press(), k.input.count, platform_wait_key_press(), k.input.count,
                             k.input.dry_waits};
    EXPECT_EQ((std::vector<int>{1, 3, 0, 1, 0}), keys);
}

// A delay runs in full without reading input, is skipped when a request is
// waiting and is cut short when one comes.
TEST(CloseRequest, ADelayRunsInFullUnlessOneIsWaitingOrComes)
{
    ScriptedSession s;
    s.press(SDLK_a, 'a');
    EXPECT_EQ(0, platform_delay_unless_quit(700));
    EXPECT_EQ((std::vector<long long>{700, 1, 1}), (std::vector<long long>{s.input.clock_ms, s.input.delays, s.input.count}));
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

Uint32 push_quit(Uint32, void*)
{
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    return 0;
}

}  // namespace

// SDL's own queue: an interrupt becomes a close request as the window
// manager's close button does, from a wait or a take; a request that comes
// during a delay of ten minutes ends it.
TEST(CloseRequest, SDLsOwnQueueCountsItFromAWaitOrATakeAndCutsADelayShort)
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
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_NOPARACHUTE));
    ASSERT_NE(nullptr, SDL_SetVideoMode(64, 48, 16, 0));
    SDL_Event event, key;
    while (SDL_PollEvent(&event)) continue;  // whatever setting the mode queued
    memset(&key, 0, sizeof key);
    key.type = SDL_KEYDOWN;
    raise(SIGTERM);
    EXPECT_EQ(0, platform_wait_event(&event));
    EXPECT_EQ(1, platform_quit_requests());
    SDL_PushEvent(&key);
    EXPECT_EQ(0, platform_wait_event(&event));  // on the way out nothing is waited for
    raise(SIGINT);  // a second request behind the key: taken, and the key left in the queue
    std::vector<int> got = {platform_take_quit_requests(), platform_poll_event(&event), event.type,
                            platform_poll_event(&event)};
    EXPECT_EQ((std::vector<int>{2, 1, SDL_KEYDOWN, 0}), got);
    SDL_Quit();
    sigaction(SIGINT, &old_int, NULL);
    sigaction(SIGTERM, &old_term, NULL);
    platform_reset();  // the requests counted so far go

    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_NOPARACHUTE));
    ASSERT_NE(nullptr, SDL_SetVideoMode(64, 48, 16, 0));
    ASSERT_NE(nullptr, SDL_AddTimer(50, push_quit, NULL));  // before or during the delay, it ends it
    EXPECT_EQ(1, platform_delay_unless_quit(600000));
    SDL_Quit();
}
