#include "planes.h"

#include <math.h>
#include <stdio.h>

#include "game_state.h"
#include "geometry.h"
#include "media.h"
#include "script.h"
#include "shots.h"
#include "sounds.h"
#include "submarine.h"

PlaneType plane_types[PLANE_TYPE_CAPACITY];
int plane_type_last = -1;
int enemy_plane = 0;
Plane planes[PLANE_CAPACITY];

// A strip given with no frames counts as one picture, so that nothing
// divides by its count.
static int directions(const AnimStrip& strip)
{
    return strip.frames > 0 ? strip.frames : 1;
}

// ---------------------------------------------------------------------------
// "plane.scr"

struct PlaneNumberKey {
    const char* name;
    int PlaneType::*field;
};

// Tested in this order against every word, after the strips.
static const PlaneNumberKey NUMBER_KEYS[] = {
    {"vyska", &PlaneType::vyska},         {"rychlost", &PlaneType::rychlost}, {"pocet_vystrelu", &PlaneType::pocet_vystrelu},
    {"zbran", &PlaneType::zbran},         {"typ", &PlaneType::typ},           {"prodleva", &PlaneType::prodleva},
    {"tolerance", &PlaneType::tolerance},
};

// "bitmap" and "shadow": a file name and its frame count. A name holding
// NULL leaves the strip without a picture.
static void read_strip(ScriptReader& reader, AnimStrip* strip)
{
    char name[SCRIPT_WORD_SIZE];
    int frames = 0;
    int read = script_word_int(reader, name, sizeof name, &frames);
    if (read == SCRIPT_EOF || read < 1 || strip == NULL) return;
    if (word_has(name, "NULL")) {
        free_bitmap(strip->bitmap);
        strip->bitmap = NULL;
        return;
    }
    // A repeated key replaces the picture read before.
    free_bitmap(strip->bitmap);
    fflush(stdout);  // the loader's complaint, if any, goes to the error stream in log order
    strip->bitmap = load_bitmap(name, 1);
    if (read == 2) strip->frames = (Uint8)frames;
}

static void read_fly_sound(ScriptReader& reader, PlaneType* kind)
{
    char name[SCRIPT_WORD_SIZE];
    int repeats = 0;
    int read = script_word_int(reader, name, sizeof name, &repeats);
    if (read == SCRIPT_EOF || read < 1 || kind == NULL) return;
    release_sound(kind->fly_sound);
    fflush(stdout);
    kind->fly_sound = load_sound(name);
    if (read == 2) kind->fly_repeat = repeats;
}

// Keys before the first marker or of kinds beyond the table have no kind to
// go into: their values are read past and dropped.
static void read_kind_keys(ScriptReader& reader, const char* word, PlaneType* kind)
{
    if (word_has(word, "bitmap")) read_strip(reader, kind != NULL ? &kind->bitmap : NULL);
    if (word_has(word, "shadow")) read_strip(reader, kind != NULL ? &kind->shadow : NULL);
    for (const PlaneNumberKey& key : NUMBER_KEYS) {
        if (!word_has(word, key.name)) continue;
        int value = 0;
        if (script_int(reader, &value) == 1 && kind != NULL) kind->*key.field = value;
    }
    if (word_has(word, "fly_sound")) read_fly_sound(reader, kind);
}

void load_planes(const char* path)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        return;
    }
    int kind = -1;
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, sizeof word) != SCRIPT_EOF) {
        if (word_has(word, "enemy_plane")) script_int(reader, &enemy_plane);
        if (word_has(word, "*")) {
            printf("skript : %s NALEZENO NOVE LETADLO\n", path);
            if (kind < PLANE_TYPE_CAPACITY) kind += 1;
        }
        PlaneType* current = kind >= 0 && kind < PLANE_TYPE_CAPACITY ? &plane_types[kind] : NULL;
        read_kind_keys(reader, word, current);
    }
    script_close(reader);
    plane_type_last = kind < PLANE_TYPE_CAPACITY ? kind : PLANE_TYPE_CAPACITY - 1;
}

// Every flight ended and every kind's pictures and sound freed; the enemy
// plane's interval stays.
static void release_kinds()
{
    for (Plane& plane : planes) {
        plane.active = 0;
        plane.path_length = 0;
        plane.next_fire_frame = 0;
    }
    for (PlaneType& kind : plane_types) {
        free_strip(kind.bitmap);
        free_strip(kind.shadow);
        release_sound(kind.fly_sound);
        kind.zbran = kind.pocet_vystrelu = kind.prodleva = kind.rychlost = 0;
        kind.fly_repeat = kind.tolerance = kind.typ = kind.vyska = 0;
    }
    plane_type_last = -1;
}

void free_planes()
{
    release_kinds();
    printf("UVOLNEN SKRIPT LETADEL Z PAMETI\n");
}

void reset_planes()
{
    release_kinds();
    for (PlaneType& kind : plane_types) kind = PlaneType();
    enemy_plane = 0;
    for (Plane& plane : planes) plane = Plane();
}

// ---------------------------------------------------------------------------
// Flight

static const PlaneType* plane_kind(int index)
{
    if (index < 0 || index >= PLANE_TYPE_CAPACITY) return NULL;
    return &plane_types[index];
}

// A flight starts the screen's diagonal less ten pixels before the point it
// flies through, so it comes in from beyond the edge and leaves beyond the
// opposite one. A kind without a picture of itself never takes off.
void Plane::launch(int tx, int ty, int dir_index, int kind, SDL_Surface* surface)
{
    const PlaneType* k = plane_kind(kind);
    if (k == NULL || k->bitmap.bitmap == NULL) return;
    next_fire_frame = 0;
    this->dir_index = dir_index;
    type = kind;
    double w = surface != NULL ? surface->w : SCREEN_WIDTH;
    double h = surface != NULL ? surface->h : SCREEN_HEIGHT;
    path_length = truncate_to_int(sqrt(w * w + h * h));
    double lead = (double)path_length - 10;
    heading = clamp_to_int((long long)dir_index * (360 / directions(k->bitmap)));
    vx = (float)(cos(heading * DEG_TO_RAD) * k->rychlost);
    vy = (float)(sin(heading * DEG_TO_RAD) * k->rychlost * FLATTEN);
    double back = ((double)heading + 180) * DEG_TO_RAD;
    x = clamp_to_int((long long)tx + truncate_to_int(cos(back) * lead));
    y = clamp_to_int((long long)ty + truncate_to_int(sin(back) * lead * FLATTEN));
    exact_x = (float)x;
    exact_y = (float)y;
    target_x = tx;
    target_y = ty;
    height = k->vyska;
    active = 1;
    shots_fired = -1;
    play_sound(k->fly_sound, CHANNEL_PLANE, k->fly_repeat);
}

// The bomber's band: just outside the submarine's ellipse, measured on the
// unflattened sea from the ellipse's centre.
static int over_band(const Plane& plane, const Submarine& sub, int tolerance)
{
    double dx = (double)sub.stred_x - plane.x;
    double dy = ((double)sub.stred_y - plane.y) / FLATTEN;
    long long r = (long long)sqrt(dx * dx + dy * dy);
    return sub.radius < r && r <= (long long)sub.radius + tolerance;
}

// Counts a shot and fires it. The count starts at -1, so a flight fires one
// shot more than its kind's limit.
void Plane::update(const Submarine& sub, SDL_Surface*)
{
    const PlaneType* kind = plane_kind(type);
    if (active != 1 || kind == NULL) return;
    const PlaneType& k = *kind;
    exact_x += vx;
    exact_y += vy;
    x = truncate_to_int(exact_x);
    y = truncate_to_int(exact_y);
    double dx = (double)target_x - x;
    double dy = (double)target_y - y;
    if (truncate_to_int(sqrt(dx * dx + dy * dy)) > path_length) active = 0;
    int may_fire = shots_fired < k.pocet_vystrelu && next_fire_frame <= game.frame;
    if ((k.typ == 1 && over_band(*this, sub, k.tolerance) && may_fire) || (k.typ == 0 && may_fire)) {
        shots_fired += 1;
        next_fire_frame = clamp_to_int((long long)game.frame + k.prodleva);
        fire();
    }
}

// Bombs start at the plane's flying height above its shadow.
void Plane::fire()
{
    int slot = find_free_shot(0);
    const PlaneType* k = plane_kind(type);
    if (slot < 0 || active != 1 || k == NULL) return;
    shot_pool.slots[slot].launch(x, y, k->vyska, heading, k->zbran, 1, 0, 0, -1);
}

// Frame dir_index of a direction strip, centred on (x, y - lift).
static void draw_direction(const AnimStrip& strip, int dir_index, int x, int y, int lift, SDL_Surface* surface)
{
    if (strip.bitmap == NULL) return;
    Uint16 w = (Uint16)(strip.bitmap->w / directions(strip));
    int h = strip.bitmap->h;
    draw_bitmap_part(strip.bitmap, clamp_to_int((long long)w * dir_index), 0, w, h, surface,
                     clamp_to_int((long long)x - w / 2), clamp_to_int((long long)y - h / 2 - lift));
}

// The shadow on the water, the plane its flying height above it.
void Plane::draw(SDL_Surface* surface)
{
    const PlaneType* k = plane_kind(type);
    if (k == NULL) return;
    draw_direction(k->shadow, dir_index, x, y, 0, surface);
    draw_direction(k->bitmap, dir_index, x, y, height, surface);
}
