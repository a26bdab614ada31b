/* The clock of the browser build: SDL's ticks from the page's high-resolution
 * clock, and delays that hand the browser control (the program is suspended
 * and resumed around each sleep), so the canvas repaints, input arrives and
 * sound keeps flowing while the game waits. */
#include "SDL_config.h"

#include <emscripten.h>
#include <math.h>

#include "SDL_timer.h"
#include "../SDL_timer_c.h"

#include "browser.h"

/* The longest stretch the browser is left without sound being mixed. */
#define SLICE_MS 20.0
/* Timers of the browser count whole milliseconds and wake up late, by a
 * fraction of a millisecond on an idle machine and by several on a busy one.
 * A delay asks its timer for as much less as the timers were late on average
 * lately and waits for the rest in turns of the browser's event loop (a
 * message comes back at once), so frames keep their length without the
 * program spinning. (Allowing for the latest wake instead took two to three
 * times as many turns a frame on a busy machine, for the same frame rate.) */
#define LATENESS_MAX_MS 4.0
#define LATENESS_START_MS 1.0
/* The weight of the last wake in the average. */
#define LATENESS_WEIGHT 0.1

static double start_ms = 0;
static double timer_lateness_ms = LATENESS_START_MS;
static double woken_ms = 0;

double browser_now(void)
{
    return emscripten_get_now();
}

double browser_last_woken(void)
{
    return woken_ms;
}

void browser_yield(double ms)
{
    browser_present();
    browser_audio_pump();
    browser_sleep(ms);
    woken_ms = browser_now();
    browser_audio_pump();
}

/* Sleeps on a timer of whole milliseconds and learns how late it woke. */
static void yield_on_timer(double ms)
{
    browser_present();
    browser_audio_pump();
    double due = browser_now() + ms;
    browser_sleep(ms);
    woken_ms = browser_now();
    double late = woken_ms - due;
    if (late < 0) late = 0;
    timer_lateness_ms += (late - timer_lateness_ms) * LATENESS_WEIGHT;
    if (timer_lateness_ms > LATENESS_MAX_MS) timer_lateness_ms = LATENESS_MAX_MS;
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
    if (ms == 0) {
        browser_yield(0);
        return;
    }
    for (;;) {
        double left = end - browser_now();
        if (left <= 0) return;
        double timer = left > SLICE_MS + LATENESS_MAX_MS ? SLICE_MS : floor(left - timer_lateness_ms);
        if (timer >= 1)
            yield_on_timer(timer);
        else
            browser_yield(0);
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
