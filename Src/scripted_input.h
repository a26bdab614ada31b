#ifndef ABYSSOR_SCRIPTED_INPUT_H
#define ABYSSOR_SCRIPTED_INPUT_H

#include <SDL/SDL.h>

// Input written ahead: once installed with platform_use_scripted, the input
// seam (platform.h) hands the game this queue, key table, mouse and clock in
// place of SDL's. Tests drive the game through it frame by frame without a
// window or a real clock, and the autoplayer plays through it.

const int SCRIPTED_QUEUE_SIZE = 256;

struct ScriptedInput {
    SDL_Event queue[SCRIPTED_QUEUE_SIZE];
    int head;
    int count;
    Uint8 keys[SDLK_LAST];   // held keys, kept up to date by the key events drained
    int mouse_x, mouse_y;    // pointer, kept up to date by the motion events drained
    Uint8 buttons;
    Uint32 clock_ms;         // advances only through delays and the tick hook
    int delays;              // number of delay calls made
    // Called at every delay with the delay's length, after the clock has
    // advanced: the test's chance to change the input between frames.
    void (*on_delay)(ScriptedInput& input, Uint32 ms, void* user);
    // Called whenever the game waits for an event, before the next one is
    // handed out: the test's chance to look at the screen while a menu or a
    // still screen waits, or to queue the player's next moves.
    void (*on_wait)(ScriptedInput& input, void* user);
    void* user;
    int unicode;             // key presses translated to characters
    // Waits that found the queue empty: the game wanted input the script did
    // not give, so what followed was not the player's doing.
    int dry_waits;
    // Close requests (SDL_QUIT) drained so far.
    int quit_requests;
};

// Helpers for tests filling a ScriptedInput.
void scripted_reset(ScriptedInput& input);
void scripted_push(ScriptedInput& input, const SDL_Event& event);
void scripted_push_key(ScriptedInput& input, SDLKey key, int pressed, Uint16 unicode);
void scripted_push_motion(ScriptedInput& input, int x, int y);
void scripted_push_button(ScriptedInput& input, Uint8 button, int pressed);
// The window manager's close button, as SDL reports it.
void scripted_push_quit(ScriptedInput& input);

// What the seam asks of the script in SDL's place.
// Takes the next event, if any, and updates the key table, the mouse and the
// close requests as SDL's own event handling does. Returns 0 when the queue
// is empty.
int scripted_next(ScriptedInput& input, SDL_Event* event);
// A wait for an event: the wait hook, then the next event. A queue that has
// run dry counts in dry_waits. Returns 1 when an event was taken.
int scripted_wait(ScriptedInput& input, SDL_Event* event);
// The clock moves on by ms, then the delay hook runs.
void scripted_delay(ScriptedInput& input, Uint32 ms);

// What SDL's own event handling does to the key table and the mouse when an
// event is drained: keys pressed and let go, the pointer moved, buttons
// pressed and let go.
void apply_event_to_input(const SDL_Event& event, Uint8* keys, int* mouse_x, int* mouse_y, Uint8* buttons);

#endif
