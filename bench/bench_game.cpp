// Speed of the game's hot paths. Run by hand from the build folder:
//   ./bench/abyssor_bench
// A frame is judged against the floor of this machine (BM_Floor, which runs
// first): the work no frame can avoid, done by the fastest means, that is
// the whole 640 x 480 x 16 screen copied by memcpy rows from a picture that
// is not in the cache, and the flip. Between two timed iterations, floor and
// frames alike, 32 MB are written elsewhere (untimed), as the 25 ms between
// two frames of the game push the seabed and the pools out of the caches.
// Each benchmark runs 9 times; every frame benchmark prints "x_floor", its
// time over the median floor of the same run, and "allocs_per_frame", the
// heap allocations made while the frames were played (the game allocates
// nothing per frame). Read the medians. Times are the processor time of the
// frame itself; filling the scene between frames is not counted.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "gun.h"
#include "level.h"
#include "media.h"
#include "main.h"
#include "particles.h"
#include "planes.h"
#include "platform.h"
#include "random.h"
#include "script.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"

// ---------------------------------------------------------------------------
// Counting allocator: every malloc family call of the process passes here.

extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);
extern "C" void* __libc_memalign(size_t alignment, size_t size);

static volatile int counting = 0;
static long long allocations = 0;

extern "C" void* malloc(size_t size)
{
    if (counting) allocations++;
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size)
{
    if (counting) allocations++;
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* pointer, size_t size)
{
    if (counting) allocations++;
    return __libc_realloc(pointer, size);
}

extern "C" void* memalign(size_t alignment, size_t size)
{
    if (counting) allocations++;
    return __libc_memalign(alignment, size);
}

// ---------------------------------------------------------------------------
// The first level of the data set, loaded once on the dummy screen.

static ScriptedInput input;
static std::vector<double> floor_repetitions;  // the floor's mean time of each repetition
static double floor_seconds = 0;                // their median

static const int REPETITIONS = 9;
static const int TIMED_FRAMES = 400;  // per repetition

// Writes 32 MB, more than the caches hold, so that the next iteration finds
// nothing of its own in them.
static void evict_caches()
{
    static const size_t SIZE = 32u << 20;
    static unsigned char* buffer = (unsigned char*)malloc(SIZE);
    static unsigned char fill = 0;
    if (buffer == NULL) return;
    memset(buffer, ++fill, SIZE);
    benchmark::DoNotOptimize(buffer);
}

static void no_progress(int) {}

static bool open_game()
{
    static bool ready = false;
    if (ready) return true;
    keep_released_picture_memory();  // as the game does at start
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(ABYSSOR_RUN_DIR) != 0) return false;
    scripted_reset(input);
    platform_use_scripted(&input);
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE);
    game.screen = SDL_SetVideoMode(640, 480, 16, 0);
    load_settings("SCRIPT/misc.scr");
    settings.sound = 0;
    load_level_catalogue("SCRIPT/levels.scr");
    game.level_index = 0;
    load_level_showing(no_progress);
    ready = game.screen != NULL;
    return ready;
}

// Time is the processor time of this thread, so that other work on a busy
// machine does not count; the game and the dummy drivers run on this thread.
static double thread_seconds()
{
    struct timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (double)now.tv_sec + now.tv_nsec * 1e-9;
}

// The frame's own time goes to the report; filling the scene between frames
// does not.
static void play_timed_frame(benchmark::State& state, LevelRun& run, double& total)
{
    FrameInput frame_input = read_frame_input(run);
    frame_input.key_escape = 0;
    frame_input.quit = 0;
    evict_caches();
    double start = thread_seconds();
    counting = 1;
    play_frame(run, frame_input);
    counting = 0;
    double seconds = thread_seconds() - start;
    state.SetIterationTime(seconds);
    total += seconds;
    run.result = LEVEL_PLAYING;
}

// The first frames blit every picture for the first time: SDL then builds,
// once for each picture, the table that maps its colours onto the screen.
// They are played before anything is counted or timed.
static const int WARM_UP_FRAMES = 300;

static void play_untimed_frame(LevelRun& run)
{
    FrameInput frame_input = read_frame_input(run);
    frame_input.key_escape = 0;
    frame_input.quit = 0;
    play_frame(run, frame_input);
    run.result = LEVEL_PLAYING;
}

static void report(benchmark::State& state, double total, long long counted)
{
    double per_frame = state.iterations() > 0 ? total / state.iterations() : 0;
    if (floor_seconds > 0) state.counters["x_floor"] = per_frame / floor_seconds;
    state.counters["allocs_per_frame"] = state.iterations() > 0 ? (double)counted / state.iterations() : 0;
    if (counted > 0) state.SkipWithError("the game allocated memory while playing frames");
}

// ---------------------------------------------------------------------------
// Scenes

// The submarine neither dies nor overheats and the creatures never run out,
// so the scene stays as built.
static void keep_submarine_going()
{
    submarine.zivoty = submarine.max_zivoty > 0 ? submarine.max_zivoty : 1;
    submarine.active = 1;
    submarine.explosion_frame = -1;
    GunHeat = 0;
    // Every kind keeps coming, however many have been shot.
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

static void top_up_creatures(int wanted)
{
    if (creature_type_last < 0) return;
    for (int t = 0; live_creatures() < wanted && t < CREATURE_CAPACITY; t++)
        spawn_creature_of_type(submarine.stred_x, submarine.stred_y, t % (creature_type_last + 1));
}

static void top_up_bonuses(int wanted)
{
    for (int i = 0; live_bonuses() < wanted && i < BONUS_SLOTS; i++)
        drop_bonus(80 + 70 * i, 60 + 50 * i, i % 3);
}

static void set_level1_scene(LevelRun& run)
{
    keep_submarine_going();
    top_up_creatures(8);
    top_up_bonuses(3);
    int turn = game.frame % 12;
    game.mouse_x = submarine.x + (turn - 6) * 25;
    game.mouse_y = submarine.y + (turn % 3 - 1) * 60;
    run.fire_click = 1;
}

// A level in full swing: eight creatures, three bonuses, the gun firing
// every frame at points round the submarine, the enemy bomber when it comes,
// the panel.
static void BM_FrameLevel1(benchmark::State& state)
{
    if (!open_game()) {
        state.SkipWithError("no run folder");
        return;
    }
    LevelRun run;
    begin_level(run);
    double total = 0;
    for (int i = 0; i < WARM_UP_FRAMES; i++) {
        set_level1_scene(run);
        play_untimed_frame(run);
    }
    allocations = 0;
    for (auto _ : state) {
        set_level1_scene(run);
        play_timed_frame(state, run, total);
    }
    report(state, total, allocations);
}

// Every pool full: 499 shots, 5000 particles, 100 creatures, the enemy plane
// and the support plane, 7 bonuses.
static void fill_every_pool()
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

static void BM_FrameWorstCase(benchmark::State& state)
{
    if (!open_game()) {
        state.SkipWithError("no run folder");
        return;
    }
    LevelRun run;
    begin_level(run);
    reset_particles();
    double total = 0;
    for (int i = 0; i < WARM_UP_FRAMES; i++) {
        fill_every_pool();
        play_untimed_frame(run);
    }
    allocations = 0;
    long long full = 0;
    double sum_shots = 0, sum_sparks = 0, sum_creatures = 0, sum_planes = 0, sum_bonuses = 0;
    for (auto _ : state) {
        fill_every_pool();
        int shots = 0, sparks = 0;
        for (const Shot& shot : shot_pool.slots) shots += shot.active == 1;
        for (const Particle& particle : particles) sparks += particle.active == 1;
        sum_shots += shots;
        sum_sparks += sparks;
        sum_creatures += live_creatures();
        sum_planes += planes[ENEMY_PLANE_SLOT].active + planes[SUPPORT_PLANE_SLOT].active;
        sum_bonuses += live_bonuses();
        full += shots == SHOT_CAPACITY && sparks == PARTICLE_CAPACITY && live_creatures() == CREATURE_CAPACITY &&
                planes[ENEMY_PLANE_SLOT].active && planes[SUPPORT_PLANE_SLOT].active &&
                live_bonuses() == BONUS_SLOTS;
        play_timed_frame(state, run, total);
    }
    double n = state.iterations() > 0 ? (double)state.iterations() : 1;
    state.counters["shots"] = sum_shots / n;
    state.counters["sparks"] = sum_sparks / n;
    state.counters["creatures"] = sum_creatures / n;
    state.counters["planes"] = sum_planes / n;
    state.counters["bonuses"] = sum_bonuses / n;
    state.counters["full_pools"] = state.iterations() > 0 ? (double)full / state.iterations() : 0;
    report(state, total, allocations);
}

// The floor: the whole screen copied by memcpy rows from a picture in the
// screen's format that is not in the cache, and flipped.
static void BM_Floor(benchmark::State& state)
{
    if (!open_game()) {
        state.SkipWithError("no run folder");
        return;
    }
    SDL_Surface* screen = game.screen;
    SDL_PixelFormat* f = screen->format;
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, screen->h, f->BitsPerPixel, f->Rmask,
                                                f->Gmask, f->Bmask, f->Amask);
    SDL_FillRect(picture, NULL, SDL_MapRGB(f, 10, 60, 120));
    const size_t row_bytes = (size_t)screen->w * f->BytesPerPixel;
    double total = 0;
    for (auto _ : state) {
        evict_caches();
        double start = thread_seconds();
        if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
        for (int y = 0; y < screen->h; y++)
            memcpy((Uint8*)screen->pixels + y * screen->pitch, (const Uint8*)picture->pixels + y * picture->pitch,
                   row_bytes);
        if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
        SDL_Flip(screen);
        double seconds = thread_seconds() - start;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    SDL_FreeSurface(picture);
    if (state.iterations() > 0) floor_repetitions.push_back(total / state.iterations());
    std::vector<double> sorted = floor_repetitions;
    std::sort(sorted.begin(), sorted.end());
    floor_seconds = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    state.counters["x_floor"] = 1.0;
}

// Loading a level's seven scripts and their pictures, and releasing them
// (the pause the game holds after loading is not counted).
static void BM_LoadLevel(benchmark::State& state)
{
    if (!open_game()) {
        state.SkipWithError("no run folder");
        return;
    }
    for (auto _ : state) {
        free_level();
        load_level_showing(no_progress);
    }
}

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

// A fixed number of frames: the eviction between them takes far longer than
// the frames themselves.
BENCHMARK(BM_Floor)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(TIMED_FRAMES)
    ->Repetitions(REPETITIONS)->DisplayAggregatesOnly(true);
BENCHMARK(BM_FrameLevel1)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(TIMED_FRAMES)
    ->Repetitions(REPETITIONS)->DisplayAggregatesOnly(true);
BENCHMARK(BM_FrameWorstCase)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(TIMED_FRAMES)
    ->Repetitions(REPETITIONS)->DisplayAggregatesOnly(true);
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadScriptWords);

BENCHMARK_MAIN();
