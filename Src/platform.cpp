#include "platform.h"

#include <stddef.h>

#include "scripted_input.h"
#include "session.h"
#include "video.h"

static ScriptedInput* scripted = NULL;
// Close requests drained from SDL's own queue.
static int sdl_quit_requests = 0;
// Long delays are slept in slices this long, looking for close requests in
// between.
static const Uint32 QUIT_CHECK_MS = 20;

void platform_use_scripted(ScriptedInput* input)
{
    scripted = input;
}

ScriptedInput* platform_scripted()
{
    return scripted;
}

void platform_reset()
{
    scripted = NULL;
    sdl_quit_requests = 0;
}

// --- The live input: SDL's own, or a test's script -----------------------

static int live_poll_event(SDL_Event* event)
{
    if (scripted != NULL) return scripted_next(*scripted, event);
    if (!SDL_PollEvent(event)) return 0;
    if (event->type == SDL_QUIT) sdl_quit_requests++;
    video_event_to_screen(event);
    return 1;
}

static int live_quit_requests()
{
    return scripted != NULL ? scripted->quit_requests : sdl_quit_requests;
}

// *drained tells whether an event was taken (and written into *event).
static int live_wait_event(SDL_Event* event, int* drained)
{
    *drained = 0;
    if (live_quit_requests() > 0) return 0;
    if (scripted == NULL) {
        if (!SDL_WaitEvent(event)) return 0;
        *drained = 1;
        video_event_to_screen(event);
        if (event->type != SDL_QUIT) return 1;
        sdl_quit_requests++;
        return 0;
    }
    *drained = scripted_wait(*scripted, event);
    return *drained && event->type != SDL_QUIT;
}

static Uint8* live_key_state()
{
    if (scripted != NULL) return scripted->keys;
    return SDL_GetKeyState(NULL);
}

static Uint8 live_mouse_state(int* x, int* y)
{
    if (scripted != NULL) {
        *x = scripted->mouse_x;
        *y = scripted->mouse_y;
        return scripted->buttons;
    }
    Uint8 buttons = SDL_GetMouseState(x, y);
    video_pointer_to_screen(x, y);
    return buttons;
}

static Uint32 live_ticks()
{
    if (scripted != NULL) return scripted->clock_ms;
    return SDL_GetTicks();
}

static void live_delay(Uint32 ms)
{
    if (scripted != NULL) {
        scripted_delay(*scripted, ms);
        return;
    }
    SDL_Delay(ms);
}

static int live_input_exhausted()
{
    return scripted != NULL && scripted->count == 0;
}

static int live_take_quit_requests()
{
    if (scripted != NULL) {
        scripted_take_quit_requests(*scripted);
    } else {
        // SDL sees what the window system sent only when it pumps.
        SDL_PumpEvents();
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUITMASK) > 0) sdl_quit_requests++;
    }
    return live_quit_requests();
}

static int live_delay_unless_quit(Uint32 ms)
{
    if (live_take_quit_requests()) return 1;
    if (scripted != NULL) {
        // One delay, as platform_delay: a test may send the request from it.
        live_delay(ms);
        return live_take_quit_requests() > 0;
    }
    Uint32 start = SDL_GetTicks();
    for (;;) {
        Uint32 elapsed = SDL_GetTicks() - start;
        if (elapsed >= ms) return 0;
        Uint32 left = ms - elapsed;
        SDL_Delay(left < QUIT_CHECK_MS ? left : QUIT_CHECK_MS);
        if (live_take_quit_requests()) return 1;
    }
}

// --- What the game calls ---------------------------------------------------
// A replay answers; otherwise the live input does, and a recording takes the
// answer down.

int platform_poll_event(SDL_Event* event)
{
    if (session_replaying()) return replayed_poll_event(event);
    int result = live_poll_event(event);
    return recorded_poll_event(result, *event);
}

int platform_wait_event(SDL_Event* event)
{
    session_wait_begins();
    if (session_replaying()) return replayed_wait_event(event);
    int drained;
    int result = live_wait_event(event, &drained);
    return recorded_wait_event(result, drained, *event);
}

void platform_drop_queued_events()
{
    SDL_Event event;
    while (platform_poll_event(&event)) continue;
}

int platform_wait_key_press()
{
    SDL_Event event;
    while (platform_wait_event(&event))
        if (event.type == SDL_KEYDOWN) return 1;
    return 0;
}

Uint8* platform_key_state()
{
    if (session_replaying()) return replayed_key_state();
    return recorded_key_state(live_key_state());
}

Uint8 platform_mouse_state(int* x, int* y)
{
    int mouse_x = 0, mouse_y = 0;
    Uint8 buttons;
    if (session_replaying()) {
        buttons = replayed_mouse_state(&mouse_x, &mouse_y);
    } else {
        buttons = live_mouse_state(&mouse_x, &mouse_y);
        buttons = recorded_mouse_state(mouse_x, mouse_y, buttons);
    }
    if (x != NULL) *x = mouse_x;
    if (y != NULL) *y = mouse_y;
    return buttons;
}

Uint32 platform_ticks()
{
    if (session_replaying()) return replayed_ticks();
    return recorded_ticks(live_ticks());
}

void platform_delay(Uint32 ms)
{
    if (session_replaying()) {
        replayed_delay(ms);
        return;
    }
    live_delay(ms);
}

void platform_enable_unicode(int enable)
{
    if (session_replaying()) return;
    if (scripted != NULL) {
        scripted->unicode = enable;
        return;
    }
    SDL_EnableUNICODE(enable);
}

int platform_input_exhausted()
{
    if (session_replaying()) return replayed_input_exhausted();
    return recorded_input_exhausted(live_input_exhausted());
}

int platform_quit_requests()
{
    if (session_replaying()) return replayed_quit_requests();
    return recorded_quit_requests(live_quit_requests());
}

int platform_quit_requested()
{
    return platform_quit_requests() > 0;
}

int platform_take_quit_requests()
{
    if (session_replaying()) return replayed_take_quit_requests();
    return recorded_take_quit_requests(live_take_quit_requests());
}

int platform_delay_unless_quit(Uint32 ms)
{
    if (session_replaying()) return replayed_delay_unless_quit();
    return recorded_delay_unless_quit(live_delay_unless_quit(ms));
}

static const Uint32 FRAME_MS = 25;

// The next frame deadline lives for the whole run of the program.
static Uint32 next_deadline = FRAME_MS;

void wait_frame()
{
    Uint32 now = platform_ticks();
    if ((Sint32)now < (Sint32)next_deadline) platform_delay(next_deadline - now);
    next_deadline = platform_ticks() + FRAME_MS;
}

void reset_frame_pacing()
{
    next_deadline = FRAME_MS;
}

void platform_frame_shown(SDL_Surface* screen)
{
    session_frame_shown(screen);
}
