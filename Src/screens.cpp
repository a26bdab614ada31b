#include "screens.h"

#include <SDL/SDL.h>

#include "font.h"
#include "game_state.h"
#include "graphics_bank.h"
#include "level.h"
#include "media.h"
#include "menu.h"
#include "platform.h"
#include "video.h"

// The pictures of the bank's misc table, by position.
enum ScreenPicture {
    PICTURE_LEVEL_COMPLETED = 0,
    PICTURE_ANNOUNCEMENT = 1,
    PICTURE_GAME_OVER = 2,
    PICTURE_PAUSE = 3
};

static const Uint32 PAUSE_RELEASE_MS = 100;

static void flip_screen()
{
    video_flip(game.screen);
}

static void draw_centred(int index)
{
    SDL_Surface* picture = bank.misc[index];
    if (picture == NULL || game.screen == NULL) return;
    draw_bitmap(picture, game.screen, game.screen->w / 2 - picture->w / 2, game.screen->h / 2 - picture->h / 2);
}

static const char* current_level_code()
{
    if (game.level_index < 0 || game.level_index >= LEVEL_CAPACITY) return "";
    return levels.entries[game.level_index].code;
}

void show_announcement_screen()
{
    play_sound(menu_script.prepare_sound, CHANNEL_ANNOUNCE, 0);
    if (game.screen != NULL) {
        SDL_FillRect(game.screen, NULL, 0);
        draw_centred(PICTURE_ANNOUNCEMENT);
        set_current_font(menu_script.font);
        print_text(game.screen, bank.misc_x[PICTURE_ANNOUNCEMENT], bank.misc_y[PICTURE_ANNOUNCEMENT],
                   current_level_code());
    }
    flip_screen();
    platform_await_fresh_input();
    platform_wait_key_press();
}

// The end screens lay their picture over the last frame of the game.
static void show_end_screen(Mix_Chunk* sound, int picture)
{
    play_sound(sound, CHANNEL_ANNOUNCE, 0);
    flip_screen();
    draw_centred(picture);
    flip_screen();
    platform_await_fresh_input();
    platform_wait_key_press();
}

void show_level_completed_screen()
{
    show_end_screen(menu_script.level_completed_sound, PICTURE_LEVEL_COMPLETED);
}

void show_game_over_screen()
{
    show_end_screen(menu_script.gameover_sound, PICTURE_GAME_OVER);
}

// Ends on a fresh press of P, not on P still held from the press that
// started the pause. A close request ends it too (the game loop then ends
// the level).
void show_pause_screen()
{
    flip_screen();
    draw_centred(PICTURE_PAUSE);
    flip_screen();
    SDL_Event event;
    while (platform_wait_event(&event))
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_p) break;
    platform_delay(PAUSE_RELEASE_MS);
}
