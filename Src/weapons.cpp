#include "weapons.h"

#include <stdio.h>

#include "graphics_bank.h"
#include "media.h"
#include "script.h"
#include "sounds.h"

// A weapon as it stands before any script has described it.
static WeaponDef default_weapon()
{
    WeaponDef weapon = WeaponDef();
    weapon.pocet_snimku = 1;
    weapon.pocet_strel_na_vystrel = 1;
    weapon.dosah_vlny = 1;
    weapon.pocet_castic_vlny = 1;
    return weapon;
}

static WeaponCatalogue fresh_catalogue()
{
    WeaponCatalogue catalogue;
    for (WeaponDef& weapon : catalogue.weapons) weapon = default_weapon();
    catalogue.count = 0;
    return catalogue;
}

WeaponCatalogue weapon_catalogue = fresh_catalogue();

const WeaponDef& weapon_at(int index)
{
    static const WeaponDef no_weapon = default_weapon();
    if (index < 0 || index >= WEAPON_CAPACITY) return no_weapon;
    return weapon_catalogue.weapons[index];
}

// ---------------------------------------------------------------------------
// "weapons.scr"

enum KeyKind { KEY_BITMAP, KEY_INT, KEY_INT_SILENT, KEY_FLOAT, KEY_SOUND };

struct WeaponKey {
    const char* name;
    KeyKind kind;
    // The bitmap keys' log lines name the key (one of them misspelt, as
    // level designers know it); the ending of the line when the picture is
    // NULL warns of what is missing.
    const char* logged_as;
    const char* null_ending;
    SDL_Surface* WeaponDef::*bitmap;
    int WeaponDef::*number;
    Mix_Chunk* WeaponDef::*sound;
};

static WeaponKey bitmap_key(const char* name, const char* logged_as, const char* null_ending,
                            SDL_Surface* WeaponDef::*field)
{
    return {name, KEY_BITMAP, logged_as, null_ending, field, nullptr, nullptr};
}

static WeaponKey int_key(const char* name, int WeaponDef::*field, KeyKind kind = KEY_INT)
{
    return {name, kind, name, nullptr, nullptr, field, nullptr};
}

static WeaponKey sound_key(const char* name, Mix_Chunk* WeaponDef::*field)
{
    return {name, KEY_SOUND, name, nullptr, nullptr, nullptr, field};
}

// Tested in this order against every word. No key occurs inside another, so
// a word sets at most one field.
static const WeaponKey WEAPON_KEYS[] = {
    bitmap_key("exploze", "exploze", "NULL\n", &WeaponDef::exploze),
    bitmap_key("strela", "strela", "NULL --> Mohou nastat problemy : nevykresleni strely, padani programu\n",
               &WeaponDef::strela),
    bitmap_key("menu", "menu", "NULL --> Mohou nastat problemy : nevykresleni zbrane v menu, padani programu\n",
               &WeaponDef::menu),
    bitmap_key("stin", "strin", "NULL --> Mohou nastat problemy : nevykresleni stinu, padani programu\n",
               &WeaponDef::stin),
    int_key("poskozeni", &WeaponDef::poskozeni),
    int_key("rozptyl", &WeaponDef::rozptyl),
    int_key("maximalni_rychlost", &WeaponDef::maximalni_rychlost),
    {"zrychleni", KEY_FLOAT, "zrychleni", nullptr, nullptr, nullptr, nullptr},
    int_key("zblunk", &WeaponDef::zblunk, KEY_INT_SILENT),
    int_key("uhel_vystreleni", &WeaponDef::uhel_vystreleni),
    int_key("rychlost_vystreleni", &WeaponDef::rychlost_vystreleni),
    int_key("prodleva", &WeaponDef::prodleva),
    int_key("pocet_strel_na_vystrel", &WeaponDef::pocet_strel_na_vystrel),
    int_key("pocet_snimku", &WeaponDef::pocet_snimku),
    int_key("dostrel", &WeaponDef::dostrel),
    int_key("zpomaleni", &WeaponDef::zpomaleni),
    int_key("zahrivani", &WeaponDef::zahrivani),
    int_key("tolerance", &WeaponDef::tolerance),
    int_key("typ", &WeaponDef::typ),
    int_key("klesani", &WeaponDef::klesani),
    int_key("pocet_castic_vlny", &WeaponDef::pocet_castic_vlny),
    int_key("dosah_vlny", &WeaponDef::dosah_vlny),
    int_key("zamerovani_rychlost", &WeaponDef::zamerovani_rychlost),
    sound_key("fire_sound", &WeaponDef::fire_sound),
    sound_key("hit_sound", &WeaponDef::hit_sound),
    sound_key("water_sound", &WeaponDef::water_sound),
};

static void read_bitmap(ScriptReader& reader, const char* path, const WeaponKey& key, WeaponDef& weapon)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, sizeof name) == SCRIPT_EOF) return;
    printf("script: %s : %s : ", path, key.logged_as);
    SDL_Surface*& field = weapon.*key.bitmap;
    // A repeated key replaces the picture read before.
    free_bitmap(field);
    field = NULL;
    if (word_has(name, "NULL")) {
        fputs(key.null_ending, stdout);
        return;
    }
    // The picture loader reports its own failure, on the error stream:
    // flushing first keeps the two streams in order in a shared log.
    fflush(stdout);
    field = load_bitmap(name, 1);
    printf("%s\n", name);
}

static void read_int(ScriptReader& reader, const char* path, const WeaponKey& key, WeaponDef& weapon)
{
    int& field = weapon.*key.number;
    // A value that is not a number leaves the field as it was.
    script_int(reader, &field);
    if (key.kind == KEY_INT) printf("script: %s : %s : %d\n", path, key.logged_as, field);
}

static void read_float(ScriptReader& reader, const char* path, WeaponDef& weapon)
{
    script_float(reader, &weapon.zrychleni);
    printf("script: %s : zrychleni : %f\n", path, (double)weapon.zrychleni);
}

static void read_sound(ScriptReader& reader, const WeaponKey& key, WeaponDef& weapon)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, sizeof name) == SCRIPT_EOF) return;
    Mix_Chunk*& field = weapon.*key.sound;
    release_sound(field);
    field = load_sound(name);
    fprintf(stderr, field != NULL ? "Podarilo se nahrat zvuk : %s\n" : "Nepodarilo se nahrat zvuk : %s\n", name);
}

static void read_key(ScriptReader& reader, const char* path, const WeaponKey& key, WeaponDef& weapon)
{
    switch (key.kind) {
    case KEY_BITMAP: read_bitmap(reader, path, key, weapon); break;
    case KEY_INT:
    case KEY_INT_SILENT: read_int(reader, path, key, weapon); break;
    case KEY_FLOAT: read_float(reader, path, weapon); break;
    case KEY_SOUND: read_sound(reader, key, weapon); break;
    }
}

// Values of keys that have no weapon to go to (before the first marker, or
// of weapons beyond the table) are read past and dropped.
static void skip_value(ScriptReader& reader, const WeaponKey& key)
{
    char word[SCRIPT_WORD_SIZE];
    int number = 0;
    float real = 0;
    switch (key.kind) {
    case KEY_BITMAP:
    case KEY_SOUND: script_word(reader, word, sizeof word); break;
    case KEY_INT:
    case KEY_INT_SILENT: script_int(reader, &number); break;
    case KEY_FLOAT: script_float(reader, &real); break;
    }
}

// A marker word starts the next weapon. The table holds 100: further
// weapons are reported and their keys ignored.
static void start_weapon(const char* path, int& current)
{
    if (current + 1 >= WEAPON_CAPACITY) {
        current = WEAPON_CAPACITY;
        fprintf(stderr, "script: %s : Prilis mnoho zbrani !!!\n", path);
        return;
    }
    current += 1;
    printf("script: %s : NALEZENA ZBRAN #%d\n", path, current);
}

void load_weapons(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        weapon_catalogue.count = 0;
        return;
    }
    int current = -1;
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, sizeof word) != SCRIPT_EOF) {
        if (word_has(word, "*")) start_weapon(path, current);
        int storing = current >= 0 && current < WEAPON_CAPACITY;
        for (const WeaponKey& key : WEAPON_KEYS) {
            if (!word_has(word, key.name)) continue;
            if (storing)
                read_key(reader, path, key, weapon_catalogue.weapons[current]);
            else
                skip_value(reader, key);
        }
    }
    script_close(reader);
    weapon_catalogue.count = current < WEAPON_CAPACITY ? current + 1 : WEAPON_CAPACITY;
}

// Every weapon's pictures and sounds freed and its numbers at the defaults;
// the count stays until the next load sets it.
static void release_weapons()
{
    for (WeaponDef& weapon : weapon_catalogue.weapons) {
        free_bitmap(weapon.menu);
        free_bitmap(weapon.strela);
        free_bitmap(weapon.exploze);
        free_bitmap(weapon.stin);
        release_sound(weapon.fire_sound);
        release_sound(weapon.hit_sound);
        release_sound(weapon.water_sound);
        weapon = default_weapon();
    }
}

void free_weapons()
{
    release_weapons();
    printf("UVOLNEN SKRIPT ZBRANI Z PAMETI\n");
}

void reset_weapons()
{
    release_weapons();
    weapon_catalogue = fresh_catalogue();
}
