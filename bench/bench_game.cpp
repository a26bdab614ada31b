// Speed of the game's hot paths. Run by hand from the build folder:
//   ./bench/abyssor_bench
// A frame is judged against the floor of this machine: the work no frame can
// avoid, done by the fastest means, that is the whole 640 x 480 x 16 screen
// copied by memcpy rows from a picture that is in no cache, and the flip
// (BM_Floor). A frame of the game finds its seabed picture and the screen
// out of the caches (the 25 ms between frames and the frame's own traffic
// push them out), so before every timed floor its picture and the screen,
// and before every timed frame the seabed pictures and the screen, are
// flushed from every cache level (untimed); the rest stays as the previous
// frame left it, as in play. (Writing 32 MB elsewhere instead left much of
// the floor's picture cached on these machines: a third faster than from
// memory.) Every frame benchmark times a floor before each of its frames,
// so that a busy machine weighs on both alike, and prints "x_floor", its
// frames' time over those floors', and "allocs_per_frame", the heap
// allocations made while the frames were played (the game allocates nothing
// per frame). Each benchmark runs 9 times: read the medians. Times are the
// processor time of the frame itself; filling the scene between frames is
// not counted.
#include <benchmark/benchmark.h>

#include <emmintrin.h>
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "bonus.h"
#include "creatures.h"
#include "game_loop.h"
#include "graphics_bank.h"
#include "gun.h"
#include "level.h"
#include "media.h"
#include "main.h"
#include "particles.h"
#include "scenes.h"
#include "planes.h"
#include "platform.h"
#include "scripted_input.h"
#include "random.h"
#include "script.h"
#include "settings.h"
#include "shots.h"
#include "submarine.h"
#include "video.h"

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

static const int REPETITIONS = 9;
static const int TIMED_FRAMES = 400;  // per repetition

// Pushes a picture's pixels out of every cache level.
static void flush_pixels(const SDL_Surface* surface)
{
    if (surface == NULL || surface->pixels == NULL) return;
    const char* pixels = (const char*)surface->pixels;
    size_t bytes = (size_t)surface->h * surface->pitch;
    for (size_t at = 0; at < bytes; at += 64) _mm_clflush(pixels + at);
    _mm_mfence();
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

// The floor once: the whole screen copied by memcpy rows from a picture in
// the screen's format that is not in the cache, and flipped.
static double time_floor()
{
    SDL_Surface* screen = game.screen;
    SDL_PixelFormat* f = screen->format;
    static SDL_Surface* picture = NULL;
    if (picture == NULL) {
        picture = SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, screen->h, f->BitsPerPixel, f->Rmask, f->Gmask,
                                       f->Bmask, f->Amask);
        SDL_FillRect(picture, NULL, SDL_MapRGB(f, 10, 60, 120));
    }
    const size_t row_bytes = (size_t)screen->w * f->BytesPerPixel;
    flush_pixels(picture);
    flush_pixels(screen);
    double start = thread_seconds();
    if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
    for (int y = 0; y < screen->h; y++)
        memcpy((Uint8*)screen->pixels + y * screen->pitch, (const Uint8*)picture->pixels + y * picture->pitch,
               row_bytes);
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    SDL_Flip(screen);
    return thread_seconds() - start;
}

struct Timing {
    double frames = 0;  // seconds
    double floors = 0;
};

// The frame's input: no Escape, and with firing the left button held still
// (the frame's last event its press).
static FrameInput scene_input(LevelRun& run, int firing)
{
    FrameInput frame_input = read_frame_input(run);
    frame_input.key_escape = 0;
    frame_input.quit = 0;
    if (firing) {
        frame_input.event_type = SDL_MOUSEBUTTONDOWN;
        frame_input.button = SDL_BUTTON_LEFT;
    }
    return frame_input;
}

// The frame's own time goes to the report, and a floor timed just before it
// to the ratio; filling the scene between frames does not count.
static void play_timed_frame(benchmark::State& state, LevelRun& run, int firing, Timing& timing)
{
    FrameInput frame_input = scene_input(run, firing);
    timing.floors += time_floor();
    for (const AnimStrip& seabed : bank.dno) flush_pixels(seabed.bitmap);
    flush_pixels(game.screen);
    double start = thread_seconds();
    counting = 1;
    play_frame(run, frame_input);
    counting = 0;
    double seconds = thread_seconds() - start;
    state.SetIterationTime(seconds);
    timing.frames += seconds;
    run.result = LEVEL_PLAYING;
}

// The first frames blit every picture for the first time: SDL then builds,
// once for each picture, the table that maps its colours onto the screen.
// They are played before anything is counted or timed.
static const int WARM_UP_FRAMES = 300;

static void play_untimed_frame(LevelRun& run, int firing)
{
    FrameInput frame_input = scene_input(run, firing);
    play_frame(run, frame_input);
    run.result = LEVEL_PLAYING;
}

static void report(benchmark::State& state, const Timing& timing, long long counted)
{
    if (timing.floors > 0) state.counters["x_floor"] = timing.frames / timing.floors;
    state.counters["allocs_per_frame"] = state.iterations() > 0 ? (double)counted / state.iterations() : 0;
    if (counted > 0) state.SkipWithError("the game allocated memory while playing frames");
}

// ---------------------------------------------------------------------------
// Scenes

static void set_level1_scene()
{
    keep_submarine_going();
    top_up_creatures(8);
    top_up_bonuses(3);
    int turn = game.frame % 12;
    game.mouse_x = submarine.x + (turn - 6) * 25;
    game.mouse_y = submarine.y + (turn % 3 - 1) * 60;
}

// A level in full swing: eight creatures, three bonuses, the left button
// held so that the gun fires as often as its weapon lets it at points round
// the submarine, the enemy bomber when it comes, the panel.
static void BM_FrameLevel1(benchmark::State& state)
{
    if (!open_game()) {
        state.SkipWithError("no run folder");
        return;
    }
    LevelRun run;
    begin_level(run);
    Timing timing;
    for (int i = 0; i < WARM_UP_FRAMES; i++) {
        set_level1_scene();
        play_untimed_frame(run, 1);
    }
    allocations = 0;
    for (auto _ : state) {
        set_level1_scene();
        play_timed_frame(state, run, 1, timing);
    }
    report(state, timing, allocations);
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
    Timing timing;
    for (int i = 0; i < WARM_UP_FRAMES; i++) {
        fill_every_pool();
        play_untimed_frame(run, 0);
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
        play_timed_frame(state, run, 0, timing);
    }
    double n = state.iterations() > 0 ? (double)state.iterations() : 1;
    state.counters["shots"] = sum_shots / n;
    state.counters["sparks"] = sum_sparks / n;
    state.counters["creatures"] = sum_creatures / n;
    state.counters["planes"] = sum_planes / n;
    state.counters["bonuses"] = sum_bonuses / n;
    state.counters["full_pools"] = state.iterations() > 0 ? (double)full / state.iterations() : 0;
    report(state, timing, allocations);
}

// The floor alone.
static void BM_Floor(benchmark::State& state)
{
    if (!open_game()) {
        state.SkipWithError("no run folder");
        return;
    }
    for (auto _ : state) state.SetIterationTime(time_floor());
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

// Showing a frame in a window scaled by 2, 3 or 4: the seabed on the game's
// screen, copied into the window in 32 bits, as on a desktop, at one flip.
// Last, as it sets a video mode of its own under the level loaded.
static void BM_ScaledFlip(benchmark::State& state)
{
    if (!open_game()) {
        state.SkipWithError("no run folder");
        return;
    }
    game.screen = video_open(0, (int)state.range(0));
    if (game.screen == NULL || video.window == NULL || bank.dno[0].bitmap == NULL) {
        state.SkipWithError("no scaled window or no seabed");
        return;
    }
    state.counters["window_bits"] = video.window->format->BitsPerPixel;
    Timing timing;
    allocations = 0;
    for (auto _ : state) {
        draw_bitmap(bank.dno[0].bitmap, game.screen, 0, 0);
        timing.floors += time_floor();
        flush_pixels(game.screen);
        flush_pixels(video.window);
        double start = thread_seconds();
        counting = 1;
        video_flip(game.screen);
        counting = 0;
        double seconds = thread_seconds() - start;
        state.SetIterationTime(seconds);
        timing.frames += seconds;
    }
    report(state, timing, allocations);
}

// A fixed number of frames: the flushing between them takes longer than
// the frames themselves.
BENCHMARK(BM_Floor)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(TIMED_FRAMES)
    ->Repetitions(REPETITIONS)->DisplayAggregatesOnly(true);
BENCHMARK(BM_FrameLevel1)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(TIMED_FRAMES)
    ->Repetitions(REPETITIONS)->DisplayAggregatesOnly(true);
BENCHMARK(BM_FrameWorstCase)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(TIMED_FRAMES)
    ->Repetitions(REPETITIONS)->DisplayAggregatesOnly(true);
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadScriptWords);
BENCHMARK(BM_ScaledFlip)->Arg(2)->Arg(3)->Arg(4)->UseManualTime()->Unit(benchmark::kMicrosecond)
    ->Iterations(TIMED_FRAMES)->Repetitions(REPETITIONS)->DisplayAggregatesOnly(true);

BENCHMARK_MAIN();
