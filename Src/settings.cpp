#include "settings.h"

#include <stdio.h>

#include "game_state.h"
#include "script.h"

GameSettings settings;

static void read_setting(ScriptReader& reader, const char* path, const char* name, int* field)
{
    script_int(reader, field);
    printf("Skript : %s : %s = %d\n", path, name, *field);
}

void load_settings(const char* path)
{
    ScriptReader reader;
    int opened = script_open(reader, path);
    if (!opened) report_unreadable_script(path);
    settings.odpor_vzduchu = 1.0f;
    if (!opened) return;
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, sizeof word) != SCRIPT_EOF) {
        if (word_has(word, "max_teplota")) read_setting(reader, path, "max_teplota", &settings.max_teplota);
        if (word_has(word, "chlazeni")) read_setting(reader, path, "chlazeni", &settings.chlazeni);
        if (word_has(word, "zivot_bonusu")) read_setting(reader, path, "zivot_bonusu", &settings.zivot_bonusu);
        if (word_has(word, "odpor_vzduchu")) {
            script_float(reader, &settings.odpor_vzduchu);
            printf("Skript : %s : odpor_vzduchu = %f\n", path, (double)settings.odpor_vzduchu);
        }
        if (word_has(word, "laser")) {
            read_setting(reader, path, "laser_energie", &settings.laser);
            game.laser_energy = settings.laser;
        }
        if (word_has(word, "efekt01")) read_setting(reader, path, "efekt01", &settings.efekt01);
        if (word_has(word, "efekt02")) read_setting(reader, path, "efekt02", &settings.efekt02);
        if (word_has(word, "sound")) read_setting(reader, path, "sound", &settings.sound);
    }
    script_close(reader);
}

void reset_settings()
{
    settings = GameSettings();
}
