#include "platform.h"

#include <stddef.h>

#include "scripted_input.h"
#include "session.h"
#include "video.h"

static ScriptedInput* scripted = NULL;
// Close requests from SDL: counted as SDL takes them from the window system
// (or from a signal), or drained from its queue.
static volatile int sdl_quit_requests = 0;
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

// SDL keeps at most 127 events and drops what comes after, a close request
// too, and one pump may bring hundreds of mouse motions from the window
// system. A filter sees each close request before SDL would queue it:
// counted there, it is never lost behind a full queue.
static int SDLCALL count_close_request(const SDL_Event* event)
{
    if (event->type != SDL_QUIT) return 1;
    sdl_quit_requests = sdl_quit_requests + 1;
    return 0;
}

void platform_watch_close_requests()
{
    SDL_SetEventFilter(count_close_request);
}

// SDL_WaitEvent's own way (a look every 10 ms), so that a close request
// that the filter kept out of the queue ends the wait too.
static const Uint32 SDL_WAIT_LOOK_MS = 10;

static int live_poll_event(SDL_Event* event)
{
    if (scripted != NULL) return scripted_next(*scripted, event);
    if (!SDL_PollEvent(event)) return 0;
    if (event->type == SDL_QUIT) sdl_quit_requests = sdl_quit_requests + 1;
    video_event_to_screen(event);
    return 1;
}

static int live_quit_requests()
{
    return scripted != NULL ? scripted->quit_requests : sdl_quit_requests;
}

// Returns 1 with the event taken; 0 when a close request ended the wait (or
// had come before it), or when no input can ever come (*dry: a scripted
// queue run dry).
static int live_wait_event(SDL_Event* event, int* dry)
{
    *dry = 0;
    if (live_quit_requests() > 0) return 0;
    if (scripted == NULL) {
        for (;;) {
            if (live_poll_event(event)) return event->type != SDL_QUIT;
            if (sdl_quit_requests > 0) return 0;
            SDL_Delay(SDL_WAIT_LOOK_MS);
        }
    }
    if (!scripted_wait(*scripted, event)) {
        *dry = 1;
        return 0;
    }
    return event->type != SDL_QUIT;
}

static int live_wait_key_press(SDL_Event* event, int* dry)
{
    while (live_wait_event(event, dry))
        if (event->type == SDL_KEYDOWN) return 1;
    return 0;
}

// Takes every event queued, counting the close requests (SDL pumps what the
// window system sent as it polls).
static void live_drain()
{
    SDL_Event event;
    if (scripted != NULL) {
        while (scripted_next(*scripted, &event)) continue;
        return;
    }
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT) sdl_quit_requests = sdl_quit_requests + 1;
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

// *slept: how much of the delay went by before a close request cut it short.
static int live_delay_unless_quit(Uint32 ms, Uint32* slept)
{
    *slept = 0;
    live_drain();
    if (live_quit_requests() > 0) return 1;
    if (scripted != NULL) {
        // One delay, as platform_delay: a test may send the request from it.
        live_delay(ms);
        *slept = ms;
        live_drain();
        return live_quit_requests() > 0;
    }
    Uint32 start = SDL_GetTicks();
    for (;;) {
        Uint32 elapsed = SDL_GetTicks() - start;
        if (elapsed >= ms) {
            *slept = ms;
            return 0;
        }
        Uint32 left = ms - elapsed;
        SDL_Delay(left < QUIT_CHECK_MS ? left : QUIT_CHECK_MS);
        live_drain();
        if (live_quit_requests() > 0) {
            elapsed = SDL_GetTicks() - start;
            *slept = elapsed < ms ? elapsed : ms;
            return 1;
        }
    }
}

// --- What the game calls ---------------------------------------------------
// A replay answers; otherwise the live input does, and the session notes
// where the game stands and, while recording, takes down what it was given.

// After every call that may have drained a close request.
static int noting_close_requests(int result)
{
    session_close_requests_seen(live_quit_requests());
    return result;
}

int platform_poll_event(SDL_Event* event)
{
    if (session_replaying()) return replayed_poll_event(event);
    int taken = live_poll_event(event);
    if (taken) session_event_taken(*event);
    return noting_close_requests(taken);
}

// *event holds what was taken when taken is 1.
static int noting_wait(int taken, int dry, const SDL_Event& event)
{
    if (taken) session_event_taken(event);
    if (dry) session_input_dry();
    return noting_close_requests(taken);
}

int platform_wait_event(SDL_Event* event)
{
    session_wait_begins();
    if (session_replaying()) return replayed_wait_event(event);
    int dry;
    int taken = live_wait_event(event, &dry);
    return noting_wait(taken, dry, *event);
}

int platform_wait_key_press()
{
    session_wait_begins();
    if (session_replaying()) return replayed_wait_key_press();
    SDL_Event event;
    int dry;
    int taken = live_wait_key_press(&event, &dry);
    return noting_wait(taken, dry, event);
}

void platform_drop_queued_events()
{
    if (session_replaying()) {
        replayed_drop_queued_events();
        return;
    }
    live_drain();
    noting_close_requests(0);
}

void platform_await_fresh_input()
{
    platform_delay_unless_quit(FRESH_INPUT_MS);
}

Uint8* platform_key_state()
{
    if (session_replaying()) return replayed_key_state();
    Uint8* keys = live_key_state();
    session_keys_read(keys);
    return keys;
}

Uint8 platform_mouse_state(int* x, int* y)
{
    int mouse_x = 0, mouse_y = 0;
    Uint8 buttons;
    if (session_replaying()) {
        buttons = replayed_mouse_state(&mouse_x, &mouse_y);
    } else {
        buttons = live_mouse_state(&mouse_x, &mouse_y);
        session_pointer_read(mouse_x, mouse_y, buttons);
    }
    if (x != NULL) *x = mouse_x;
    if (y != NULL) *y = mouse_y;
    return buttons;
}

Uint32 platform_ticks()
{
    if (session_replaying()) return replayed_ticks();
    Uint32 ticks;
    if (session_clock_unchanged(&ticks)) return ticks;
    return session_clock_read(live_ticks());
}

void platform_delay(Uint32 ms)
{
    if (session_replaying()) {
        replayed_delay(ms);
        return;
    }
    live_delay(ms);
    session_delayed(ms);
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
    int exhausted = live_input_exhausted();
    if (exhausted) session_input_dry();
    return exhausted;
}

int platform_quit_requests()
{
    if (session_replaying()) return replayed_quit_requests();
    return live_quit_requests();
}

int platform_quit_requested()
{
    return platform_quit_requests() > 0;
}

int platform_delay_unless_quit(Uint32 ms)
{
    if (session_replaying()) return replayed_delay_unless_quit(ms);
    Uint32 slept;
    int cut_short = live_delay_unless_quit(ms, &slept);
    session_delayed(slept);
    return noting_close_requests(cut_short);
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
