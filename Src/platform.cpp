#include "platform.h"

#include <string.h>

static ScriptedInput* scripted = NULL;

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
    default:
        break;
    }
    return 1;
}

int platform_poll_event(SDL_Event* event)
{
    if (scripted != NULL) return scripted_next(event);
    return SDL_PollEvent(event);
}

int platform_wait_event(SDL_Event* event)
{
    if (scripted == NULL) return SDL_WaitEvent(event);
    if (scripted->on_wait != NULL) scripted->on_wait(*scripted, scripted->user);
    if (scripted_next(event)) return 1;
    scripted->dry_waits++;
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
