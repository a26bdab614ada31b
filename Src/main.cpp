#include "main.h"

#include <stdio.h>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "geometry.h"
#include "graphics_bank.h"
#include "intro.h"
#include "level.h"
#include "main_menu.h"
#include "media.h"
#include "menu.h"
#include "font.h"
#include "gun.h"
#include "panel.h"
#include "particles.h"
#include "planes.h"
#include "platform.h"
#include "random.h"
#include "session.h"
#include "settings.h"
#include "shots.h"
#include "sounds.h"
#include "sprites.h"
#include "submarine.h"
#include "topten.h"
#include "video.h"
#include "weapons.h"

CommandLine command_line;
int menu_loaded = 0;

enum OuterState { RUNNING = 0, LEAVING = 1, START_FAILED = 2 };

void parse_switches(int argc, char** argv)
{
    settings.sound = 0;
    for (int i = 0; i < argc; i++) {
        const char* argument = argv[i];
        if (argument == NULL) continue;
        // "-SW" asks for the default software surface: nothing to set.
        if (SDL_strstr(argument, "-HW") != NULL) settings.video_flags |= SDL_HWSURFACE;
        if (SDL_strstr(argument, "-DB") != NULL) settings.video_flags |= SDL_DOUBLEBUF;
        if (SDL_strstr(argument, "-FS") != NULL) settings.video_flags |= SDL_FULLSCREEN;
        if (SDL_strstr(argument, "-SND") != NULL) settings.sound = 1;
        if (SDL_strstr(argument, "-EF1") != NULL) command_line.effect1 = 1;
        if (SDL_strstr(argument, "-EF2") != NULL) command_line.effect2 = 1;
        // -X1 names the plain 640 x 480 window, so a launcher that scales by
        // default can be told not to.
        if (SDL_strstr(argument, "-X1") != NULL) command_line.scale = SCALE_NONE;
        if (SDL_strstr(argument, "-X2") != NULL) command_line.scale = 2;
        if (SDL_strstr(argument, "-X3") != NULL) command_line.scale = 3;
        if (SDL_strstr(argument, "-X4") != NULL) command_line.scale = 4;
        if (SDL_strstr(argument, "-XA") != NULL) command_line.scale = SCALE_AUTO;
    }
}

static void open_audio()
{
    if (Mix_OpenAudio(11025, AUDIO_U8, 2, 1024) != 0) {
        fprintf(stderr, "Warning: Couldn't set 11025 Hz 8-bit audio\n- Reason: %s\n", SDL_GetError());
        settings.sound = 0;
    }
}

// An X server that serves no desktop resets when its last client leaves, and
// drops a connection made meanwhile; SDL's own check of the display is such a
// client. A failed start is therefore tried again a few times, and reported
// only when every attempt has failed.
static const int SDL_INIT_ATTEMPTS = 10;
static const Uint32 SDL_INIT_RETRY_MS = 100;

static int init_sdl()
{
    for (int attempt = 1;; attempt++) {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_NOPARACHUTE) == 0) {
            platform_watch_close_requests();
            return 0;
        }
        if (attempt == SDL_INIT_ATTEMPTS) return -1;
        platform_delay(SDL_INIT_RETRY_MS);
    }
}

int start_up()
{
    keep_released_picture_memory();
    if (init_sdl() < 0) fprintf(stderr, "Couldn't initialize SDL: %s\n", SDL_GetError());
    load_settings("SCRIPT/misc.scr");
    if (settings.sound == 1) open_audio();
    SDL_WM_SetCaption("ABYSSOR", "ABYSSOR");
    game.screen = video_open(settings.video_flags, command_line.scale);
    load_level_catalogue("SCRIPT/levels.scr");
    load_topten("SCRIPT/topten.scr");
    sort_topten();
    load_menu("SCRIPT/menu.scr");
    load_intro("SCRIPT/in.scr");
    if (game.screen == NULL) {
        fprintf(stderr, "Chyba pri vytvareni video surfacu\n");
        return 1;
    }
    menu_loaded = 1;
    settings.efekt01 = command_line.effect1;
    settings.efekt02 = command_line.effect2;
    return 0;
}

void free_level()
{
    free_bonuses();
    free_planes();
    free_creatures();
    free_images();
    free_submarine(submarine);
    free_panel();
    free_weapons();
    empty_shot_pool();
}

// However often the mixer was opened, it ends closed.
static void close_audio()
{
    int frequency, channels;
    Uint16 format;
    while (Mix_QuerySpec(&frequency, &format, &channels) != 0) Mix_CloseAudio();
}

void reset_game_globals()
{
    // What holds pictures and sounds first, while nothing is closed yet: the
    // level as free_level releases it, then the front end; the sprites of
    // pictures freed some other way last.
    reset_bonuses();
    reset_planes();
    reset_creatures();
    reset_images();
    reset_submarine();
    reset_panel();
    reset_weapons();
    reset_shots();
    reset_intro();
    reset_menu();
    reset_sprites();
    video_close();
    close_audio();
    SDL_Quit();
    reset_font();
    reset_particles();
    reset_level_catalogue();
    reset_settings();
    reset_topten();
    reset_gun();
    reset_game_state();
    reset_frame_pacing();
    random_reset();
    platform_reset();
    session_reset();
    command_line = CommandLine();
    menu_loaded = 0;
}

void write_fps_report(const char* path)
{
    FILE* report = fopen(path, "w");
    if (report == NULL) return;
    // A level that took no measurable time still gives a report without
    // dividing by zero.
    if (game.level_start_ms == game.level_end_ms) game.level_end_ms = game.level_start_ms + 1;
    Uint32 elapsed = game.level_end_ms - game.level_start_ms;
    double fps = game.frame / ((double)elapsed / 1000.0);
    fprintf(report, "ABYSSOR v0.2 -= Tarvik software =-\n");
    fprintf(report, "--------------------------\n");
    fprintf(report, "fps : %f\n\n", fps);
    fprintf(report, "TIME : %d\n", (int)elapsed);
    fprintf(report, "FRAMES : %d\n", game.frame);
    fclose(report);
}

// One game: levels follow one another until one is lost, the player leaves
// or the catalogue ends; then the high-score table may take a name.
static void play_game()
{
    int result = LEVEL_PLAYING;
    while (result == LEVEL_PLAYING) {
        load_level();
        result = run_level();
        if (result == LEVEL_WON) {
            game.level_index += 1;
            result = LEVEL_PLAYING;
            // A window closed as the level was won ends the game here.
            if (game.level_index >= levels.count || platform_quit_requested()) result = LEVEL_OVER;
        }
        if (result == LEVEL_OVER) {
            // The table is written as soon as it takes a name: a player who
            // then closes the page or kills the game keeps the entry.
            if (topten_qualifies(game.score)) {
                enter_name(game.screen);
                save_topten("SCRIPT/topten.scr");
            }
            result = LEVEL_OVER;
        }
        free_level();
    }
}

static void leave_game()
{
    play_outro(game.screen);
    save_topten("SCRIPT/topten.scr");
    write_fps_report("fps.txt");
    stop_all_sounds();
    Mix_CloseAudio();
}

// Closing the window ends a game as Escape does and then leaves the menu, so
// the way out is the same as through the menu's last item: credits, high
// scores and the frame-rate report. A replay that cannot be followed to its
// end leaves the same way, and the program's status is then 1.
int game_main(int argc, char** argv)
{
    // Log lines reach their file as they are printed, even if the game is killed.
    setvbuf(stdout, NULL, _IOLBF, 0);
    // A recording that cannot be written, or a replay that cannot be read,
    // starts nothing: the player asked for it and would lose the game.
    if (session_open(&argc, &argv) != 0) return 1;
    parse_switches(argc, argv);
    int state = start_up() != 0 ? START_FAILED : RUNNING;
    if (state == RUNNING) play_intro(game.screen);
    while (state == RUNNING) {
        if (menu_loaded == 1)
            menu_loaded = 0;
        else
            load_menu("SCRIPT/menu.scr");
        if (run_main_menu(game.screen) == 2)
            play_game();
        else
            state = LEAVING;
        free_menu();
    }
    if (state == LEAVING) leave_game();
    free_intro();
    video_close();
    SDL_Quit();
    return session_close();
}
