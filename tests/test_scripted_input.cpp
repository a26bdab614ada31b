#include <gtest/gtest.h>

#include <vector>

#include "platform.h"
#include "support.h"

TEST(CloseRequest, PollingHandsItOutAndCountsIt)
{
    ScriptedSession s;
    scripted_push_quit(s.input);
    scripted_push_motion(s.input, 5, 6);
    SDL_Event event;
    ASSERT_EQ(1, platform_poll_event(&event));
    EXPECT_EQ(SDL_QUIT, event.type);
    ASSERT_EQ(1, platform_poll_event(&event));
    EXPECT_EQ(SDL_MOUSEMOTION, event.type);
    EXPECT_EQ(1, platform_quit_requests());
}

TEST(CloseRequest, TakingTheRequestsLeavesEveryOtherEventInOrder)
{
    ScriptedSession s;
    scripted_push_key(s.input, SDLK_a, 1, 'a');
    scripted_push_quit(s.input);
    scripted_push_motion(s.input, 7, 8);
    scripted_push_quit(s.input);
    scripted_push_key(s.input, SDLK_b, 1, 'b');
    EXPECT_EQ(2, platform_take_quit_requests());
    ASSERT_EQ(3, s.input.count);
    std::vector<Uint8> types;
    SDL_Event event;
    while (platform_poll_event(&event)) types.push_back(event.type);
    EXPECT_EQ((std::vector<Uint8>{SDL_KEYDOWN, SDL_MOUSEMOTION, SDL_KEYDOWN}), types);
    EXPECT_EQ(7, s.input.mouse_x);
    EXPECT_EQ(2, platform_quit_requests());
}
