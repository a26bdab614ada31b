#include "scripted_input.h"

#include <string.h>

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

void apply_event_to_input(const SDL_Event& event, Uint8* keys, int* mouse_x, int* mouse_y, Uint8* buttons)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event.key.keysym.sym < SDLK_LAST) keys[event.key.keysym.sym] = event.type == SDL_KEYDOWN;
        break;
    case SDL_MOUSEMOTION:
        *mouse_x = event.motion.x;
        *mouse_y = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button >= 1 && event.button.button <= 8) *buttons |= (Uint8)SDL_BUTTON(event.button.button);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button >= 1 && event.button.button <= 8) *buttons &= (Uint8)~SDL_BUTTON(event.button.button);
        break;
    default:
        break;
    }
}

int scripted_next(ScriptedInput& input, SDL_Event* event)
{
    if (input.count == 0) return 0;
    *event = input.queue[input.head];
    input.head = (input.head + 1) % SCRIPTED_QUEUE_SIZE;
    input.count--;
    apply_event_to_input(*event, input.keys, &input.mouse_x, &input.mouse_y, &input.buttons);
    if (event->type == SDL_QUIT) input.quit_requests++;
    return 1;
}

int scripted_wait(ScriptedInput& input, SDL_Event* event)
{
    if (input.on_wait != NULL) input.on_wait(input, input.user);
    if (scripted_next(input, event)) return 1;
    input.dry_waits++;
    return 0;
}

void scripted_delay(ScriptedInput& input, Uint32 ms)
{
    input.clock_ms += ms;
    input.delays++;
    if (input.on_delay != NULL) input.on_delay(input, ms, input.user);
}
