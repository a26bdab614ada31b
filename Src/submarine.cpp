#include "submarine.h"

#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "bonus.h"
#include "game_state.h"
#include "geometry.h"
#include "graphics_bank.h"
#include "gun.h"
#include "media.h"
#include "particles.h"
#include "script.h"
#include "settings.h"
#include "sounds.h"

Submarine submarine;
float orbit_speed = 0.0f;

// The submarine never stops: this much it always sails, in degrees per frame.
static const float DRIFT = 0.1f;
// Without the arrow keys the extra speed fades by this factor every frame.
static const float SPEED_DECAY = 0.98f;


// ---------------------------------------------------------------------------
// "delo.scr"

// The numbers of a section wait here until its "[END]" builds the submarine.
struct PendingSubmarine {
    int radius, stred_x, stred_y, rychlost_otaceni, pocet_snimku, uhel, vybuch, zivoty, alpha, stit;
};

struct NumericKey {
    const char* name;
    int PendingSubmarine::*field;
};

// Tested in this order against every word.
static const NumericKey NUMERIC_KEYS[] = {
    {"radius", &PendingSubmarine::radius},
    {"stred_x", &PendingSubmarine::stred_x},
    {"stred_y", &PendingSubmarine::stred_y},
    {"rychlost_otaceni", &PendingSubmarine::rychlost_otaceni},
    {"pocet_snimku", &PendingSubmarine::pocet_snimku},
    {"uhel", &PendingSubmarine::uhel},
    {"vybuch", &PendingSubmarine::vybuch},
    {"zivoty", &PendingSubmarine::zivoty},
    {"alpha", &PendingSubmarine::alpha},
    {"stit", &PendingSubmarine::stit},
};

// Keys outside the one submarine section have no record to go into: their
// values are read past and dropped.
static void read_image(ScriptReader& reader, const char* path, Submarine& sub, int storing)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, sizeof name) == SCRIPT_EOF || !storing) return;
    SDL_Surface* image = load_bitmap(name, 1);
    free_bitmap(sub.image);
    sub.image = image;
    printf("script: %s : bitmapa : %s ... nahrana\n", path, name);
}

static void read_sound(ScriptReader& reader, const char* path, Mix_Chunk** slot, int storing)
{
    char name[SCRIPT_WORD_SIZE];
    if (script_word(reader, name, sizeof name) == SCRIPT_EOF || !storing) return;
    Mix_Chunk* sound = load_sound(name);
    release_sound(*slot);
    *slot = sound;
    printf("script: %s : zvuk : %s ... nahran\n", path, name);
}

static void read_number(ScriptReader& reader, const char* path, const char* name, int* value, int storing)
{
    int dropped = 0;
    script_int(reader, storing ? value : &dropped);
    if (storing) printf("script: %s : %s : %d\n", path, name, *value);
}

static void start_section(const char* path, int& section)
{
    if (section < INT_MAX) section += 1;
    printf("script: %s : NALEZENA NOVA PONORKA #%d\n", path, section);
    if (section >= 1) fprintf(stderr, "script: %s : prilis mnoho ponorek\n", path);
}

static void finish_section(const char* path, int section, const PendingSubmarine& p, Submarine& sub)
{
    printf("script: %s : INICIALIZUJI PONORKU ... #%d ...OK\n", path, section);
    sub.init(p.radius, p.stred_x, p.stred_y, p.uhel, p.rychlost_otaceni, p.pocet_snimku, p.stit, p.alpha,
             p.zivoty, p.vybuch);
}

int load_submarine(const char* path, Submarine& sub)
{
    ScriptReader reader;
    if (!script_open(reader, path)) {
        report_unreadable_script(path);
        return -1;
    }
    int section = -1;
    // A key the file leaves out counts as 0.
    PendingSubmarine pending;
    memset(&pending, 0, sizeof pending);
    char word[SCRIPT_WORD_SIZE];
    while (script_word(reader, word, sizeof word) != SCRIPT_EOF) {
        if (word_has(word, "[*")) start_section(path, section);
        int storing = section == 0;
        if (word_has(word, "image")) read_image(reader, path, sub, storing);
        if (word_has(word, "death_sound")) read_sound(reader, path, &sub.death_sound, storing);
        if (word_has(word, "collision_sound")) read_sound(reader, path, &sub.collision_sound, storing);
        for (const NumericKey& key : NUMERIC_KEYS)
            if (word_has(word, key.name)) read_number(reader, path, key.name, &(pending.*key.field), storing);
        if (word_has(word, "[END]") && storing) finish_section(path, section, pending, sub);
    }
    script_close(reader);
    return section;
}

void Submarine::init(int radius, int stred_x, int stred_y, int uhel, int rychlost_otaceni,
                     int pocet_snimku, int stit, int alpha, int zivoty, int vybuch)
{
    this->radius = radius;
    this->stred_x = stred_x;
    this->stred_y = stred_y;
    this->rychlost_otaceni = rychlost_otaceni;
    this->pocet_snimku = pocet_snimku;
    this->stit = stit;
    this->alpha = alpha;
    this->vybuch = vybuch;
    this->uhel = (float)uhel;
    this->zivoty = zivoty;
    max_zivoty = zivoty;
    active = 1;
    explosion_frame = -1;
    aim_distance = 0;
    death_sound_played = 0;
}

// The picture and sounds freed, and the record as a released submarine
// holds it: inactive, never 0 frames or hit points (the panel divides by the
// hit points, the drawing by the frames).
static void release_submarine(Submarine& sub)
{
    free_bitmap(sub.image);
    release_sound(sub.collision_sound);
    release_sound(sub.death_sound);
    memset(&sub, 0, sizeof sub);
    sub.pocet_snimku = 1;
    sub.max_zivoty = 1;
    sub.explosion_frame = -1;
}

int free_submarine(Submarine& sub)
{
    release_submarine(sub);
    printf("UVOLNENO DELO(%p) Z PAMETI\n", (void*)&sub);
    return 0;
}

// ---------------------------------------------------------------------------
// Sailing

void Submarine::step(int left, int right, int fire, int switch_key, int heat_flag)
{
    gun_switch_weapon(*this, switch_key);
    int aim_angle = 0;
    // The aim is taken from where the submarine was; the shells leave from
    // where it has got to.
    int fire_passed = gun_fire_request(*this, fire, &aim_angle);
    move(left, right);
    if (fire_passed) gun_volley(*this, aim_angle, heat_flag);
    spawnWake();
}

// Keeps the angle within 0 ... 360. Far-off values (no script gives them)
// are brought near first so that the loops stay short.
static void wrap_angle(float& angle)
{
    if (angle != angle) angle = 0.0f;
    if (!(angle > -3600.0f && angle < 3600.0f)) angle = fmodf(angle, 360.0f);
    while (angle > 360) angle -= 360;
    while (angle < 0) angle += 360;
}

void Submarine::move(int left, int right)
{
    int bonus = bonus_effects.rychlost_lodi;
    float top = (float)((long long)rychlost_otaceni + bonus);
    float gain = top / 10;
    // Left slows down to the drift alone; right speeds up to the top speed,
    // which a speed bonus raises once the plain top speed is passed.
    if (left) {
        orbit_speed -= gain;
        if (orbit_speed < 0) orbit_speed = 0;
    }
    if (right) {
        orbit_speed += gain;
        if (orbit_speed > (float)rychlost_otaceni) orbit_speed = top;
    }
    if (!left && !right) orbit_speed *= SPEED_DECAY;
    uhel += orbit_speed + DRIFT;
    wrap_angle(uhel);
    exact_x = (float)(stred_x + radius * cos(uhel * DEG_TO_RAD));
    exact_y = (float)(stred_y + radius * FLATTEN * sin(uhel * DEG_TO_RAD));
    x = truncate_to_int(exact_x);
    y = truncate_to_int(exact_y);
}

// Foam flies off both ways along the radius through the submarine, the
// faster the faster it sails.
void Submarine::spawnWake()
{
    int a = truncate_to_int(uhel);
    if (a > INT_MAX - 180) a = INT_MAX - 180;
    float slack = (float)rychlost_otaceni - orbit_speed + 1;
    // Only a speed bonus of exactly 1 at full speed gets here; the foam then
    // flies as at full speed without a bonus.
    if (slack == 0) slack = 1;
    float fast = 1 / slack;
    float slow = (float)(0.5 / slack);
    spawn_particles(x, y, a, fast, 20, 19, 0, 1, 1, 0);
    spawn_particles(x, y, a + 180, fast, 20, 19, 0, 1, 1, 0);
    spawn_particles(x, y, a, slow, 30, 29, 0, 1, 1, 0);
    spawn_particles(x, y, a + 180, slow, 30, 29, 0, 1, 1, 0);
}

// ---------------------------------------------------------------------------
// Drawing

int Submarine::headingFrame() const
{
    // A strip of 0 frames counts as one picture for every heading, more than
    // 360 as one per degree.
    int frames = pocet_snimku < 1 ? 1 : (pocet_snimku > 360 ? 360 : pocet_snimku);
    int step = 360 / frames;
    return truncate_to_int(uhel / (float)step);
}

void Submarine::drawHeading(SDL_Surface* surface)
{
    // Without a picture there is nothing to show but the ring.
    if (image == NULL || surface == NULL) return;
    int h = image->h;
    int k = headingFrame();
    long long source_x = (long long)k * h;
    // Headings beyond the strip show nothing.
    if (k < 0 || source_x > INT_MAX) return;
    draw_bitmap_part(image, (int)source_x, 0, h, h, surface, clamp_to_int((long long)x - h / 2),
                     clamp_to_int((long long)y - h / 2));
}

void Submarine::explode(SDL_Surface* surface)
{
    if (explosion_frame < INT_MAX) explosion_frame += 1;
    if (death_sound_played == 0) {
        play_sound(death_sound, CHANNEL_SUBMARINE, 0);
        death_sound_played = 1;
        if (settings.efekt01 == 1)
            for (int angle = 0; angle < 360; angle += 2) spawn_particles(x, y, angle, 1.0f, 50, 49, 0, 1, 1, 0);
    }
    // An empty slot of the table counts one frame: it is reported once and the
    // death ends on the next frame, so the level is lost as with a picture.
    // Only a number outside the table is reported on every frame and never
    // ends: the player leaves such a level with Escape.
    if (draw_explosion_frame(x, y, vybuch, explosion_frame, surface) == 2) {
        active = 0;
        explosion_frame = -1;
    }
}

void Submarine::draw(SDL_Surface* surface)
{
    drawRangeRing(surface);
    if (zivoty > 0)
        drawHeading(surface);
    else if (active == 1)
        explode(surface);
}

// The ring's fixed parts, worked out once with the same expressions the
// ring would use: the unit circle by degree, and the band's green for every
// phase + degree a frame can give (-359 ... 718).
struct RingTables {
    double cos_of[360];
    double sin_of[360];
    Uint8 green[1078];
};
static const int RING_GREEN_OFFSET = 359;

static RingTables make_ring_tables()
{
    RingTables tables;
    for (int i = 0; i < 360; i++) {
        tables.cos_of[i] = cos(i * DEG_TO_RAD);
        tables.sin_of[i] = sin(i * DEG_TO_RAD);
    }
    // The green is an 8-bit value: above 255 it wraps round to dark.
    for (int j = -RING_GREEN_OFFSET; j <= 718; j++)
        tables.green[j + RING_GREEN_OFFSET] = (Uint8)truncate_to_int(230 - 100 * sin(j * DEG_TO_RAD));
    return tables;
}

static const RingTables ring_tables = make_ring_tables();

// The 256 greens mapped into the surface's format, mapped again only when the
// format changes. Palette formats are mapped dot by dot (the palette may change).
struct RingColours {
    Uint8 bits;
    Uint32 rmask, gmask, bmask, amask;
    Uint32 colour[256];
};
static RingColours ring_colours = {0, 0, 0, 0, 0, {0}};

static const Uint32* greens_in(const SDL_PixelFormat* format)
{
    if (format->palette != NULL) return NULL;
    RingColours& cache = ring_colours;
    if (cache.bits != format->BitsPerPixel || cache.rmask != format->Rmask || cache.gmask != format->Gmask ||
        cache.bmask != format->Bmask || cache.amask != format->Amask) {
        for (int g = 0; g < 256; g++) cache.colour[g] = SDL_MapRGB((SDL_PixelFormat*)format, 0, (Uint8)g, 0);
        cache.bits = format->BitsPerPixel;
        cache.rmask = format->Rmask;
        cache.gmask = format->Gmask;
        cache.bmask = format->Bmask;
        cache.amask = format->Amask;
    }
    return cache.colour;
}

// One pixel inside the surface's clip rectangle; the surface is locked.
static void put_dot(SDL_Surface* surface, long long x, long long y, Uint32 colour)
{
    const SDL_Rect& clip = surface->clip_rect;
    if (x < clip.x || y < clip.y || x >= (long long)clip.x + clip.w || y >= (long long)clip.y + clip.h) return;
    Uint8* at = (Uint8*)surface->pixels + y * surface->pitch + x * surface->format->BytesPerPixel;
    switch (surface->format->BytesPerPixel) {
    case 1: *at = (Uint8)colour; break;
    case 2: *(Uint16*)at = (Uint16)colour; break;
    case 4: *(Uint32*)at = colour; break;
    default:
        for (int b = 0; b < 3; b++) {
            int shift = SDL_BYTEORDER == SDL_LIL_ENDIAN ? 8 * b : 16 - 8 * b;
            at[b] = (Uint8)(colour >> shift);
        }
        break;
    }
}

// 360 green dots through the reach of the selected weapon, with a band of
// brightness that travels round by one degree per frame.
void Submarine::drawRangeRing(SDL_Surface* surface)
{
    if (surface == NULL || surface->format == NULL) return;
    double reach = (double)weapon_at(weapon).dostrel + bonus_effects.dostrel;
    int phase = game.frame % 360;
    const Uint32* greens = greens_in(surface->format);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    for (int i = 0; i < 360; i++) {
        long long px = (long long)x + truncate_to_int(ring_tables.cos_of[i] * reach);
        long long py = (long long)y + truncate_to_int(ring_tables.sin_of[i] * reach * FLATTEN);
        Uint8 g = ring_tables.green[phase + i + RING_GREEN_OFFSET];
        Uint32 colour = greens != NULL ? greens[g] : SDL_MapRGB(surface->format, 0, g, 0);
        put_dot(surface, px, py, colour);
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

void Submarine::playCollisionSound()
{
    play_sound(collision_sound, CHANNEL_SUBMARINE, 0);
}

void reset_submarine()
{
    release_submarine(submarine);
    submarine = Submarine();
    orbit_speed = 0.0f;
    ring_colours = RingColours{0, 0, 0, 0, 0, {0}};
}
