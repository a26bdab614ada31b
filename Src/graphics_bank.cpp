#include "graphics_bank.h"

#include <stdio.h>

#include "game_state.h"
#include "media.h"
#include "script.h"

// Every slot starts empty with one frame, every table with no entry, and the
// seabed animation at its first frame moving forward.
static constexpr GraphicsBank empty_bank()
{
    GraphicsBank empty{};
    for (AnimStrip& strip : empty.dno) strip.frames = 1;
    for (AnimStrip& strip : empty.barvy) strip.frames = 1;
    for (AnimStrip& strip : empty.zblunk) strip.frames = 1;
    for (AnimStrip& strip : empty.vybuch) strip.frames = 1;
    empty.dno_last = -1;
    empty.barvy_last = -1;
    empty.zblunk_last = -1;
    empty.vybuch_last = -1;
    empty.zamerovac_count = 0;
    empty.misc_count = 0;
    empty.seabed_period = 0;
    empty.seabed_index = 0;
    empty.seabed_direction = 1;
    return empty;
}

// Evaluated by the compiler, so the bank is filled in before any code runs.
static_assert(empty_bank().vybuch[0].frames == 1 && empty_bank().seabed_direction == 1, "bank built at compile time");
GraphicsBank bank = empty_bank();

// Drawing divides a strip's width by its frame count and a splash's time by
// its period: a script's 0 (or a number that truncates to 0 in the field)
// stands for 1.
static Uint8 frame_count(int value)
{
    Uint8 frames = (Uint8)value;
    return frames == 0 ? 1 : frames;
}

static Uint16 splash_period(int value)
{
    Uint16 period = (Uint16)value;
    return period == 0 ? 1 : period;
}

// Reads the next entry's file name; returns 0 at the end of the section
// (a word holding "[END]") or of the file.
static int next_entry(ScriptReader& reader, char* name)
{
    if (script_word(reader, name, SCRIPT_WORD_SIZE) == SCRIPT_EOF) return 0;
    return !word_has(name, "[END]");
}

static int is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The white space that a format's trailing "\n" skips after a value.
static void skip_white_space(ScriptReader& reader)
{
    while (reader.pos < reader.size && is_space(reader.data[reader.pos])) reader.pos++;
}

// A literal word of the format, such as "pocet_snimku", must stand right where
// the reader is: the characters that match are taken; a mismatch stops
// there and leaves the rest, white space included, to the next read.
static int read_literal(ScriptReader& reader, const char* literal)
{
    for (const char* c = literal; *c != '\0'; c++) {
        if (reader.pos >= reader.size || reader.data[reader.pos] != *c) return 0;
        reader.pos++;
    }
    return 1;
}

// "pocet_snimku %d\n" and the like: the literal word, a number, and the white
// space after it (only when the number was read).
static void read_labelled_number(ScriptReader& reader, const char* literal, int* value)
{
    if (!read_literal(reader, literal)) return;
    if (script_int(reader, value) == 1) skip_white_space(reader);
}

// The seabed is drawn whole every frame: its pictures (and the particle
// strips) take the screen's format once here. Without a screen the picture stays as loaded.
static SDL_Surface* to_screen_format(SDL_Surface* bitmap)
{
    if (bitmap == NULL || game.screen == NULL) return bitmap;
    SDL_Surface* converted = SDL_ConvertSurface(bitmap, game.screen->format, SDL_HWSURFACE);
    if (converted == NULL) return bitmap;
    release_picture(bitmap);
    return converted;
}

static void read_seabed_section(ScriptReader& reader, const char* path)
{
    printf("script: %s : NAHRAVAM BITMAPY DNA\n", path);
    script_int(reader, &bank.seabed_period);
    char name[SCRIPT_WORD_SIZE];
    while (next_entry(reader, name)) {
        if (bank.dno_last >= DNO_CAPACITY - 1) {
            fprintf(stderr, "script: %s : Prilis mnoho bitmap dna !!!\n", path);
            continue;
        }
        int slot = ++bank.dno_last;
        bank.dno[slot].bitmap = to_screen_format(load_bitmap(name, 0));
        if (bank.dno[slot].bitmap != NULL)
            printf("script: %s : bitmapa : %s ... nahrana do dno[%d]\n", path, name, slot);
    }
}

static void read_particle_section(ScriptReader& reader, const char* path)
{
    printf("script: %s : NAHRAVAM BARVY\n", path);
    char name[SCRIPT_WORD_SIZE];
    while (next_entry(reader, name)) {
        int frames = 1;
        script_int(reader, &frames);
        if (bank.barvy_last >= BARVY_CAPACITY - 1) {
            fprintf(stderr, "script: %s : Prilis mnoho barev !!!\n", path);
            continue;
        }
        int slot = ++bank.barvy_last;
        // Thousands of particles are drawn a frame: their strips take the
        // screen's format once, so that drawing one is a plain copy.
        bank.barvy[slot].bitmap = to_screen_format(load_bitmap(name, 0));
        bank.barvy[slot].frames = frame_count(frames);
        if (bank.barvy[slot].bitmap != NULL)
            printf("script: %s : barva : %s ... nahrana do barvy[%d]\n", path, name, slot);
    }
}

static void read_splash_section(ScriptReader& reader, const char* path)
{
    printf("script: %s : NAHRAVAM SPLUCHNUTI\n", path);
    char name[SCRIPT_WORD_SIZE];
    while (next_entry(reader, name)) {
        int frames = 1;
        int period = 1;
        if (script_int(reader, &frames) == 1) script_int(reader, &period);
        if (bank.zblunk_last >= ZBLUNK_CAPACITY - 1) {
            fprintf(stderr, "script: %s : Prilis mnoho zblunknuti!!!\n", path);
            continue;
        }
        int slot = ++bank.zblunk_last;
        bank.zblunk[slot].bitmap = load_bitmap(name, 1);
        bank.zblunk[slot].frames = frame_count(frames);
        bank.zblunk[slot].period = splash_period(period);
        if (bank.zblunk[slot].bitmap != NULL)
            printf("script: %s : zblunknuti : %s ... nahrana do zblunk[%d]\n", path, name, slot);
    }
}

static void read_explosion_section(ScriptReader& reader, const char* path)
{
    printf("script: %s : NAHRAVAM BITMAPY VYBUCHU\n", path);
    char name[SCRIPT_WORD_SIZE];
    while (next_entry(reader, name)) {
        // A full table takes only the name: the lines after it then come
        // round as entries of their own and are refused one by one.
        if (bank.vybuch_last >= VYBUCH_CAPACITY - 1) {
            fprintf(stderr, "script: %s : Prilis mnoho bitmap stitu !!!\n", path);
            continue;
        }
        int slot = ++bank.vybuch_last;
        AnimStrip& strip = bank.vybuch[slot];
        strip.bitmap = load_bitmap(name, 1);
        skip_white_space(reader);  // the file name is read with "%s\n"
        int frames = strip.frames;
        int duration = strip.period;
        read_labelled_number(reader, "pocet_snimku", &frames);
        read_labelled_number(reader, "doba", &duration);
        strip.frames = frame_count(frames);
        strip.period = (Uint16)duration;
        if (strip.bitmap != NULL)
            printf("script: %s : bitmapa : %s / %d snimku... nahrana do vybuch[%d]\n", path, name,
                   strip.frames, slot);
    }
}

// Replaces a crosshair or misc picture left by a level that was not released.
static void store_picture(SDL_Surface*& slot, SDL_Surface* picture)
{
    if (slot != NULL && slot != picture) free_bitmap(slot);
    slot = picture;
}

static void read_crosshair(ScriptReader& reader, const char* path)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, SCRIPT_WORD_SIZE) == SCRIPT_EOF) return;
    if (bank.zamerovac_count >= ZAMEROVAC_CAPACITY) {
        fprintf(stderr, "script: %s : Prilis mnoho zamerovacu !!!\n", path);
        return;
    }
    SDL_Surface* picture = load_bitmap(name, 1);
    if (picture == NULL) {
        fprintf(stderr, "script: %s : Nenahrana bitmapa %s !!!\n", path, name);
        return;
    }
    store_picture(bank.zamerovac[bank.zamerovac_count++], picture);
}

static void read_misc(ScriptReader& reader, const char* path)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, SCRIPT_WORD_SIZE) == SCRIPT_EOF) return;
    int slot = bank.misc_count;
    int position[2] = {0, 0};
    if (slot < MISC_CAPACITY) {
        position[0] = bank.misc_x[slot];
        position[1] = bank.misc_y[slot];
    }
    script_int_list(reader, position, 2);
    if (slot >= MISC_CAPACITY) {
        fprintf(stderr, "script: %s : Prilis mnoho obrazku misc !!!\n", path);
        return;
    }
    bank.misc_x[slot] = position[0];
    bank.misc_y[slot] = position[1];
    SDL_Surface* picture = load_bitmap(name, 1);
    if (picture == NULL) {
        fprintf(stderr, "script: %s : Nenahrana bitmapa %s !!!\n", path, name);
        return;
    }
    store_picture(bank.misc[bank.misc_count++], picture);
}

void load_images(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        return;
    }
    bank.zamerovac_count = 0;
    bank.misc_count = 0;
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, SCRIPT_WORD_SIZE) != SCRIPT_EOF) {
        if (word_has(word, "[*DNO]")) read_seabed_section(reader, path);
        if (word_has(word, "[*BARVA]")) read_particle_section(reader, path);
        if (word_has(word, "[*ZBLUNK]")) read_splash_section(reader, path);
        if (word_has(word, "[*VYBUCH]")) read_explosion_section(reader, path);
        if (word_has(word, "zamerovac")) read_crosshair(reader, path);
        if (word_has(word, "misc")) read_misc(reader, path);
    }
    script_close(reader);
}

static void empty_strips(AnimStrip* strips, int count)
{
    for (int i = 0; i < count; i++) free_strip(strips[i]);
}

static void empty_pictures(SDL_Surface** pictures, int count)
{
    for (int i = 0; i < count; i++) {
        free_bitmap(pictures[i]);
        pictures[i] = NULL;
    }
}

// Every picture freed, every table without entries; the seabed's period and
// animation and the misc positions stay.
static void release_bank()
{
    bank.dno_last = -1;
    bank.barvy_last = -1;
    bank.zblunk_last = -1;
    bank.vybuch_last = -1;
    bank.zamerovac_count = 0;
    bank.misc_count = 0;
    empty_strips(bank.barvy, BARVY_CAPACITY);
    empty_strips(bank.dno, DNO_CAPACITY);
    empty_strips(bank.vybuch, VYBUCH_CAPACITY);
    empty_pictures(bank.zamerovac, ZAMEROVAC_CAPACITY);
    empty_strips(bank.zblunk, ZBLUNK_CAPACITY);
    empty_pictures(bank.misc, MISC_CAPACITY);
}

void free_images()
{
    release_bank();
    printf("UVOLNEN SKRIPT BITMAP Z PAMETI\n");
}

void reset_images()
{
    release_bank();
    bank = empty_bank();
}

// One step of the back-and-forth seabed animation every period frames:
// 0, 1, ..., last, last - 1, ..., 0, 1, ... A period of -1 (or 0) keeps the
// first picture.
static void step_seabed()
{
    long long period = bank.seabed_period;
    if (period != 0 && game.frame % period == 0) bank.seabed_index += bank.seabed_direction;
    if (bank.seabed_index > bank.dno_last) {
        bank.seabed_index -= 2;
        bank.seabed_direction = -bank.seabed_direction;
    }
    if (bank.seabed_index < 0) {
        bank.seabed_index = 1;
        bank.seabed_direction = -bank.seabed_direction;
    }
    if (period == -1 || period == 0) bank.seabed_index = 0;
}

void draw_seabed(SDL_Surface* surface)
{
    step_seabed();
    int index = bank.seabed_index;
    if (index < 0 || index >= DNO_CAPACITY) return;
    draw_bitmap(bank.dno[index].bitmap, surface, 0, 0);
}

// Far-off positions stay far off instead of wrapping round the int range.
static int screen_coordinate(long long value)
{
    if (value < -1000000) return -1000000;
    if (value > 1000000) return 1000000;
    return (int)value;
}

int draw_explosion_frame(int x, int y, int index, int frame, SDL_Surface* surface)
{
    if (index < 0 || index >= VYBUCH_CAPACITY) {
        fprintf(stderr, "Pokus o vykresleni nenahrane bitmapy vybuchu #%d !!!\n", index);
        return -1;
    }
    const AnimStrip& strip = bank.vybuch[index];
    // A frame before the first is no more a frame of the strip than one after the last.
    if (strip.frames == 0 || frame >= strip.frames || frame < 0) return 2;
    if (strip.bitmap == NULL) {
        fprintf(stderr, "Pokus o vykresleni nenahrane bitmapy vybuchu #%d !!!\n", index);
        return -1;
    }
    int w = strip.bitmap->w / strip.frames;
    int h = strip.bitmap->h;
    draw_bitmap_part(strip.bitmap, frame * w, 0, w, h, surface, screen_coordinate((long long)x - w / 2),
                     screen_coordinate((long long)y - h / 2));
    return 0;
}

void free_strip(AnimStrip& strip)
{
    free_bitmap(strip.bitmap);
    strip.bitmap = NULL;
    strip.frames = 1;
    strip.period = 0;
}

int free_bitmap(SDL_Surface* bitmap)
{
    release_picture(bitmap);
    return 0;
}
