/* Loaded into the desktop game (LD_PRELOAD) to compare it with the browser
 * build: at every screen update it writes "<flip> <hash of the 16-bit screen>"
 * to $ABYSSOR_FRAMES, then gives the game what $ABYSSOR_STEPS schedules after
 * that flip, as the browser test does in the page: "<flip> <kind> <a> <b> <c>
 * <ms>", ms of the game's clock after the flip, kind 1 a key (pressed, SDL
 * key, character), 2 a motion (x, y), 3 a button (pressed, button), 0 the end:
 * the screen goes to $ABYSSOR_LAST_FRAME as SDL converts it for a desktop
 * window (a 24-bit BMP) and the program leaves. The game's thread runs on a
 * virtual clock: the run depends on the steps alone. */
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <SDL/SDL.h>

#include "../backend/frame_hash.h"

static const char* steps_left = NULL;
static int flips = 0;
static FILE* frames = NULL;
static pthread_t game_thread;
static Uint32 virtual_ms = 0;
/* A step held for its ms: given once the virtual clock reaches this. */
static int holding = 0;
static Uint32 hold_until = 0;

static void fail(const char* message)
{
    fprintf(stderr, "frame probe: %s\n", message);
    _exit(2);
}

/* SDL's own function of that name, as a pointer of that type. */
#define REAL(name, type) ((type)dlsym(RTLD_NEXT, #name))

__attribute__((constructor)) static void start_probe(void)
{
    game_thread = pthread_self();
    steps_left = getenv("ABYSSOR_STEPS");
    frames = fopen(getenv("ABYSSOR_FRAMES") != NULL ? getenv("ABYSSOR_FRAMES") : "", "w");
    if (steps_left == NULL || frames == NULL) fail("ABYSSOR_STEPS must be set and ABYSSOR_FRAMES writable");
}

/* A key goes as SDL's event code takes one from a video driver, as in the
 * browser build: the key table changes and an event is queued, with the
 * character only while the game asks for characters. A button is pressed
 * where SDL's pointer is; without a window, SDL_WarpMouse moves the pointer
 * and queues the motion. */
static void give_input_due(void)
{
    int flip, kind, a, b, c, ms, used, x, y;
    while (sscanf(steps_left, "%d %d %d %d %d %d%n", &flip, &kind, &a, &b, &c, &ms, &used) == 6 && flip <= flips) {
        if (ms > 0 && !holding && hold_until == 0) {
            holding = 1;
            hold_until = virtual_ms + (Uint32)ms;
        }
        if (holding && virtual_ms < hold_until) return;
        holding = 0;
        hold_until = 0;
        steps_left += used;
        Uint8 pressed = a != 0, *keys = SDL_GetKeyState(NULL);
        SDL_GetMouseState(&x, &y);
        if (kind == 1 && b > 0 && b < SDLK_LAST && keys[b] != pressed) {
            keys[b] = pressed;
            Uint16 unicode = pressed && SDL_EnableUNICODE(-1) ? (Uint16)c : 0;
            SDL_Event key = {.key = {pressed ? SDL_KEYDOWN : SDL_KEYUP, 0, pressed,
                                     {0, (SDLKey)b, SDL_GetModState(), unicode}}};
            SDL_PushEvent(&key);
        }
        if (kind == 2) SDL_WarpMouse((Uint16)a, (Uint16)b);
        if (kind == 3) {
            SDL_Event button = {.button = {pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, 0, (Uint8)b,
                                           pressed, (Uint16)x, (Uint16)y}};
            SDL_PushEvent(&button);
        }
        if (kind == 0) {
            if (SDL_SaveBMP(SDL_GetVideoSurface(), getenv("ABYSSOR_LAST_FRAME")) != 0) fail("no last frame saved");
            fclose(frames);
            _exit(0);
        }
    }
}

void SDL_UpdateRects(SDL_Surface* screen, int count, SDL_Rect* rects)
{
    REAL(SDL_UpdateRects, void (*)(SDL_Surface*, int, SDL_Rect*))(screen, count, rects);
    if (screen == NULL || screen != SDL_GetVideoSurface()) return;
    uint64_t hash = frame_hash(screen->pixels, screen->pitch, screen->w * screen->format->BytesPerPixel, screen->h);
    fprintf(frames, "%d %016llx\n", ++flips, (unsigned long long)hash);
    fflush(frames);  /* a run that stalls still shows how far it came */
    give_input_due();
}

/* The browser's page sends one expose when its canvas appears. */
SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags)
{
    SDL_Surface* screen = REAL(SDL_SetVideoMode, SDL_Surface* (*)(int, int, int, Uint32))(width, height, bpp, flags);
    SDL_Event expose = {SDL_VIDEOEXPOSE};
    if (screen != NULL) SDL_PushEvent(&expose);
    return screen;
}

/* SDL's audio thread keeps the real clock. */
Uint32 SDL_GetTicks(void)
{
    if (pthread_equal(pthread_self(), game_thread)) return virtual_ms;
    return REAL(SDL_GetTicks, Uint32 (*)(void))();
}

void SDL_Delay(Uint32 ms)
{
    if (!pthread_equal(pthread_self(), game_thread)) {
        REAL(SDL_Delay, void (*)(Uint32))(ms);
        return;
    }
    virtual_ms += ms;
    give_input_due();
}
