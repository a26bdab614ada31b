/* Loaded into the desktop game (LD_PRELOAD) for the comparison with the
 * browser build. At every screen update it writes the flip's number and a
 * hash of the 16-bit screen, then hands the game the input that a script
 * schedules after that flip; the browser test does the same from the page.
 * The clock is virtual: delays of the game's own thread take no time, so the
 * run depends on the script alone and takes seconds.
 *
 *   ABYSSOR_INPUT   the input script: lines "<flip> <what> <numbers...>"
 *                   key <pressed> <SDL key> <unicode> | motion <x> <y> |
 *                   button <pressed> <button> | end
 *   ABYSSOR_FRAMES  where the "<flip> <hash>" lines go
 *   ABYSSOR_SNAPSHOTS  optional "<folder> <every>": the screen is also saved
 *                   as <folder>/flip-<n>.bmp at every <every>th flip, to look at
 *   ABYSSOR_LAST_FRAME optional: the screen at "end" is saved there as a BMP,
 *                   converted by SDL as a desktop window's pixels are
 *
 * At "end" the program leaves at once. A run that goes a virtual minute
 * without a flip leaves with status 3: the script waits for input that never
 * comes. */
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <SDL/SDL.h>

#include "../backend/frame_hash.h"

#define MAX_STEPS 4096
#define STALL_MS (60u * 1000u)

enum StepKind { STEP_KEY, STEP_MOTION, STEP_BUTTON, STEP_END };

struct Step {
    int flip;
    enum StepKind kind;
    int a, b, c;
};

static struct Step steps[MAX_STEPS];
static int step_count = 0;
static int next_step = 0;
static int flips = 0;
static FILE* frames = NULL;
static pthread_t game_thread;
static Uint32 virtual_ms = 0;
static Uint32 last_flip_ms = 0;
static char snapshot_folder[200] = "";
static int snapshot_every = 0;

static void fail(const char* message)
{
    fprintf(stderr, "frame probe: %s\n", message);
    _exit(2);
}

static void* real(const char* name)
{
    void* function = dlsym(RTLD_NEXT, name);
    if (function == NULL) fail("an SDL function is missing");
    return function;
}

static void read_script(const char* path)
{
    FILE* script = fopen(path, "r");
    if (script == NULL) fail("the input script cannot be read");
    char line[256];
    while (fgets(line, sizeof line, script) != NULL) {
        char what[32];
        struct Step step;
        memset(&step, 0, sizeof step);
        int fields = sscanf(line, "%d %31s %d %d %d", &step.flip, what, &step.a, &step.b, &step.c);
        if (fields < 2 || line[0] == '#') continue;
        if (strcmp(what, "key") == 0 && fields == 5) step.kind = STEP_KEY;
        else if (strcmp(what, "motion") == 0 && fields == 4) step.kind = STEP_MOTION;
        else if (strcmp(what, "button") == 0 && fields == 4) step.kind = STEP_BUTTON;
        else if (strcmp(what, "end") == 0) step.kind = STEP_END;
        else fail("the input script has a line it does not understand");
        if (step_count == MAX_STEPS) fail("the input script is too long");
        if (step_count > 0 && step.flip < steps[step_count - 1].flip) fail("the input script is out of order");
        steps[step_count++] = step;
    }
    fclose(script);
}

__attribute__((constructor)) static void start_probe(void)
{
    game_thread = pthread_self();
    const char* script = getenv("ABYSSOR_INPUT");
    const char* out = getenv("ABYSSOR_FRAMES");
    if (script == NULL || out == NULL) fail("ABYSSOR_INPUT and ABYSSOR_FRAMES must be set");
    read_script(script);
    const char* snapshots = getenv("ABYSSOR_SNAPSHOTS");
    if (snapshots != NULL && sscanf(snapshots, "%199s %d", snapshot_folder, &snapshot_every) != 2) snapshot_every = 0;
    frames = fopen(out, "w");
    if (frames == NULL) fail("the frame list cannot be written");
}

/* What SDL's own event code does with a key from a video driver: the key
 * table changes and an event is queued, with the character only while the
 * game asks for characters. */
static void give_key(int pressed, int sym, int unicode)
{
    if (sym <= 0 || sym >= SDLK_LAST) return;
    Uint8* keys = SDL_GetKeyState(NULL);
    if (keys[sym] == (pressed ? SDL_PRESSED : SDL_RELEASED)) return;
    keys[sym] = pressed ? SDL_PRESSED : SDL_RELEASED;
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = (SDLKey)sym;
    event.key.keysym.mod = SDL_GetModState();
    event.key.keysym.unicode = pressed && SDL_EnableUNICODE(-1) ? (Uint16)unicode : 0;
    SDL_PushEvent(&event);
}

static void give_button(int pressed, int button)
{
    int x, y;
    SDL_GetMouseState(&x, &y);
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.button.button = (Uint8)button;
    event.button.x = (Uint16)x;
    event.button.y = (Uint16)y;
    SDL_PushEvent(&event);
}

static void give_input_after_flip(void)
{
    while (next_step < step_count && steps[next_step].flip <= flips) {
        const struct Step* step = &steps[next_step++];
        switch (step->kind) {
        case STEP_KEY:
            give_key(step->a, step->b, step->c);
            break;
        case STEP_MOTION:
            /* Without a window, SDL moves its pointer and queues the motion. */
            SDL_WarpMouse((Uint16)step->a, (Uint16)step->b);
            break;
        case STEP_BUTTON:
            give_button(step->a, step->b);
            break;
        case STEP_END: {
            const char* last = getenv("ABYSSOR_LAST_FRAME");
            if (last != NULL && SDL_SaveBMP(SDL_GetVideoSurface(), last) != 0) fail("the last frame cannot be saved");
            fclose(frames);
            _exit(0);
        }
        }
    }
}

void SDL_UpdateRects(SDL_Surface* screen, int count, SDL_Rect* rects)
{
    static void (*update)(SDL_Surface*, int, SDL_Rect*) = NULL;
    if (update == NULL) update = (void (*)(SDL_Surface*, int, SDL_Rect*))real("SDL_UpdateRects");
    update(screen, count, rects);
    if (screen == NULL || screen != SDL_GetVideoSurface()) return;
    flips++;
    last_flip_ms = virtual_ms;
    uint64_t hash = frame_hash(screen->pixels, screen->pitch, screen->w * screen->format->BytesPerPixel, screen->h);
    fprintf(frames, "%d %016llx\n", flips, (unsigned long long)hash);
    if (snapshot_every > 0 && flips % snapshot_every == 0) {
        char name[256];
        snprintf(name, sizeof name, "%s/flip-%d.bmp", snapshot_folder, flips);
        SDL_SaveBMP(screen, name);
    }
    give_input_after_flip();
}

/* The browser's page sends one expose when its canvas appears. */
SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags)
{
    static SDL_Surface* (*set_mode)(int, int, int, Uint32) = NULL;
    if (set_mode == NULL) set_mode = (SDL_Surface * (*)(int, int, int, Uint32)) real("SDL_SetVideoMode");
    SDL_Surface* screen = set_mode(width, height, bpp, flags);
    if (screen != NULL) {
        SDL_Event event;
        memset(&event, 0, sizeof event);
        event.type = SDL_VIDEOEXPOSE;
        SDL_PushEvent(&event);
    }
    return screen;
}

Uint32 SDL_GetTicks(void)
{
    static Uint32 (*ticks)(void) = NULL;
    if (!pthread_equal(pthread_self(), game_thread)) {
        if (ticks == NULL) ticks = (Uint32(*)(void))real("SDL_GetTicks");
        return ticks();
    }
    return virtual_ms;
}

void SDL_Delay(Uint32 ms)
{
    static void (*delay)(Uint32) = NULL;
    if (!pthread_equal(pthread_self(), game_thread)) {
        if (delay == NULL) delay = (void (*)(Uint32))real("SDL_Delay");
        delay(ms);
        return;
    }
    virtual_ms += ms;
    if (virtual_ms - last_flip_ms > STALL_MS) {
        fprintf(stderr, "frame probe: no flip for a virtual minute after flip %d\n", flips);
        fclose(frames);
        _exit(3);
    }
}
