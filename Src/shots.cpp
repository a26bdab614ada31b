#include "shots.h"

#include <limits.h>
#include <math.h>

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "geometry.h"
#include "graphics_bank.h"
#include "gun.h"
#include "media.h"
#include "particles.h"
#include "random.h"
#include "settings.h"
#include "sounds.h"
#include "submarine.h"
#include "weapons.h"

// A splash frame no strip reaches (strips hold at most 255 frames): the
// splash of a slot that holds it counts as over in every level.
static const int SPLASH_OVER = 256;

static void clear_slot(Shot& shot)
{
    shot.active = 0;
    shot.outcome = 0;
    shot.splash_frame = SPLASH_OVER;
    shot.splash_sound_done = 1;
}

static ShotPool fresh_pool()
{
    ShotPool pool = ShotPool();
    for (Shot& shot : pool.slots) clear_slot(shot);
    return pool;
}

ShotPool shot_pool = fresh_pool();

// A shell that has landed keeps its slot until the frame's hit resolution
// has dealt its damage: the gun fires between the two, and a volley that
// took the slot would wipe the landing out.
int find_free_shot(int from)
{
    for (int i = from < 0 ? 0 : from; i < SHOT_CAPACITY; i++)
        if (shot_pool.slots[i].active == 0 && shot_pool.slots[i].outcome == 0) return i;
    return -1;
}

void empty_shot_pool()
{
    for (Shot& shot : shot_pool.slots) clear_slot(shot);
}

void reset_shots()
{
    shot_pool = fresh_pool();
}

// ---------------------------------------------------------------------------
// Launch and flight

// The launch angle's random offset: -R ... R - 1 degrees for a spread R.
static long long spread_offset(long long spread)
{
    if (spread == 0) return 0;
    return random_value() % (2 * spread) - spread;
}

// One wrap each way brings the angles of real shooters into 0 ... 359.
static int wrap_launch_angle(long long angle)
{
    if (angle >= 360) angle -= 360;
    if (angle < 0) angle += 360;
    return clamp_to_int(angle);
}

int Shot::launch(int x, int y, int height, int angle, int weapon, int arc_divisor, int arc_linear,
                 int arc_constant, int owner)
{
    // A gun at its heat limit refuses every launch, whoever shoots.
    if (GunHeat >= settings.max_teplota) return 0;
    const WeaponDef& w = weapon_at(weapon);
    long long offset = spread_offset((long long)w.rozptyl + bonus_effects.rozptyl);
    this->weapon = weapon;
    this->arc_divisor = arc_divisor;
    max_speed = clamp_to_int((long long)w.maximalni_rychlost + bonus_effects.rychlost);
    this->angle = wrap_launch_angle(angle + offset);
    start_x = this->x = x;
    start_y = this->y = y;
    this->height = clamp_to_int(-(long long)height);
    exact_x = (float)x;
    exact_y = (float)y;
    // The launch velocity leaves at the angle turned by uhel_vystreleni; the
    // acceleration pulls along the plain angle.
    double turned = ((long long)this->angle + w.uhel_vystreleni) * DEG_TO_RAD;
    double plain = this->angle * DEG_TO_RAD;
    vx = (float)(cos(turned) * w.rychlost_vystreleni);
    vy = (float)(sin(turned) * (w.rychlost_vystreleni * FLATTEN));
    ax = (float)(cos(plain) * w.zrychleni);
    ay = (float)(sin(plain) * (w.zrychleni * FLATTEN));
    active = 1;
    this->arc_linear = arc_linear;
    this->arc_constant = arc_constant;
    splash_frame = -1;
    updateHeight();
    outcome = 0;
    hit_creature = 0;
    this->owner = owner;
    splash_sound_done = 0;
    play_sound(w.fire_sound, CHANNEL_SHOT, 0);
    return 1;
}

// Shells climb and fall on a parabola over the covered distance, undoing
// the flattening of the scene; bombs sink; runners stay on the surface.
void Shot::updateHeight()
{
    const WeaponDef& w = weapon_at(weapon);
    if (w.typ == 0) {
        double dx = (double)x - start_x;
        double dy = (double)y - start_y;
        distance = truncate_to_int(sqrt(dx * dx + dy * dy / FLATTEN_SQUARED));
        if (arc_divisor == 0) {
            height = 0;
            return;
        }
        long long d = distance;
        long long curve = d * d + (long long)arc_linear * d + arc_constant;
        height = clamp_to_int(curve / arc_divisor);
    } else if (w.typ == 1) {
        long long sunk = (long long)height + w.klesani;
        height = sunk > 0 ? 0 : clamp_to_int(sunk);
    }
}

static int screen_width()
{
    return game.screen != NULL ? game.screen->w : SCREEN_WIDTH;
}

static int screen_height()
{
    return game.screen != NULL ? game.screen->h : SCREEN_HEIGHT;
}

// A runner leaves foam on both sides, near and far.
static void spawn_runner_wake(int x, int y, int angle)
{
    long long a = angle;
    spawn_particles(x, y, clamp_to_int(a - 90), 0.5f, 10, 9, 0, 1, 1, 0);
    spawn_particles(x, y, clamp_to_int(a + 90), 0.5f, 10, 9, 0, 1, 1, 0);
    spawn_particles(x, y, clamp_to_int(a + 90), 0.15f, 30, 29, 0, 1, 1, 0);
    spawn_particles(x, y, clamp_to_int(a - 90), 0.15f, 30, 29, 0, 1, 1, 0);
}

// A ring of foam where a shot comes down. More fans than the particle pool
// holds would add nothing, so a ring has at most that many.
static void throw_ring(int x, int y, const WeaponDef& w)
{
    if (w.pocet_castic_vlny < 1) return;
    int fans = w.pocet_castic_vlny < PARTICLE_CAPACITY ? w.pocet_castic_vlny : PARTICLE_CAPACITY;
    int step = 360 / w.pocet_castic_vlny;
    int min_life = clamp_to_int((long long)w.dosah_vlny - 1);
    for (int i = 0; i < fans; i++) spawn_particles(x, y, i * step, 1.0f, w.dosah_vlny, min_life, 0, 1, 1, 0);
}

void Shot::move()
{
    const WeaponDef& w = weapon_at(weapon);
    if (active == 1) {
        vx += ax;
        vy += ay;
        limit_speed(vx, vy, max_speed);
        // Only bombs feel the air.
        if (w.typ == 1) {
            vx *= settings.odpor_vzduchu;
            vy *= settings.odpor_vzduchu;
        }
        exact_x += vx;
        exact_y += vy;
        x = truncate_to_int(exact_x);
        y = truncate_to_int(exact_y);
        if (x < 0 || x > screen_width() || y < 0 || y > screen_height()) {
            active = 0;
            outcome = 0;
        }
    }
    // A shell lands once it has covered the aimed distance (as measured
    // before this step); a bomb when it reaches the water.
    long long reach = arc_linear < 0 ? -(long long)arc_linear : arc_linear;
    if (active == 1 && w.typ == 0 && distance >= reach) {
        active = 0;
        outcome = 1;
    }
    if (active == 1 && w.typ == 1 && height == 0) {
        active = 0;
        outcome = 1;
    }
    if (splash_frame == -1 && active == 1) updateHeight();
    if (active == 1 && w.typ == 2) {
        outcome = 2;
        height = 0;
        spawn_runner_wake(x, y, angle);
    }
    if (outcome == 1 && w.typ != 2 && settings.efekt02 == 1) throw_ring(x, y, w);
}

// ---------------------------------------------------------------------------
// Hits

// Plain screen distance, truncated.
static long long hit_distance(const Shot& shot, int x, int y)
{
    double dx = (double)shot.x - x;
    double dy = (double)shot.y - y;
    return (long long)sqrt(dx * dx + dy * dy);
}

static int half_height(const SDL_Surface* bitmap)
{
    return bitmap != NULL ? bitmap->h / 2 : 0;
}

static void hit_submarine(Shot& shot, const WeaponDef& w, long long radius, Submarine& sub)
{
    // The gun's own shells never hurt the submarine.
    if (w.typ == 0 || sub.active != 1 || sub.explosion_frame != -1) return;
    if (hit_distance(shot, sub.x, sub.y) > half_height(sub.image) + radius) return;
    play_sound(w.hit_sound, CHANNEL_HIT, 0);
    sub.zivoty = clamp_to_int((long long)sub.zivoty - w.poskozeni);
    shot.active = 0;
}

// The hit creature loses life and slows down in proportion to the life it
// has left; at the end of its life it starts to die and scores.
static void wound_creature(Creature& creature, const CreatureType& kind, const WeaponDef& w)
{
    creature.zivoty = clamp_to_int((long long)creature.zivoty - w.poskozeni);
    // A kind without life (no script should have one) stops at the first hit.
    float left = kind.zivoty != 0 ? (float)creature.zivoty / (float)kind.zivoty : 0.0f;
    creature.vx *= left;
    creature.vy *= left;
    play_sound(w.hit_sound, CHANNEL_HIT, 0);
    if (creature.zivoty <= 0) {
        creature.dyingStep();
        if (creature.bonus != -1) drop_bonus(creature.x, creature.y, creature.bonus);
        game.score = clamp_to_int((long long)game.score + kind.skore);
    }
}

static void hit_creatures(Shot& shot, const WeaponDef& w, long long radius)
{
    for (Creature& creature : creatures) {
        if (creature.active != 1 || creature.depth < 0 || creature.explosion_frame != -1) continue;
        // A creature never hits itself.
        if (creature.id == shot.owner) continue;
        if (creature.type < 0 || creature.type >= CREATURE_TYPE_CAPACITY) continue;
        const CreatureType& kind = creature_types[creature.type];
        if (hit_distance(shot, creature.x, creature.y) > half_height(kind.bitmap) + radius) continue;
        wound_creature(creature, kind, w);
        shot.active = 0;
        shot.hit_creature = 1;
    }
}

// One ended shot is tested against the submarine, the bonuses and every
// creature; none of the tests stops the others.
void resolve_hits(Submarine& sub)
{
    for (Shot& shot : shot_pool.slots) {
        if (!((shot.active == 0 && shot.outcome == 1) || shot.outcome == 2)) continue;
        shot.outcome = 0;
        const WeaponDef& w = weapon_at(shot.weapon);
        long long radius = (long long)half_height(w.strela) + w.tolerance;
        hit_submarine(shot, w, radius, sub);
        collect_bonuses(shot.x, shot.y, shot.weapon);
        hit_creatures(shot, w, radius);
    }
}

// ---------------------------------------------------------------------------
// Drawing

// Draws square frame k of a direction strip centred on (x, y + lift).
static void draw_direction_frame(SDL_Surface* strip, int k, int x, int y, int lift, SDL_Surface* surface)
{
    if (strip == NULL || k < 0) return;
    int size = strip->h;
    long long source_x = (long long)k * size;
    // Angles beyond the strip (frame counts that do not divide 360) show nothing.
    if (source_x >= strip->w) return;
    draw_bitmap_part(strip, (int)source_x, 0, size, size, surface, clamp_to_int((long long)x - size / 2),
                     clamp_to_int((long long)y - size / 2 + lift));
}

void Shot::draw(SDL_Surface* surface)
{
    const WeaponDef& w = weapon_at(weapon);
    if (active == 1) {
        // A frame count outside 1 ... 360 counts as one picture for every
        // angle, or as one per degree.
        int frames = w.pocet_snimku < 1 ? 1 : (w.pocet_snimku > 360 ? 360 : w.pocet_snimku);
        int k = angle / (360 / frames);
        // The shadow stays on the water, the shot flies above it.
        draw_direction_frame(w.stin, k, x, y, 0, surface);
        draw_direction_frame(w.strela, k, x, y, height, surface);
    } else if (hit_creature == 0 || w.typ == 1) {
        drawSplash(surface);
    }
}

int Shot::idle() const
{
    return active == 0 && outcome == 0 && splash_frame >= SPLASH_OVER && splash_sound_done == 1;
}

int Shot::drawSplash(SDL_Surface* surface)
{
    const WeaponDef& w = weapon_at(weapon);
    // A splash number outside the table shows nothing; the water is still heard.
    static const AnimStrip no_splash = {NULL, 1, 1};
    const AnimStrip& z = w.zblunk >= 0 && w.zblunk < ZBLUNK_CAPACITY ? bank.zblunk[w.zblunk] : no_splash;
    // A period of 0 steps the splash every frame.
    int period = z.period > 0 ? z.period : 1;
    if (game.frame % period == 0 && splash_frame < SPLASH_OVER) splash_frame += 1;
    if (splash_sound_done == 0) {
        play_sound(w.water_sound, CHANNEL_SHOT, 0);
        splash_sound_done = 1;
    }
    // A strip of no frames has nothing to show.
    if (splash_frame >= z.frames || z.frames == 0) return 1;
    if (z.bitmap == NULL || splash_frame < 0) return 0;
    int width = z.bitmap->w / z.frames;
    int height = z.bitmap->h;
    // The splash stands on the ground point and reaches half its width below it.
    draw_bitmap_part(z.bitmap, splash_frame * width, 0, width, height, surface,
                     clamp_to_int((long long)x - width / 2), clamp_to_int((long long)y - (height - width / 2)));
    return 0;
}
