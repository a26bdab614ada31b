#include "gun.h"

#include <math.h>

#include "bonus.h"
#include "game_state.h"
#include "geometry.h"
#include "settings.h"
#include "shots.h"
#include "sounds.h"
#include "submarine.h"
#include "weapons.h"

int GunHeat = 0;

// Holding the switch key steps to the next gun weapon this often.
static const int SWITCH_FRAMES = 24;

// Heat above this share of the limit sounds the warning.
static const double WARNING_SHARE = 0.8;

// The aim angle is worked out in radians with these constants.
static const float HALF_TURN = 3.1415927f;
static const double RADIANS_PER_DEGREE = 0.01745329;

static int next_weapon(int weapon, int count)
{
    weapon += 1;
    return weapon >= count ? 0 : weapon;
}

// Steps to the next weapon of the gun's own type; bombs and runners are never
// selected. A catalogue without a gun weapon keeps the weapon it has.
void gun_switch_weapon(Submarine& sub, int switch_key)
{
    if (!switch_key || (long long)sub.weapon_switch_frame + SWITCH_FRAMES > game.frame) return;
    int count = weapon_catalogue.count;
    int candidate = sub.weapon;
    for (int tries = 0; tries < count; tries++) {
        candidate = next_weapon(candidate, count);
        if (weapon_at(candidate).typ == 0) {
            sub.weapon = candidate;
            break;
        }
    }
    sub.weapon_switch_frame = game.frame;
}

// The direction from the submarine to the pointer in whole degrees, measured
// in the unflattened plane (so that a shot flattened at launch flies straight
// at the pointer): 0 right, 90 down, between -89 and 270.
static int aim_degrees(float dx, float dy)
{
    if (dx == 0) dx = 1e-19f;
    float theta = (float)atan(dy / dx);
    if (dx < 0) theta -= HALF_TURN;
    theta += HALF_TURN;
    return truncate_to_int(theta / RADIANS_PER_DEGREE);
}

// Measured from where the submarine stood before this frame's movement (so
// from where the last frame drew it); vertical offsets count 1 / 0.623 times
// on the flattened sea. Returns 1 when the distance is within reach.
static int measure_aim(const Submarine& sub, float* dx, float* dy, int* distance)
{
    const WeaponDef& w = weapon_at(sub.weapon);
    *dx = sub.exact_x - (float)game.mouse_x;
    *dy = (float)((sub.exact_y - game.mouse_y) / FLATTEN);
    *distance = truncate_to_int(sqrt(*dx * *dx + *dy * *dy));
    return *distance < (long long)w.dostrel + bonus_effects.dostrel;
}

int gun_fire_request(Submarine& sub, int fire, int* aim_angle)
{
    if (fire != 1) return 0;
    float dx, dy;
    int passed = measure_aim(sub, &dx, &dy, &sub.aim_distance);
    *aim_angle = aim_degrees(dx, dy);
    return passed;
}

int gun_pointer_within_reach(const Submarine& sub)
{
    float dx, dy;
    int distance;
    return measure_aim(sub, &dx, &dy, &distance);
}

static void heat_gun(int heat)
{
    long long hotter = (long long)GunHeat + heat;
    GunHeat = hotter > settings.max_teplota ? settings.max_teplota : clamp_to_int(hotter);
}

// A volley of shells at the aimed point, launched from where the submarine
// now is. Heat and delay are charged for every shell, fired or not; a volley
// has at most as many shells as the pool has slots.
void gun_volley(Submarine& sub, int aim_angle, int heat_flag)
{
    int weapon = sub.weapon;
    const WeaponDef& w = weapon_at(weapon);
    if (weapon >= 0 && weapon < WEAPON_CAPACITY && (sub.next_fire[weapon] <= game.frame || sub.next_fire[weapon] == 0)) {
        long long shells = (long long)w.pocet_strel_na_vystrel + bonus_effects.pocet_strel;
        if (shells > SHOT_CAPACITY) shells = SHOT_CAPACITY;
        int next_fire = clamp_to_int((long long)game.frame + w.prodleva + bonus_effects.prodleva);
        int slot = 0;
        for (long long i = 0; i < shells; i++) {
            slot = find_free_shot(slot);
            if (heat_flag == 1) heat_gun(w.zahrivani);
            sub.shot_param_a = -sub.aim_distance;
            sub.shot_param_b = 0;
            // The launch refuses when this shell has brought the gun to its limit.
            if (slot >= 0)
                shot_pool.slots[slot].launch(sub.x, sub.y, 0, aim_angle, weapon, sub.aim_distance, sub.shot_param_a,
                                             sub.shot_param_b, -1);
            else
                slot = SHOT_CAPACITY;  // the pool is full for the rest of the volley
            sub.next_fire[weapon] = next_fire;
        }
    }
    sub.aim_distance = 0;
}

void cool_gun(Mix_Chunk* warning)
{
    if (GunHeat > WARNING_SHARE * settings.max_teplota && settings.sound == 1 && Mix_Playing(CHANNEL_ANNOUNCE) == 0)
        play_sound(warning, CHANNEL_ANNOUNCE, 0);
    long long cooler = (long long)GunHeat - settings.chlazeni;
    GunHeat = cooler < 0 ? 0 : clamp_to_int(cooler);
}

void reset_gun()
{
    GunHeat = 0;
}
