/* The clock of the browser build: SDL's ticks from the page's high-resolution
 * clock, and delays that hand the browser control (the program is suspended
 * and resumed around each sleep), so the canvas repaints, input arrives and
 * sound keeps flowing while the game waits. */
#include "SDL_config.h"

#include <emscripten.h>

#include "SDL_timer.h"
#include "../SDL_timer_c.h"

#include "browser.h"

/* The longest stretch the browser is left without sound being mixed. */
#define SLICE_MS 20.0
/* Timers of the browser wake up late by a few milliseconds at worst; the
 * last part of a delay is waited for here, so frames keep their length. */
#define TIMER_SLACK_MS 4.0
#define SPIN_MS 1.5

static double start_ms = 0;

double browser_now(void)
{
    return emscripten_get_now();
}

void browser_yield(double ms)
{
    browser_present();
    browser_audio_pump();
    browser_sleep(ms);
    browser_audio_pump();
}

void SDL_StartTicks(void)
{
    start_ms = browser_now();
}

Uint32 SDL_GetTicks(void)
{
    return (Uint32)(browser_now() - start_ms);
}

void SDL_Delay(Uint32 ms)
{
    double end = browser_now() + ms;
    browser_yield(0);
    for (;;) {
        double left = end - browser_now();
        if (left <= 0) return;
        if (left > SLICE_MS + TIMER_SLACK_MS)
            browser_yield(SLICE_MS);
        else if (left > TIMER_SLACK_MS)
            browser_yield(left - TIMER_SLACK_MS);
        else if (left > SPIN_MS)
            browser_yield(0);
        /* else: spin for the last moment */
    }
}

/* No timer thread: SDL_SetTimer and SDL_AddTimer are not used by the game. */
int SDL_SYS_TimerInit(void)
{
    return 0;
}

void SDL_SYS_TimerQuit(void)
{
}

int SDL_SYS_StartTimer(void)
{
    SDL_SetError("Timers are not available in the browser");
    return -1;
}

void SDL_SYS_StopTimer(void)
{
}
