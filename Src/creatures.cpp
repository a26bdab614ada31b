#include "creatures.h"

#include <limits.h>
#include <math.h>
#include <stdio.h>

#include "bonus.h"
#include "game_state.h"
#include "geometry.h"
#include "graphics_bank.h"
#include "media.h"
#include "particles.h"
#include "random.h"
#include "script.h"
#include "settings.h"
#include "shots.h"
#include "sounds.h"
#include "submarine.h"
#include "weapons.h"

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
    release_sound(*slot);
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

// The kinds' pictures and sounds freed; a released kind fires no weapon and
// keeps only its sound switch.
static void release_kinds()
{
    for (CreatureType& kind : creature_types) {
        free_bitmap(kind.bitmap);
        free_bitmap(kind.skore_b);
        release_sound(kind.create_sound);
        release_sound(kind.death_sound);
        int sound = kind.sound;
        kind = CreatureType();
        kind.zbran = -1;
        kind.sound = sound;
    }
    creature_type_last = -1;
}

void clear_creature_counts()
{
    for (CreatureType& kind : creature_types) {
        kind.pocet = 0;
        kind.finished = 0;
    }
}

void free_creatures()
{
    release_kinds();
    printf("UVOLNEN SKRIPT POTVOR Z PAMETI\n");
}

// ---------------------------------------------------------------------------
// Live creatures

// Explosions of the graphics bank: the death of a creature, and the bubbles
// of one still rising.
static const int DEATH_EXPLOSION = 0;
static const int BUBBLES = 1;
static const int ESCAPE_PENALTY = 100;

static int screen_width(const SDL_Surface* surface)
{
    return surface != NULL ? surface->w : SCREEN_WIDTH;
}

static int screen_height(const SDL_Surface* surface)
{
    return surface != NULL ? surface->h : SCREEN_HEIGHT;
}

static int picture_height(const SDL_Surface* picture)
{
    return picture != NULL ? picture->h : 0;
}

// Headings of a kind: a strip of no frames shows one heading, and more than
// one per degree cannot be told apart.
static int heading_count(const CreatureType& kind)
{
    if (kind.pocet_snimku < 1) return 1;
    return kind.pocet_snimku > 360 ? 360 : kind.pocet_snimku;
}

static int heading_step(const CreatureType& kind)
{
    return 360 / heading_count(kind);
}

// r mod span, or 0 when the span is empty: an empty or inverted range gives
// its lower end. The value is drawn either way, so that every spawning takes
// the same number of draws.
static long long draw_within(long long span)
{
    int r = random_value();
    return span > 0 ? r % span : 0;
}

static int kind_in_table(int t)
{
    return t >= 0 && t < CREATURE_TYPE_CAPACITY;
}

void reset_creatures()
{
    release_kinds();
    for (CreatureType& kind : creature_types) kind = CreatureType();
    for (Creature& creature : creatures) creature = Creature();
    next_creature_shot_frame = 0;
}

void schedule_creatures(int cx, int cy)
{
    int last = creature_type_last < CREATURE_TYPE_CAPACITY ? creature_type_last : CREATURE_TYPE_CAPACITY - 1;
    for (int t = 0; t <= last; t++) {
        CreatureType& kind = creature_types[t];
        // A fresh draw every frame: after dolni_interval frames a new creature
        // becomes likelier with every frame, until horni_interval - 1.
        long long interval = kind.dolni_interval + draw_within((long long)kind.horni_interval - kind.dolni_interval);
        if ((long long)kind.last_spawn_frame + interval <= game.frame) {
            kind.last_spawn_frame = game.frame;
            spawn_creature_of_type(cx, cy, t);
        }
    }
}

void spawn_creature_of_type(int cx, int cy, int t)
{
    if (!kind_in_table(t)) return;
    // With every slot taken the last one is given to the newcomer.
    int slot = CREATURE_CAPACITY - 1;
    for (int i = 0; i < CREATURE_CAPACITY - 1; i++) {
        if (creatures[i].active == 0) {
            slot = i;
            break;
        }
    }
    creatures[slot].spawn(t, cx, cy, slot);
}

void Creature::spawn(int t, int cx, int cy, int id)
{
    if (!kind_in_table(t)) return;
    const CreatureType& kind = creature_types[t];
    type = t;
    direction = (int)draw_within(heading_count(kind)) * heading_step(kind);
    long long d = draw_within(kind.dolez);
    double heading = direction * DEG_TO_RAD;
    exact_x = (float)(cx + d * cos(heading));
    exact_y = (float)(cy + d * FLATTEN * sin(heading));
    // The whole-pixel position stays at the centre until the first update.
    x = cx;
    y = cy;
    zivoty = kind.zivoty;
    vx = (float)(kind.rychlost * cos(heading));
    vy = (float)(kind.rychlost * FLATTEN * sin(heading));
    // A kind keeps coming while its finished count has not passed its quota;
    // after that the slot is written but stays as it was.
    if (kind.finished <= kind.pocet) active = 1;
    depth = clamp_to_int(kind.hloubka_min + draw_within((long long)kind.hloubka_max - kind.hloubka_min));
    start_depth = depth;
    explosion_frame = -1;
    this->id = id;
    surfaced = 0;
    bonus = choose_creature_bonus();
}

// Whole-pixel position and the rise toward the surface; the surfacing sound
// comes on the first frame the depth would go below 0.
void Creature::rise()
{
    const CreatureType& kind = creature_types[type];
    if (depth == 0) {
        exact_x += vx;
        exact_y += vy;
    }
    x = truncate_to_int(exact_x);
    y = truncate_to_int(exact_y);
    depth = clamp_to_int((long long)depth - kind.vynorovani);
    if (depth < 0) {
        if (surfaced == 0) {
            play_sound(kind.create_sound, CHANNEL_SURFACING, 0);
            surfaced = 1;
        }
        depth = 0;
    }
}

// Draws the heading frame, fires, and lets a creature that has left the
// screen go for a penalty (it is still drawn in the frame it escapes).
void Creature::swim(Submarine& submarine, SDL_Surface* surface)
{
    const CreatureType& kind = creature_types[type];
    int h = picture_height(kind.bitmap);
    long long k = direction / heading_step(kind);
    fire(submarine);
    long long half = h / 2;
    if (x + half < 0 || x - half > screen_width(surface) || y + half < 0 || y - half > screen_height(surface)) {
        active = 0;
        game.score = clamp_to_int((long long)game.score - ESCAPE_PENALTY);
    }
    // Headings beyond the strip (frame counts that do not divide 360) show nothing.
    if (kind.bitmap == NULL || k < 0 || k * h >= kind.bitmap->w) return;
    draw_bitmap_part(kind.bitmap, (int)(k * h), 0, h, h, surface, clamp_to_int(x - half),
                     clamp_to_int(y - half + depth));
}

// The bubbles of a creature on its way up run from the animation's end
// toward its first frame; at full depth nothing shows.
void Creature::drawBubbles(SDL_Surface* surface)
{
    if (start_depth <= 0) return;
    long long frames = bank.vybuch[BUBBLES].frames;
    long long frame = (long long)depth * frames / start_depth;
    draw_explosion_frame(x, y, BUBBLES, clamp_to_int(frame), surface);
}

void Creature::update(Submarine& submarine, SDL_Surface* surface)
{
    if (!kind_in_table(type)) return;
    if (active == 1) rise();
    if (active == 1 && explosion_frame == -1) ramSubmarine(submarine, surface);
    if (active == 1 && depth == 0 && explosion_frame == -1) swim(submarine, surface);
    if (depth > 0) drawBubbles(surface);
    // A creature that has just left the screen is gone, whatever its life.
    if (active == 1 && zivoty <= 0) dyingStep();
}

void update_creatures(Submarine& submarine, SDL_Surface* surface)
{
    for (Creature& creature : creatures)
        if (creature.active == 1) creature.update(submarine, surface);
}

// A weapon that the level's catalogue does not hold fires nothing.
static int fires_a_weapon(const CreatureType& kind)
{
    return kind.zbran >= 0 && kind.zbran < weapon_catalogue.count;
}

void Creature::fire(Submarine& submarine)
{
    if (!kind_in_table(type)) return;
    const CreatureType& kind = creature_types[type];
    if (!fires_a_weapon(kind)) return;
    // Outward along the heading when the submarine is less than alfa degrees
    // short of crossing it; no wrap-around at 0 or 360.
    float window_start = (float)((double)direction - kind.alfa);
    if (!(window_start < submarine.uhel && submarine.uhel < (float)direction)) return;
    if (game.frame < next_creature_shot_frame) return;
    int slot = find_free_shot(0);
    if (slot >= 0) shot_pool.slots[slot].launch(x, y, 0, direction, kind.zbran, 300, 0, 0, id);
    next_creature_shot_frame = clamp_to_int((long long)game.frame + kind.vystrel_prodleva);
}

void Creature::ramSubmarine(Submarine& submarine, SDL_Surface*)
{
    if (depth != 0 || submarine.active != 1 || !kind_in_table(type)) return;
    const CreatureType& kind = creature_types[type];
    // The vertical difference counts 1 / 0.623 times, undoing the flattening.
    double dx = (double)x - submarine.x;
    double dy = (double)y - submarine.y;
    double d = trunc(sqrt(dx * dx + dy * dy / FLATTEN_SQUARED));
    double a = picture_height(kind.bitmap) / 2 + picture_height(submarine.image) / 2;
    double reach = trunc(sqrt(a * a + a * a) * 0.5);
    if (!(d < reach)) return;
    submarine.zivoty = clamp_to_int((long long)submarine.zivoty - kind.sila);
    submarine.playCollisionSound();
    // The creature is spent: it explodes and never rams again.
    zivoty = -1;
    dyingStep();
}

void Creature::dyingStep()
{
    if (!kind_in_table(type)) return;
    CreatureType& kind = creature_types[type];
    vx = 0;
    vy = 0;
    // The steps count on whether or not the explosion has a picture: an empty
    // slot counts one frame, reported once, and the death ends on the next
    // step as the submarine's does, so the level can still be won.
    int first = explosion_frame == -1;
    if (explosion_frame < INT_MAX) explosion_frame += 1;
    if (first) play_sound(kind.death_sound, CHANNEL_HIT, 0);
    if (draw_explosion_frame(x, y, DEATH_EXPLOSION, explosion_frame, game.screen) != 2) return;
    active = 0;
    explosion_frame = -1;
    if (kind.finished < INT_MAX) kind.finished += 1;
    if (settings.efekt01 == 1)
        for (int angle = 0; angle < 360; angle += 2) spawn_particles(x, y, angle, 1.0f, 50, 49, 0, 1, 1, 0);
}
