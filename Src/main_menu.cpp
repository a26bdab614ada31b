#include "main_menu.h"

#include "game_state.h"
#include "level_code.h"
#include "media.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "sounds.h"
#include "topten.h"
#include "video.h"

void show_help(SDL_Surface* screen)
{
    draw_bitmap(menu_script.help_picture, screen, 0, 0);
    video_flip(screen);
    platform_await_fresh_input();
    platform_wait_key_press();
}

// Up and Down move the highlight round the five items; Return confirms the
// item highlighted after them.
static void read_menu_keys(const Uint8* keys)
{
    if (menu_script.highlighted < 0 || menu_script.highlighted >= MENU_ITEMS) menu_script.highlighted = 0;
    if (keys[SDLK_UP]) {
        menu_script.highlighted = menu_script.highlighted == 0 ? MENU_ITEMS - 1 : menu_script.highlighted - 1;
        play_sound(menu_script.button_sound, CHANNEL_ANNOUNCE, 0);
    }
    if (keys[SDLK_DOWN]) {
        menu_script.highlighted = menu_script.highlighted == MENU_ITEMS - 1 ? 0 : menu_script.highlighted + 1;
        play_sound(menu_script.button_sound, CHANNEL_ANNOUNCE, 0);
    }
    if (keys[SDLK_RETURN]) {
        menu_script.chosen = menu_script.highlighted;
        play_sound(menu_script.press_sound, CHANNEL_ANNOUNCE, 0);
    } else {
        menu_script.chosen = -1;
    }
}

static void draw_highlighted_button(SDL_Surface* screen)
{
    const MenuButton& button = menu_script.buttons[menu_script.highlighted];
    draw_bitmap_part(menu_script.highlight_picture, button.x, button.y, button.w, button.h, screen, button.x,
                     button.y);
}

// Acts on the confirmed item; returns the menu's result, 0 while it stays.
static int act_on_choice(SDL_Surface* screen)
{
    switch (menu_script.chosen) {
    case ITEM_NEW_GAME:
        menu_script.chosen = -1;
        game.level_index = 0;
        game.score = 0;
        game.laser_energy = settings.laser;
        return 2;
    case ITEM_LEVEL_CODE: {
        int score = enter_level_code(screen);
        menu_script.chosen = -1;
        if (score == -1) return 0;
        game.score = score;
        return 2;
    }
    case ITEM_TOP_TEN:
        show_topten(screen);
        menu_script.chosen = -1;
        return 0;
    case ITEM_HELP:
        show_help(screen);
        menu_script.chosen = -1;
        return 0;
    case ITEM_LEAVE:
        return 1;
    default:
        return 0;
    }
}

// Every event, whatever it is, lets the keys held at that moment act, so a
// key held while the mouse moves keeps moving the highlight. When no event
// can come, or the player has asked to close the window, the menu is left.
int run_main_menu(SDL_Surface* screen)
{
    play_sound(menu_script.menu_sound, CHANNEL_ANNOUNCE, 0);
    SDL_ShowCursor(0);
    int result = 0;
    while (result == 0) {
        SDL_Event event;
        if (!platform_wait_event(&event)) return 1;
        const Uint8* keys = platform_key_state();
        draw_bitmap(menu_script.main_picture, screen, 0, 0);
        read_menu_keys(keys);
        draw_highlighted_button(screen);
        result = act_on_choice(screen);
        video_flip(screen);
    }
    return result;
}
