#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform.h"
#include "support.h"

// Drained events move the key table, the pointer and the buttons as SDL's own handling
// does, and close requests are counted in their order.
TEST(ScriptedInput, DrainedEventsMoveKeysPointerAndButtonsAndCountRequests)
{
    ScriptedSession s;
    s.press(SDLK_a, 'a');
    scripted_push_motion(s.input, 7, 8);
    scripted_push_button(s.input, SDL_BUTTON_LEFT, 1);
    scripted_push_quit(s.input);
    scripted_push_button(s.input, SDL_BUTTON_LEFT, 0);
    s.release(SDLK_a);
    struct Seen {
        int type, key_a, x, y, buttons, requests;
    };
    std::vector<Seen> seen;
    SDL_Event event;
    for (int x, y; platform_poll_event(&event);) {
        int buttons = platform_mouse_state(&x, &y);
        seen.push_back({event.type, platform_key_state()[SDLK_a], x, y, buttons, platform_quit_requests()});
    }
    const Seen expected[] = {{SDL_KEYDOWN, 1, 0, 0, 0, 0},
                             {SDL_MOUSEMOTION, 1, 7, 8, 0, 0},
                             {SDL_MOUSEBUTTONDOWN, 1, 7, 8, SDL_BUTTON(SDL_BUTTON_LEFT), 0},
                             {SDL_QUIT, 1, 7, 8, SDL_BUTTON(SDL_BUTTON_LEFT), 1},
                             {SDL_MOUSEBUTTONUP, 1, 7, 8, 0, 1},
                             {SDL_KEYUP, 0, 7, 8, 0, 1}};
    ASSERT_EQ(6u, seen.size());
    for (size_t i = 0; i < seen.size(); i++) {
        SCOPED_TRACE("after event " + std::to_string(i) + " of type " + std::to_string(expected[i].type));
        EXPECT_EQ(expected[i].type, seen[i].type);
        EXPECT_EQ(expected[i].key_a, seen[i].key_a) << "key a held";
        EXPECT_EQ(expected[i].x, seen[i].x) << "pointer x";
        EXPECT_EQ(expected[i].y, seen[i].y) << "pointer y";
        EXPECT_EQ(expected[i].buttons, seen[i].buttons) << "buttons held";
        EXPECT_EQ(expected[i].requests, seen[i].requests) << "close requests";
    }
}
