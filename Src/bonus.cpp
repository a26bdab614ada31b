#include "bonus.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "game_state.h"
#include "geometry.h"
#include "graphics_bank.h"
#include "media.h"
#include "random.h"
#include "script.h"
#include "settings.h"
#include "sounds.h"
#include "weapons.h"

BonusCatalogue bonus_catalogue;
Bonus bonuses[BONUS_SLOTS];
BonusEffects bonus_effects;

// Only types inside the table exist; a number beyond it stands for no bonus.
static const BonusType* bonus_type(int index)
{
    if (index < 0 || index >= BONUS_TYPE_CAPACITY) return NULL;
    return &bonus_catalogue.types[index];
}

// A released type keeps its drop parameter; everything else is empty.
static void clear_type(BonusType& type)
{
    free_bitmap(type.bitmap);
    float sance = type.sance;
    type = BonusType();
    type.sance = sance;
}

// The level's pictures and sound freed and every type cleared; the floating
// bonuses and the sums of their effects are left as they are.
static void release_catalogue()
{
    for (BonusType& type : bonus_catalogue.types) clear_type(type);
    release_sound(bonus_catalogue.create_sound);
}

// ---------------------------------------------------------------------------
// "bonusy.scr"

struct BonusNumberKey {
    const char* name;
    int BonusType::*field;
};

// Tested in this order against every word.
static const BonusNumberKey NUMBER_KEYS[] = {
    {"dostrel", &BonusType::dostrel},   {"pocet_strel", &BonusType::pocet_strel},
    {"pouzivani", &BonusType::pouzivani}, {"prodleva", &BonusType::prodleva},
    {"rozptyl", &BonusType::rozptyl},   {"rychlost", &BonusType::rychlost},
    {"rychlost_lodi", &BonusType::rychlost_lodi}, {"zivoty", &BonusType::zivoty},
};

// A word naming the ship's speed does not also set the shots' speed,
// although one key holds the other.
static int word_sets(const char* word, const char* key)
{
    if (!word_has(word, key)) return 0;
    if (strcmp(key, "rychlost") == 0 && word_has(word, "rychlost_lodi")) return 0;
    return 1;
}

static void read_bitmap(ScriptReader& reader, BonusType* type)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, sizeof name) == SCRIPT_EOF || type == NULL) return;
    // A repeated key replaces the picture read before.
    free_bitmap(type->bitmap);
    fflush(stdout);  // the loader's complaint, if any, goes to the error stream in log order
    type->bitmap = load_bitmap(name, 1);
}

static void read_create_sound(ScriptReader& reader)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, sizeof name) == SCRIPT_EOF) return;
    release_sound(bonus_catalogue.create_sound);
    fflush(stdout);
    bonus_catalogue.create_sound = load_sound(name);
}

// Keys before the first marker or of types beyond the table have no type to
// go into: their values are read past and dropped.
static void read_word_keys(ScriptReader& reader, const char* word, BonusType* type)
{
    if (word_has(word, "bitmap")) read_bitmap(reader, type);
    for (const BonusNumberKey& key : NUMBER_KEYS) {
        if (!word_sets(word, key.name)) continue;
        int value = 0;
        if (script_int(reader, &value) == 1 && type != NULL) type->*key.field = value;
    }
    if (word_has(word, "sance")) {
        float value = 0;
        if (script_float(reader, &value) == 1 && type != NULL) type->sance = value;
    }
    if (word_has(word, "create_sound")) read_create_sound(reader);
}

void load_bonuses(const char* path)
{
    for (Bonus& slot : bonuses) {
        slot.active = 0;
        slot.collected = 0;
    }
    bonus_catalogue.count = 0;
    for (BonusType& type : bonus_catalogue.types) clear_type(type);
    bonus_effects = BonusEffects();

    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        return;
    }
    int started = 0;  // types begun so far, the table's or beyond it
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, sizeof word) != SCRIPT_EOF) {
        if (word_has(word, "*") && started <= BONUS_TYPE_CAPACITY) started += 1;
        if (word_has(word, "[END]")) bonus_catalogue.count = started < BONUS_TYPE_CAPACITY ? started : BONUS_TYPE_CAPACITY;
        BonusType* type = started >= 1 && started <= BONUS_TYPE_CAPACITY ? &bonus_catalogue.types[started - 1] : NULL;
        read_word_keys(reader, word, type);
    }
    script_close(reader);
    printf("SKRIPT : %s : Nahrany %d polozky\n", path, bonus_catalogue.count);
}

void free_bonuses()
{
    release_catalogue();
    printf("UVOLNEN SKRIPT BONUSU Z PAMETI\n");
}

// ---------------------------------------------------------------------------
// Dropping, floating, collecting

int choose_creature_bonus()
{
    int n = bonus_catalogue.count;
    // Without bonus types no creature carries one, and nothing is drawn.
    if (n <= 0) return -1;
    int t = random_value() % n;
    if (random_value() % 1000 <= 500) return -1;
    // The higher the chance value, the rarer the type: 0 drops nearly always, 1 never.
    if (1000.0f * bonus_catalogue.types[t].sance < (float)(random_value() % 1000)) return t;
    return -1;
}

void Bonus::place(int x, int y, int type)
{
    this->x = x;
    this->y = y;
    this->type = type;
    expiry = clamp_to_int((long long)game.frame + settings.zivot_bonusu);
    active = 1;
    collected = 0;
    play_sound(bonus_catalogue.create_sound, CHANNEL_ANNOUNCE, 0);
}

void reset_bonuses()
{
    release_catalogue();
    bonus_catalogue = BonusCatalogue();
    for (Bonus& bonus : bonuses) bonus = Bonus();
    bonus_effects = BonusEffects();
}

void drop_bonus(int x, int y, int type)
{
    if (bonus_type(type) == NULL) return;
    for (Bonus& slot : bonuses) {
        if (slot.active == 0) {
            slot.place(x, y, type);
            return;
        }
    }
    // All slots in use: the bonus is lost.
}

// A bonus ends when its time is up: floating, or its effect once collected.
// Floating ones are drawn centred on their place.
void Bonus::draw(SDL_Surface* surface)
{
    if (active == 1 && game.frame >= expiry) active = 0;
    if (active != 1 || collected != 0) return;
    const BonusType* kind = bonus_type(type);
    if (kind == NULL || kind->bitmap == NULL) return;
    SDL_Surface* picture = kind->bitmap;
    draw_bitmap(picture, surface, clamp_to_int((long long)x - picture->w / 2), clamp_to_int((long long)y - picture->h / 2));
}

static int picture_height(const SDL_Surface* picture)
{
    return picture != NULL ? picture->h : 0;
}

// A landed shell collects a floating bonus it comes down within reach of,
// unless the bonus appeared in this very frame.
static int shell_reaches(const Bonus& slot, int x, int y, const WeaponDef& w)
{
    if (slot.active != 1 || slot.collected != 0) return 0;
    if ((long long)slot.expiry - game.frame >= settings.zivot_bonusu) return 0;
    const BonusType* kind = bonus_type(slot.type);
    if (kind == NULL) return 0;
    double dx = (double)x - slot.x;
    double dy = (double)y - slot.y;
    long long d = (long long)sqrt(dx * dx + dy * dy);
    return d - w.tolerance <= (long long)picture_height(kind->bitmap) + picture_height(w.strela) / 2;
}

void collect_bonuses(int x, int y, int weapon)
{
    const WeaponDef& w = weapon_at(weapon);
    // Only the gun's shells collect bonuses.
    if (w.typ != 0) return;
    for (Bonus& slot : bonuses) {
        if (!shell_reaches(slot, x, y, w)) continue;
        slot.collected = 1;
        slot.expiry = clamp_to_int((long long)game.frame + bonus_type(slot.type)->pouzivani);
    }
}

void sum_bonus_effects()
{
    long long dostrel = 0, rychlost = 0, pocet_strel = 0, rozptyl = 0, rychlost_lodi = 0, zivoty = 0, prodleva = 0;
    for (const Bonus& slot : bonuses) {
        const BonusType* kind = bonus_type(slot.type);
        if (slot.active != 1 || slot.collected != 1 || kind == NULL) continue;
        dostrel += kind->dostrel;
        rychlost += kind->rychlost;
        pocet_strel += kind->pocet_strel;
        rozptyl += kind->rozptyl;
        rychlost_lodi += kind->rychlost_lodi;
        zivoty += kind->zivoty;
        prodleva += kind->prodleva;
    }
    bonus_effects.dostrel = clamp_to_int(dostrel);
    bonus_effects.rychlost = clamp_to_int(rychlost);
    bonus_effects.pocet_strel = clamp_to_int(pocet_strel);
    bonus_effects.rozptyl = clamp_to_int(rozptyl);
    bonus_effects.rychlost_lodi = clamp_to_int(rychlost_lodi);
    bonus_effects.zivoty = clamp_to_int(zivoty);
    bonus_effects.prodleva = clamp_to_int(prodleva);
}
