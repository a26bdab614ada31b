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
#include "scenes.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"

// The first frames blit every picture for the first time.
static const int WARM_UP_FRAMES = 300;
static const int TIMED_FRAMES = 400;

static void no_progress(int) {}

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
