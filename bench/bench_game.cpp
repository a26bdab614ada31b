// Speed of the game's hot paths. Run by hand from the build folder:
//   ./bench/abyssor_bench
// A frame must stay well inside its 25 ms budget; script reading is done at
// level loading and should be negligible.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "game_loop.h"
#include "level.h"
#include "main.h"
#include "platform.h"
#include "script.h"
#include "settings.h"

static void BM_ReadScriptWords(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < 2000; i++) text += "pocet_snimku 8 rychlost 1.5 bitmap GFX/LEVEL1/sub.bmp\n";
    char word[SCRIPT_WORD_SIZE];
    for (auto _ : state) {
        ScriptReader reader;
        script_open_memory(reader, text.data(), text.size());
        int words = 0;
        while (script_word(reader, word, sizeof word) != SCRIPT_EOF) words++;
        script_close(reader);
        benchmark::DoNotOptimize(words);
    }
}
BENCHMARK(BM_ReadScriptWords);

// One whole frame of the first level of the data set, drawn on the dummy
// screen, with the clock scripted so that pacing costs nothing.
static void BM_PlayFrameOfFirstLevel(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(ABYSSOR_RUN_DIR) != 0) {
        state.SkipWithError("no run folder");
        return;
    }
    static ScriptedInput input;
    scripted_reset(input);
    platform_use_scripted(&input);
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE);
    game.screen = SDL_SetVideoMode(640, 480, 16, 0);
    load_settings("SCRIPT/misc.scr");
    settings.sound = 0;
    load_level_catalogue("SCRIPT/levels.scr");
    game.level_index = 0;
    load_level();
    LevelRun run;
    begin_level(run);
    for (auto _ : state) {
        FrameInput frame_input = read_frame_input(run);
        frame_input.key_escape = 0;
        play_frame(run, frame_input);
        run.result = LEVEL_PLAYING;
    }
    free_level();
    platform_use_scripted(NULL);
    SDL_Quit();
}
BENCHMARK(BM_PlayFrameOfFirstLevel)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
