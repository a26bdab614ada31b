// Scenes the frame measurements play (scenes.h).
#include "scenes.h"

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "gun.h"
#include "particles.h"
#include "planes.h"
#include "random.h"
#include "shots.h"
#include "submarine.h"

void keep_submarine_going()
{
    submarine.zivoty = submarine.max_zivoty > 0 ? submarine.max_zivoty : 1;
    submarine.active = 1;
    submarine.explosion_frame = -1;
    GunHeat = 0;
    // Every kind keeps coming, however many have been shot.
    for (CreatureType& kind : creature_types) kind.finished = 0;
}

int live_creatures()
{
    int live = 0;
    for (const Creature& creature : creatures) live += creature.active != 0;
    return live;
}

int live_bonuses()
{
    int live = 0;
    for (const Bonus& bonus : bonuses) live += bonus.active == 1;
    return live;
}

void top_up_creatures(int wanted)
{
    if (creature_type_last < 0) return;
    for (int t = 0; live_creatures() < wanted && t < CREATURE_CAPACITY; t++)
        spawn_creature_of_type(submarine.stred_x, submarine.stred_y, t % (creature_type_last + 1));
}

void top_up_bonuses(int wanted)
{
    for (int i = 0; live_bonuses() < wanted && i < BONUS_SLOTS; i++)
        drop_bonus(80 + 70 * i, 60 + 50 * i, i % 3);
}

void fill_every_pool()
{
    keep_submarine_going();
    top_up_creatures(CREATURE_CAPACITY);
    top_up_bonuses(BONUS_SLOTS);
    for (int i = 0; i < SHOT_CAPACITY; i++) {
        Shot& shot = shot_pool.slots[i];
        if (shot.active == 1) continue;
        GunHeat = 0;
        shot.launch(submarine.x, submarine.y, 0, (i * 7) % 360, submarine.weapon, 1, 250 + i % 100, 0, -1);
    }
    if (!planes[ENEMY_PLANE_SLOT].active)
        planes[ENEMY_PLANE_SLOT].launch(submarine.x, submarine.y, random_value() % 8, 0, game.screen);
    if (!planes[SUPPORT_PLANE_SLOT].active)
        planes[SUPPORT_PLANE_SLOT].launch(320, 240, random_value() % 8, 1, game.screen);
    // Slow, long-lived sparks everywhere on the screen.
    for (int i = 0; i < PARTICLE_CAPACITY; i++) {
        if (particles[i].active) continue;
        spawn_particles(20 + (i * 37) % 600, 20 + (i * 53) % 440, i % 360, 0.05f, 2000, 1000, i % 2, 0, 1, 0);
    }
}
