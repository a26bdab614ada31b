// The worst frame the browser plays, for web/measure.cjs (not part of the
// site): the first level with every pool full (499 shots, 5000 particles,
// 100 creatures, the bomber and the support plane, 7 bonuses), frame after
// frame through the browser's SDL with its sleeps, as BM_FrameWorstCase plays
// it on the desktop. The page hears when the timed frames begin and end
// (onTimedFrames), and the filling of the pools between frames is left out
// of the program's time (onFillStart, onFillEnd), as the benchmark leaves it
// out of the frame's.
#include <emscripten.h>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "game_state.h"
#include "gun.h"
#include "level.h"
#include "media.h"
#include "particles.h"
#include "planes.h"
#include "random.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"

// The first frames blit every picture for the first time.
static const int WARM_UP_FRAMES = 300;
static const int TIMED_FRAMES = 400;

static void no_progress(int) {}

// The submarine neither dies nor overheats and the creatures never run out.
static void keep_submarine_going()
{
    submarine.zivoty = submarine.max_zivoty > 0 ? submarine.max_zivoty : 1;
    submarine.active = 1;
    submarine.explosion_frame = -1;
    GunHeat = 0;
    for (CreatureType& kind : creature_types) kind.finished = 0;
}

static int live_creatures()
{
    int live = 0;
    for (const Creature& creature : creatures) live += creature.active != 0;
    return live;
}

static int live_bonuses()
{
    int live = 0;
    for (const Bonus& bonus : bonuses) live += bonus.active == 1;
    return live;
}

static void fill_every_pool()
{
    keep_submarine_going();
    if (creature_type_last >= 0)
        for (int t = 0; live_creatures() < CREATURE_CAPACITY && t < CREATURE_CAPACITY; t++)
            spawn_creature_of_type(submarine.stred_x, submarine.stred_y, t % (creature_type_last + 1));
    for (int i = 0; live_bonuses() < BONUS_SLOTS && i < BONUS_SLOTS; i++) drop_bonus(80 + 70 * i, 60 + 50 * i, i % 3);
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
    for (int i = 0; i < PARTICLE_CAPACITY; i++) {
        if (particles[i].active) continue;
        spawn_particles(20 + (i * 37) % 600, 20 + (i * 53) % 440, i % 360, 0.05f, 2000, 1000, i % 2, 0, 1, 0);
    }
}

int main()
{
    keep_released_picture_memory();
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE);
    game.screen = SDL_SetVideoMode(640, 480, 16, 0);
    load_settings("SCRIPT/misc.scr");
    settings.sound = 0;
    load_level_catalogue("SCRIPT/levels.scr");
    game.level_index = 0;
    load_level_showing(no_progress);
    if (game.screen == NULL) return 1;
    LevelRun run;
    begin_level(run);
    reset_particles();
    for (int i = 0; i < WARM_UP_FRAMES + TIMED_FRAMES; i++) {
        if (i == WARM_UP_FRAMES) EM_ASM(Module['abyssor']['onTimedFrames'](true));
        EM_ASM(Module['abyssor']['onFillStart']());
        fill_every_pool();
        FrameInput input = read_frame_input(run);
        input.key_escape = 0;
        input.quit = 0;
        EM_ASM(Module['abyssor']['onFillEnd']());
        play_frame(run, input);
        run.result = LEVEL_PLAYING;
    }
    EM_ASM(Module['abyssor']['onTimedFrames'](false));
    SDL_Quit();
    return 0;
}
