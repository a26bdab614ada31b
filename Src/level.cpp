#include "level.h"

#include <stdio.h>
#include <string.h>

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "graphics_bank.h"
#include "menu.h"
#include "panel.h"
#include "planes.h"
#include "platform.h"
#include "script.h"
#include "submarine.h"
#include "weapons.h"

LevelCatalogue levels;

// One entry is "%s %s %d": directory, code word, credit. Returns 0 when the
// file ends before the directory; a cut-short entry keeps what its missing
// fields held.
static int read_level_entry(ScriptReader& reader, LevelEntry& entry)
{
    if (script_word(reader, entry.dir, LEVEL_DIR_SIZE) == SCRIPT_EOF) return 0;
    if (script_word(reader, entry.code, LEVEL_CODE_SIZE) == SCRIPT_EOF) return 1;
    script_int(reader, &entry.credit);
    return 1;
}

void load_level_catalogue(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        levels.count = 0;
        game.level_index = 0;
        return;
    }
    int count = 0;
    while (count < LEVEL_CAPACITY && read_level_entry(reader, levels.entries[count])) count++;
    char surplus[SCRIPT_WORD_SIZE];
    if (count == LEVEL_CAPACITY && script_word(reader, surplus, SCRIPT_WORD_SIZE) != SCRIPT_EOF)
        fprintf(stderr, "script: %s : Prilis mnoho levelu !!!\n", path);
    levels.count = count;
    game.level_index = 0;
    script_close(reader);
}

void reset_level_catalogue()
{
    levels = LevelCatalogue();
}

int level_script_path(const char* file, char* path, int level)
{
    if (level < 0 || level >= levels.count) {
        fprintf(stderr, "Pokus o nahrani neexistujiciho levelu\n");
        return 2;
    }
    snprintf(path, LEVEL_PATH_SIZE, "SCRIPT/%s/%s", levels.entries[level].dir, file);
    return (int)strlen(path);
}

static void load_submarine_script(const char* path)
{
    load_submarine(path, submarine);
    clear_creature_counts();
}

struct LevelLoadStep {
    int progress;  // per cent shown before the script is read
    const char* file;
    void (*load)(const char* path);
};

// The creature counters start afresh with the submarine's script, and the
// creature catalogue fills them, so the creatures come after it.
static const LevelLoadStep LEVEL_LOAD_STEPS[] = {
    {0, "images.scr", load_images},
    {20, "weapons.scr", load_weapons},
    {20, "delo.scr", load_submarine_script},
    {60, "potvory.scr", load_creatures},
    {80, "panel.scr", load_panel},
    {85, "plane.scr", load_planes},
    {95, "bonusy.scr", load_bonuses},
};

void load_level_showing(void (*show_progress)(int percentage))
{
    char path[LEVEL_PATH_SIZE];
    for (const LevelLoadStep& step : LEVEL_LOAD_STEPS) {
        show_progress(step.progress);
        if (level_script_path(step.file, path, game.level_index) != 2) step.load(path);
    }
    show_progress(100);
    // The full bar stays on the screen for a moment (the queue kept drained).
    platform_delay_unless_quit(1000);
}

static void draw_progress(int percentage)
{
    draw_loading_screen(game.screen, percentage);
}

void load_level()
{
    load_level_showing(draw_progress);
}
