#ifndef ABYSSOR_PLATFORM_H
#define ABYSSOR_PLATFORM_H

#include <SDL/SDL.h>

// All input and time of the game pass through these calls: the event queue,
// the keyboard table, the mouse, the millisecond clock and delays. Normally
// they are SDL's own; a test or the autoplayer installs a ScriptedInput
// (scripted_input.h) and then drives the game without a window or a real
// clock. A recording takes down what the player did and when, and a replay
// gives it again in SDL's place (session.h). SDL's pointer positions are
// mapped to the game's 640 x 480 screen (video.h) before they are recorded,
// so a recording does not depend on the window's scale.
//
// SDL keeps at most 128 events and drops what comes after, a close request
// included: every wait of the game keeps the queue drained, so that closing
// the window is never lost behind a player's mouse motions.

struct ScriptedInput;

// Once SDL has started: close requests are counted as SDL takes them from
// the window system, so that none is lost behind a queue full of mouse
// motions. (SDL drops the events queued so far.)
void platform_watch_close_requests();

// Installs scripted input (NULL returns to SDL). The record is not copied.
void platform_use_scripted(ScriptedInput* input);
ScriptedInput* platform_scripted();

int platform_poll_event(SDL_Event* event);
// Waits for the next event. Returns 0 when no event can come (an SDL error,
// or an empty scripted queue) and once the player has asked to close the
// window: callers stop waiting then.
int platform_wait_event(SDL_Event* event);
// Waits until a key is pressed, discarding every other event. Returns 0 when
// none can come (as platform_wait_event).
int platform_wait_key_press();
// Drops the events already queued, counting the close requests among them.
void platform_drop_queued_events();
// A screen that has just appeared takes no input for its first
// FRESH_INPUT_MS: nobody answers a screen before they could see it, and a
// double tap meant for the screen before (a second Return that would end
// the name entry with no name) is dropped with everything else queued. A
// close request cuts it short. Call it once the screen shows.
const Uint32 FRESH_INPUT_MS = 200;
void platform_await_fresh_input();
Uint8* platform_key_state();
Uint8 platform_mouse_state(int* x, int* y);
// While a session is recorded or replayed, the clock moves on only when
// something happens (a frame shown, a wait, an event taken, a delay):
// reading it twice in between gives the same time, so how often the game
// reads it changes nothing.
Uint32 platform_ticks();
void platform_delay(Uint32 ms);
void platform_enable_unicode(int enable);
// 1 when no event can ever come again: a scripted queue that has run dry.
// Loops that poll rather than wait (text input with its blinking cursor) stop
// then. SDL's own queue never runs dry.
int platform_input_exhausted();

// Closing the window from the window manager, or interrupting the program,
// puts SDL_QUIT in the event queue. Whichever call drains it counts it here,
// and from the first one on the game is on its way out: platform_wait_event
// stops waiting, so every screen that waits for the player ends; the game
// loop, text input, the intro and the credits, which poll or drain, ask
// platform_quit_requested themselves.
int platform_quit_requests();
int platform_quit_requested();
// platform_delay for the parts of the game that read no input (the intro,
// loading, the end of a pause): the queue is kept drained meanwhile, what
// the player does is dropped, and a close request cuts the delay short.
// Returns 1 when one has come, before or during the delay.
int platform_delay_unless_quit(Uint32 ms);

// Frame pacing, shared by the game loop and the front end's animations: at
// most one frame every 25 ms; a slow frame starts the next one at once.
void wait_frame();
// The next deadline back to 25 ms, as the program starts.
void reset_frame_pacing();

// SDL's own input and no close request, as the program starts.
void platform_reset();

// The game loop reports each frame it has shown, for the recording, the
// replay and the screen checksums (session.h).
void platform_frame_shown(SDL_Surface* screen);

#endif
