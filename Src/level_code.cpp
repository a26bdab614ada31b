#include "level_code.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include "font.h"
#include "game_state.h"
#include "level.h"
#include "media.h"
#include "menu.h"
#include "platform.h"
#include "video.h"

const int TYPED_CODE_SIZE = 49;

int match_level_code(const char* typed)
{
    // Credits are summed wide and held in range, so no catalogue can
    // overflow the starting score.
    long long credited = 0;
    for (int i = 0; i < levels.count; i++) {
        credited += levels.entries[i].credit;
        if (strcmp(levels.entries[i].code, typed) == 0) {
            game.level_index = i;
            printf("...OK\n");
            long long score = credited - levels.entries[i].credit;
            if (score > INT_MAX) score = INT_MAX;
            if (score < INT_MIN) score = INT_MIN;
            return (int)score;
        }
        printf("...NO\n");
    }
    return -1;
}

int enter_level_code(SDL_Surface* screen)
{
    for (int buffer = 0; buffer < 2; buffer++) {
        draw_bitmap(menu_script.code_picture, screen, 0, 0);
        video_flip(screen);
    }
    set_current_font(menu_script.font);
    SDL_Event event;
    platform_enable_unicode(1);  // so that the first letter typed is known
    // A second Return that chose the menu item is no part of the word; the
    // first key pressed once the screen shows is.
    platform_await_fresh_input();
    // No event can come: nothing was typed, so no level is chosen.
    if (!platform_wait_event(&event)) return -1;
    char typed[TYPED_CODE_SIZE] = "";
    // The event waited for may already be the word's first letter.
    read_text(screen, menu_script.code_x, menu_script.code_y, menu_script.code_width, typed, TYPED_CODE_SIZE, &event);
    // A window closed halfway through the word starts no game.
    if (platform_quit_requested()) return -1;
    return match_level_code(typed);
}
