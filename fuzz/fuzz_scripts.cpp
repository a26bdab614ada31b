// Feeds arbitrary text to the game's script loaders: the first byte picks the
// loader, the rest is the script. With ABYSSOR_FUZZ_LOADER set to a loader's
// number (0 settings, 1 levels, 2 images, 3 weapons, 4 submarine,
// 5 creatures, 6 panel, 7 planes, 8 bonuses, 9 menu, 10 top ten, 11 intro)
// every input is a whole script for that one loader, as in the corpus
// folders fuzz/corpus/<number>-<name>/. Per-level scripts are then played for a few
// frames and released, so that no script can make the game read or write
// outside its tables, divide by zero or loop without end.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "intro.h"
#include "level.h"
#include "main.h"
#include "menu.h"
#include "panel.h"
#include "planes.h"
#include "platform.h"
#include "scripted_input.h"
#include "settings.h"
#include "submarine.h"
#include "topten.h"
#include "weapons.h"

static char script_path[64];
static ScriptedInput input;
static int fixed_loader = -1;

static void remove_script()
{
    remove(script_path);
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The script is written and read back every run: memory-backed /dev/shm
    // keeps that off the disk where the machine has it.
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    snprintf(script_path, sizeof script_path, "%s/abyssor-fuzz-%d.scr", folder, (int)getpid());
    atexit(remove_script);
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE);
    game.screen = SDL_SetVideoMode(640, 480, 16, 0);
    settings.sound = 0;
    settings.max_teplota = 100;
    scripted_reset(input);
    platform_use_scripted(&input);
    const char* loader = getenv("ABYSSOR_FUZZ_LOADER");
    if (loader != NULL && *loader != '\0') fixed_loader = atoi(loader) % 12;
    return 0;
}

static void write_script(const uint8_t* data, size_t size)
{
    FILE* file = fopen(script_path, "wb");
    if (file == NULL) abort();
    if (size > 0) fwrite(data, 1, size, file);
    fclose(file);
}

// A few frames with the pointer moving, the gun firing, the air support
// called and bonuses dropped where the shells come down.
static void play_a_few_frames()
{
    LevelRun run;
    begin_level(run);
    for (int i = 0; i < 4; i++) {
        drop_bonus(100 + 97 * i, 80 + 61 * i, choose_creature_bonus());
        drop_bonus(100 + 97 * i, 80 + 61 * i, i - 1);
        scripted_push_motion(input, 100 + 97 * i, 80 + 61 * i);
        scripted_push_button(input, (Uint8)(1 + i % 3), 1);
        FrameInput frame_input = read_frame_input(run);
        frame_input.key_right = (Uint8)(i & 1);
        frame_input.key_tab = 1;
        play_frame(run, frame_input);
    }
}

static void load_per_level(uint8_t which)
{
    switch (which) {
    case 2: load_images(script_path); break;
    case 3: load_weapons(script_path); break;
    case 4: load_submarine(script_path, submarine); break;
    case 5: load_creatures(script_path); break;
    case 6: load_panel(script_path); break;
    case 7: load_planes(script_path); break;
    default: load_bonuses(script_path); break;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint8_t which;
    if (fixed_loader >= 0) {
        which = (uint8_t)fixed_loader;
        write_script(data, size);
    } else {
        if (size == 0) return 0;
        which = data[0] % 12;
        write_script(data + 1, size - 1);
    }
    switch (which) {
    case 0: load_settings(script_path); break;
    case 1:
        load_level_catalogue(script_path);
        for (int level = -1; level < 102; level += 17) {
            char path[LEVEL_PATH_SIZE];
            level_script_path("images.scr", path, level);
        }
        break;
    case 9:
        load_menu(script_path);
        free_menu();
        break;
    case 10:
        load_topten(script_path);
        sort_topten();
        insert_topten("fuzzer", 1000, 3);
        save_topten(script_path);
        break;
    case 11: load_intro(script_path); break;
    default:
        load_per_level(which);
        play_a_few_frames();
        free_level();
        break;
    }
    settings.max_teplota = 100;
    return 0;
}
