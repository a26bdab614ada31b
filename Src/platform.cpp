#include "platform.h"

#include <string.h>

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

void scripted_reset(ScriptedInput& input)
{
    memset(&input, 0, sizeof input);
}

void scripted_push(ScriptedInput& input, const SDL_Event& event)
{
    if (input.count >= SCRIPTED_QUEUE_SIZE) return;  // a full queue drops events, as SDL's does
    input.queue[(input.head + input.count) % SCRIPTED_QUEUE_SIZE] = event;
    input.count++;
}

void scripted_push_key(ScriptedInput& input, SDLKey key, int pressed, Uint16 unicode)
{
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.unicode = unicode;
    scripted_push(input, event);
}

void scripted_push_motion(ScriptedInput& input, int x, int y)
{
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_MOUSEMOTION;
    event.motion.x = (Uint16)x;
    event.motion.y = (Uint16)y;
    scripted_push(input, event);
}

void scripted_push_button(ScriptedInput& input, Uint8 button, int pressed)
{
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = (Uint16)input.mouse_x;
    event.button.y = (Uint16)input.mouse_y;
    scripted_push(input, event);
}

void scripted_push_quit(ScriptedInput& input)
{
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_QUIT;
    scripted_push(input, event);
}

// Draining an event updates the key table and the mouse the way SDL's own
// event handling does.
static int scripted_next(SDL_Event* event)
{
    if (scripted->count == 0) return 0;
    *event = scripted->queue[scripted->head];
    scripted->head = (scripted->head + 1) % SCRIPTED_QUEUE_SIZE;
    scripted->count--;
    switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event->key.keysym.sym < SDLK_LAST)
            scripted->keys[event->key.keysym.sym] = event->type == SDL_KEYDOWN;
        break;
    case SDL_MOUSEMOTION:
        scripted->mouse_x = event->motion.x;
        scripted->mouse_y = event->motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event->button.button >= 1 && event->button.button <= 8)
            scripted->buttons |= (Uint8)SDL_BUTTON(event->button.button);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event->button.button >= 1 && event->button.button <= 8)
            scripted->buttons &= (Uint8)~SDL_BUTTON(event->button.button);
        break;
    case SDL_QUIT:
        scripted->quit_requests++;
        break;
    default:
        break;
    }
    return 1;
}

int platform_poll_event(SDL_Event* event)
{
    if (scripted != NULL) return scripted_next(event);
    if (!SDL_PollEvent(event)) return 0;
    if (event->type == SDL_QUIT) sdl_quit_requests++;
    return 1;
}

int platform_wait_event(SDL_Event* event)
{
    if (platform_quit_requested()) return 0;
    if (scripted == NULL) {
        if (!SDL_WaitEvent(event)) return 0;
        if (event->type != SDL_QUIT) return 1;
        sdl_quit_requests++;
        return 0;
    }
    if (scripted->on_wait != NULL) scripted->on_wait(*scripted, scripted->user);
    if (scripted_next(event)) return event->type != SDL_QUIT;
    scripted->dry_waits++;
    return 0;
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
    if (scripted != NULL) return scripted->keys;
    return SDL_GetKeyState(NULL);
}

Uint8 platform_mouse_state(int* x, int* y)
{
    if (scripted != NULL) {
        if (x != NULL) *x = scripted->mouse_x;
        if (y != NULL) *y = scripted->mouse_y;
        return scripted->buttons;
    }
    return SDL_GetMouseState(x, y);
}

Uint32 platform_ticks()
{
    if (scripted != NULL) return scripted->clock_ms;
    return SDL_GetTicks();
}

void platform_delay(Uint32 ms)
{
    if (scripted != NULL) {
        scripted->clock_ms += ms;
        scripted->delays++;
        if (scripted->on_delay != NULL) scripted->on_delay(*scripted, ms, scripted->user);
        return;
    }
    SDL_Delay(ms);
}

void platform_enable_unicode(int enable)
{
    if (scripted != NULL) {
        scripted->unicode = enable;
        return;
    }
    SDL_EnableUNICODE(enable);
}

int platform_input_exhausted()
{
    return scripted != NULL && scripted->count == 0;
}

int platform_quit_requests()
{
    return scripted != NULL ? scripted->quit_requests : sdl_quit_requests;
}

int platform_quit_requested()
{
    return platform_quit_requests() > 0;
}

// The scripted queue keeps its other events in their order.
static void take_scripted_quit_requests()
{
    int kept = 0;
    for (int i = 0; i < scripted->count; i++) {
        const SDL_Event& event = scripted->queue[(scripted->head + i) % SCRIPTED_QUEUE_SIZE];
        if (event.type == SDL_QUIT) {
            scripted->quit_requests++;
            continue;
        }
        scripted->queue[(scripted->head + kept) % SCRIPTED_QUEUE_SIZE] = event;
        kept++;
    }
    scripted->count = kept;
}

int platform_take_quit_requests()
{
    if (scripted != NULL) {
        take_scripted_quit_requests();
    } else {
        // SDL sees what the window system sent only when it pumps.
        SDL_PumpEvents();
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUITMASK) > 0) sdl_quit_requests++;
    }
    return platform_quit_requests();
}

int platform_delay_unless_quit(Uint32 ms)
{
    if (platform_take_quit_requests()) return 1;
    if (scripted != NULL) {
        // One delay, as platform_delay: a test may send the request from it.
        platform_delay(ms);
        return platform_take_quit_requests() > 0;
    }
    Uint32 start = SDL_GetTicks();
    for (;;) {
        Uint32 elapsed = SDL_GetTicks() - start;
        if (elapsed >= ms) return 0;
        Uint32 left = ms - elapsed;
        SDL_Delay(left < QUIT_CHECK_MS ? left : QUIT_CHECK_MS);
        if (platform_take_quit_requests()) return 1;
    }
}
