#include "creatures.h"

#include <limits.h>
#include <stdio.h>

#include "graphics_bank.h"
#include "media.h"
#include "script.h"
#include "settings.h"

CreatureType creature_types[CREATURE_TYPE_CAPACITY];
int creature_type_last = -1;
Creature creatures[CREATURE_CAPACITY];
int next_creature_shot_frame = 0;

// ---------------------------------------------------------------------------
// "potvory.scr"

// Numbers of a kind wait here until its "[END]"; they carry over to the next
// section, so a later kind need only name what differs.
struct PendingCreature {
    int dolez, pocet_snimku, dolni_interval, horni_interval, zivoty, zbran, alfa, vystrel_prodleva,
        hloubka_max, hloubka_min, vynorovani, sound, sila, skore;
    float rychlost;
};

struct CreatureNumber {
    const char* name;
    int PendingCreature::*field;
};

// Tested in this order against every word; "pocet" and "rychlost" stand
// between them in the file's order and are read on their own.
static const CreatureNumber NUMBERS_BEFORE_SPEED[] = {
    {"dolez", &PendingCreature::dolez},
    {"pocet_snimku", &PendingCreature::pocet_snimku},
};
static const CreatureNumber NUMBERS_BEFORE_COUNT[] = {
    {"dolni_interval", &PendingCreature::dolni_interval},
    {"horni_interval", &PendingCreature::horni_interval},
    {"zivoty", &PendingCreature::zivoty},
    {"zbran", &PendingCreature::zbran},
};
static const CreatureNumber NUMBERS_AFTER_COUNT[] = {
    {"alfa", &PendingCreature::alfa},
    {"vystrel_prodleva", &PendingCreature::vystrel_prodleva},
    {"hloubka_max", &PendingCreature::hloubka_max},
    {"hloubka_min", &PendingCreature::hloubka_min},
    {"vynorovani", &PendingCreature::vynorovani},
    {"sound", &PendingCreature::sound},
    {"sila", &PendingCreature::sila},
    {"skore", &PendingCreature::skore},
};

// The kind the file is describing, or NULL before the first section and
// beyond the table: such keys are read past and dropped.
static CreatureType* kind_at(int index)
{
    return index >= 0 && index < CREATURE_TYPE_CAPACITY ? &creature_types[index] : NULL;
}

static void read_numbers(ScriptReader& reader, const char* path, const char* word, const CreatureNumber* keys,
                         int count, PendingCreature& pending, CreatureType* kind)
{
    for (int i = 0; i < count; i++) {
        if (!word_has(word, keys[i].name)) continue;
        int dropped = 0;
        int* target = kind != NULL ? &(pending.*keys[i].field) : &dropped;
        script_int(reader, target);
        if (kind != NULL) printf("script: %s : %s : %d\n", path, keys[i].name, *target);
    }
}

static void read_sound(ScriptReader& reader, Mix_Chunk** slot)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, sizeof name) == SCRIPT_EOF || slot == NULL) return;
    Mix_Chunk* sound = load_sound(name);
    if (*slot != NULL) Mix_FreeChunk(*slot);
    *slot = sound;
}

static void read_picture(ScriptReader& reader, const char* path, const char* label, SDL_Surface** slot)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, sizeof name) == SCRIPT_EOF || slot == NULL) return;
    SDL_Surface* picture = load_bitmap(name, 1);
    free_bitmap(*slot);  // a repeated key replaces the picture instead of losing it
    *slot = picture;
    printf("script: %s : %s : %s\n", path, label, name);
}

static void read_speed(ScriptReader& reader, const char* path, PendingCreature& pending, CreatureType* kind)
{
    float dropped = 0;
    float* target = kind != NULL ? &pending.rychlost : &dropped;
    script_float(reader, target);
    if (kind != NULL) printf("script: %s : rychlost : %f\n", path, (double)*target);
}

// The count goes straight into the kind and starts its tally afresh.
static void read_count(ScriptReader& reader, const char* path, CreatureType* kind)
{
    int dropped = 0;
    script_int(reader, kind != NULL ? &kind->pocet : &dropped);
    if (kind == NULL) return;
    printf("script: %s : pocet : %d\n", path, kind->pocet);
    kind->finished = 0;
}

static void start_kind(const char* path, int& index)
{
    if (index < INT_MAX) index += 1;
    printf("script: %s : NALEZENA NOVA POTVORA #%d\n", path, index);
    if (index >= CREATURE_TYPE_CAPACITY) fprintf(stderr, "script: %s : prilis mnoho potvor\n", path);
}

static void finish_kind(const char* path, int index, const PendingCreature& p, CreatureType* kind)
{
    if (kind == NULL) return;
    kind->dolez = p.dolez;
    kind->dolni_interval = p.dolni_interval;
    kind->horni_interval = p.horni_interval;
    kind->pocet_snimku = p.pocet_snimku;
    kind->rychlost = p.rychlost;
    kind->zivoty = p.zivoty;
    kind->hloubka_max = p.hloubka_max;
    kind->hloubka_min = p.hloubka_min;
    kind->vynorovani = p.vynorovani;
    kind->sila = p.sila;
    kind->sound = p.sound;
    kind->skore = p.skore;
    kind->zbran = p.zbran;
    kind->vystrel_prodleva = p.vystrel_prodleva;
    kind->alfa = p.alfa;
    kind->last_spawn_frame = 0;
    printf("script: %s : INICIALIZA POTVORY #%d DOKONCENA\n", path, index);
}

void load_creatures(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        return;
    }
    int index = -1;
    // A kind that names no weapon fires nothing.
    PendingCreature pending = PendingCreature();
    pending.zbran = -1;
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, sizeof word) != SCRIPT_EOF) {
        if (word_has(word, "[*")) start_kind(path, index);
        CreatureType* kind = kind_at(index);
        if (word_has(word, "death_sound")) read_sound(reader, kind != NULL ? &kind->death_sound : NULL);
        if (word_has(word, "create_sound")) read_sound(reader, kind != NULL ? &kind->create_sound : NULL);
        if (word_has(word, "skore_b")) read_picture(reader, path, "bitmapa skore", kind != NULL ? &kind->skore_b : NULL);
        if (word_has(word, "bitmap")) read_picture(reader, path, "bitmapa", kind != NULL ? &kind->bitmap : NULL);
        read_numbers(reader, path, word, NUMBERS_BEFORE_SPEED, 2, pending, kind);
        if (word_has(word, "rychlost")) read_speed(reader, path, pending, kind);
        read_numbers(reader, path, word, NUMBERS_BEFORE_COUNT, 4, pending, kind);
        if (word_has(word, "pocet")) read_count(reader, path, kind);
        read_numbers(reader, path, word, NUMBERS_AFTER_COUNT, 8, pending, kind);
        if (word_has(word, "[END]")) finish_kind(path, index, pending, kind);
    }
    // Kinds beyond the table were never stored.
    creature_type_last = index < CREATURE_TYPE_CAPACITY ? index : CREATURE_TYPE_CAPACITY - 1;
    script_close(reader);
}

void free_creatures()
{
    for (int t = 0; t < CREATURE_TYPE_CAPACITY; t++) {
        CreatureType& kind = creature_types[t];
        free_bitmap(kind.bitmap);
        free_bitmap(kind.skore_b);
        kind.bitmap = kind.skore_b = NULL;
        if (settings.sound == 1) {
            if (kind.create_sound != NULL) Mix_FreeChunk(kind.create_sound);
            if (kind.death_sound != NULL) Mix_FreeChunk(kind.death_sound);
            kind.create_sound = kind.death_sound = NULL;
        }
        int sound = kind.sound;
        Mix_Chunk* create_sound = kind.create_sound;
        Mix_Chunk* death_sound = kind.death_sound;
        kind = CreatureType();
        kind.zbran = -1;
        kind.sound = sound;
        kind.create_sound = create_sound;
        kind.death_sound = death_sound;
    }
    creature_type_last = -1;
    printf("UVOLNEN SKRIPT POTVOR Z PAMETI\n");
}

// ---------------------------------------------------------------------------
// Live creatures: their own work fills these in.

void schedule_creatures(int, int) {}
void spawn_creature_of_type(int, int, int) {}
void update_creatures(Submarine&, SDL_Surface*) {}
void Creature::spawn(int, int, int, int) {}
void Creature::update(Submarine&, SDL_Surface*) {}
void Creature::fire(Submarine&) {}
void Creature::ramSubmarine(Submarine&, SDL_Surface*) {}
void Creature::dyingStep() {}
