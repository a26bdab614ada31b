#include <gtest/gtest.h>

#include <vector>

#include "platform.h"
#include "support.h"

// Drained events move the key table, the pointer and the buttons as SDL's own handling
// does; taking the close requests out of the queue leaves every other event in its place.
TEST(ScriptedInput, DrainedEventsMoveKeysPointerAndButtonsAndRequestsLeaveTheRestInOrder)
{
    ScriptedSession s;
    s.press(SDLK_a, 'a');
    scripted_push_quit(s.input);
    scripted_push_motion(s.input, 7, 8);
    scripted_push_button(s.input, SDL_BUTTON_LEFT, 1);
    scripted_push_quit(s.input);
    scripted_push_button(s.input, SDL_BUTTON_LEFT, 0);
    s.release(SDLK_a);
    EXPECT_EQ(2, platform_take_quit_requests());
    std::vector<int> seen;  // after each event: its type, key a held, the pointer, the buttons held
    SDL_Event event;
    for (int x, y; platform_poll_event(&event);) {
        int buttons = platform_mouse_state(&x, &y);
        seen.insert(seen.end(), {event.type, platform_key_state()[SDLK_a], x, y, buttons});
    }
    EXPECT_EQ((std::vector<int>{SDL_KEYDOWN, 1, 0, 0, 0, SDL_MOUSEMOTION, 1, 7, 8, 0, SDL_MOUSEBUTTONDOWN, 1, 7, 8,
                                SDL_BUTTON(SDL_BUTTON_LEFT), SDL_MOUSEBUTTONUP, 1, 7, 8, 0, SDL_KEYUP, 0, 7, 8, 0}),
              seen);
    EXPECT_EQ(2, platform_quit_requests());
}
