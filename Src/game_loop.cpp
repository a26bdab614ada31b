#include "game_loop.h"

#include <string.h>

#include "bonus.h"
#include "creatures.h"
#include "geometry.h"
#include "graphics_bank.h"
#include "gun.h"
#include "media.h"
#include "menu.h"
#include "panel.h"
#include "particles.h"
#include "planes.h"
#include "platform.h"
#include "random.h"
#include "screens.h"
#include "shots.h"
#include "sounds.h"
#include "submarine.h"
#include "video.h"
#include "weapons.h"

const LevelScreens GAME_SCREENS = {show_announcement_screen, show_level_completed_screen, show_game_over_screen,
                                   show_pause_screen};


void draw_crosshair(int n)
{
    SDL_Surface* picture = bank.zamerovac[n];
    if (picture == NULL) return;
    draw_bitmap(picture, game.screen, game.mouse_x - picture->w / 2, game.mouse_y - picture->h / 2);
}

void begin_level(LevelRun& run)
{
    game.frame = 0;
    game.level_start_ms = platform_ticks();
    memset(&run, 0, sizeof run);
    run.event.type = SDL_NOEVENT;
    run.result = LEVEL_PLAYING;
    run.next_enemy_plane_frame = 0;
    run.screens = &GAME_SCREENS;
    for (int i = 0; i < SHOT_CAPACITY; i++) shot_pool.slots[i].active = 0;
    for (int i = 0; i < CREATURE_CAPACITY; i++) creatures[i].active = 0;
    SDL_ShowCursor(0);
}

static void read_keys(FrameInput& input)
{
    const Uint8* keys = platform_key_state();
    input.key_escape = keys[SDLK_ESCAPE] != 0;
    input.key_left = keys[SDLK_LEFT] != 0;
    input.key_right = keys[SDLK_RIGHT] != 0;
    input.key_tab = keys[SDLK_TAB] != 0;
    input.quit = platform_quit_requested() != 0;
}

// A press acts in the frame that drains it, whatever events follow it: a
// quick tap, or a click while the mouse moves, is never lost.
static void note_event(FrameInput& input, const SDL_Event& event)
{
    if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button >= 1 && event.button.button <= 8)
        input.pressed |= (Uint8)SDL_BUTTON(event.button.button);
    if (event.type == SDL_MOUSEMOTION) input.moved = 1;
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_p) input.key_p = 1;
}

FrameInput read_frame_input(LevelRun& run)
{
    FrameInput input;
    memset(&input, 0, sizeof input);
    // The last event of the frame stays in force in the frames that bring no
    // new event: a button held still keeps firing.
    SDL_Event event;
    while (platform_poll_event(&event)) {
        run.event = event;
        note_event(input, event);
    }
    input.event_type = run.event.type;
    if (run.event.type == SDL_MOUSEBUTTONDOWN || run.event.type == SDL_MOUSEBUTTONUP)
        input.button = run.event.button.button;
    read_keys(input);
    return input;
}

// Pressed in this frame, or held still since the press that is the last event.
static int button_acts(const FrameInput& input, Uint8 button)
{
    return (input.pressed & SDL_BUTTON(button)) != 0
           || (input.event_type == SDL_MOUSEBUTTONDOWN && input.button == button);
}

static void call_air_support(const FrameInput& input)
{
    if ((button_acts(input, SDL_BUTTON_RIGHT) || button_acts(input, SDL_BUTTON_MIDDLE)) && game.laser_energy > 0
        && !planes[SUPPORT_PLANE_SLOT].active) {
        planes[SUPPORT_PLANE_SLOT].launch(game.mouse_x, game.mouse_y, random_value() % 8, 1, game.screen);
        if (planes[SUPPORT_PLANE_SLOT].active) game.laser_energy -= 1;
    }
}

static void launch_enemy_plane(LevelRun& run)
{
    if (planes[ENEMY_PLANE_SLOT].active || enemy_plane <= 0 || run.next_enemy_plane_frame > game.frame) return;
    planes[ENEMY_PLANE_SLOT].launch(submarine.x, submarine.y, random_value() % 8, 0, game.screen);
    run.next_enemy_plane_frame = game.frame + enemy_plane;
}

// Green exactly when a click would fire: the gun's own test.
static void draw_reach_crosshair()
{
    draw_crosshair(gun_pointer_within_reach(submarine) ? 0 : 1);
}

static int creatures_pending()
{
    int last = creature_type_last < CREATURE_TYPE_CAPACITY ? creature_type_last : CREATURE_TYPE_CAPACITY - 1;
    for (int t = 0; t <= last; t++)
        if (creature_types[t].finished < creature_types[t].pocet) return 1;
    return 0;
}

static int any_creature_active()
{
    for (int i = 0; i < CREATURE_CAPACITY; i++)
        if (creatures[i].active) return 1;
    return 0;
}

static void check_level_end(LevelRun& run)
{
    run.creatures_pending = creatures_pending();
    if (!any_creature_active() && run.creatures_pending == 0) run.result = LEVEL_WON;
    if (submarine.active == 0) run.result = LEVEL_OVER;
}

static void regenerate_submarine()
{
    submarine.zivoty = clamp_to_int((long long)submarine.zivoty + bonus_effects.zivoty);
    if (submarine.zivoty > submarine.max_zivoty) submarine.zivoty = submarine.max_zivoty;
}

void play_frame(LevelRun& run, FrameInput& input)
{
    run.fire_click = 0;
    run.creatures_pending = 0;
    // A motion anywhere in the frame moves the pointer: a click that follows
    // it in the same frame aims where it was made.
    if (input.moved || input.event_type == SDL_MOUSEMOTION) platform_mouse_state(&game.mouse_x, &game.mouse_y);

    for (int i = 0; i < PLANE_CAPACITY; i++)
        if (planes[i].active == 1) planes[i].update(submarine, game.screen);

    if (button_acts(input, SDL_BUTTON_LEFT)) run.fire_click = 1;
    call_air_support(input);

    if (input.key_escape || input.quit) run.result = LEVEL_OVER;
    // A fresh press of P pauses; P still held from the press that ended the
    // pause does not pause again.
    if (input.key_p) {
        run.screens->pause();
        read_keys(input);  // the pause has drained events: the keys held now are the ones that count
        if (input.quit) run.result = LEVEL_OVER;
    }
    game.show_tally = 1;

    launch_enemy_plane(run);
    schedule_creatures(submarine.stred_x, submarine.stred_y);
    sum_bonus_effects();
    draw_seabed(game.screen);
    for (Shot& shot : shot_pool.slots)
        if (!shot.idle()) shot.move();
    if (submarine.active == 1)
        submarine.step(input.key_left, input.key_right, run.fire_click, input.key_tab, 1);
    update_particles(game.screen);
    if (submarine.active == 1) submarine.draw(game.screen);
    resolve_hits(submarine);
    for (int i = 0; i < BONUS_SLOTS; i++) bonuses[i].draw(game.screen);
    update_creatures(submarine, game.screen);
    for (Shot& shot : shot_pool.slots)
        if (!shot.idle()) shot.draw(game.screen);
    for (int i = 0; i < PLANE_CAPACITY; i++)
        if (planes[i].active == 1) planes[i].draw(game.screen);
    draw_reach_crosshair();
    draw_panel(game.screen, submarine.weapon, submarine);
    video_flip(game.screen);
    platform_frame_shown(game.screen);

    game.frame += 1;
    wait_frame();
    cool_gun(menu_script.overheat_sound);
    regenerate_submarine();
    check_level_end(run);
}

void finish_level(LevelRun& run)
{
    (void)run;
    stop_all_sounds();
    game.level_end_ms = platform_ticks();
}

int run_level_showing(const LevelScreens& screens)
{
    LevelRun run;
    begin_level(run);
    run.screens = &screens;
    screens.announcement();
    // The crosshair starts where the pointer is, not where it was last seen
    // moving: the menus and the announcement have taken the motion events.
    platform_mouse_state(&game.mouse_x, &game.mouse_y);
    while (run.result == LEVEL_PLAYING) {
        FrameInput input = read_frame_input(run);
        play_frame(run, input);
    }
    finish_level(run);
    if (run.result == LEVEL_WON)
        screens.level_completed();
    else
        screens.game_over();
    return run.result;
}

int run_level()
{
    return run_level_showing(GAME_SCREENS);
}
