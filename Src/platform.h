#ifndef ABYSSOR_PLATFORM_H
#define ABYSSOR_PLATFORM_H

#include <SDL/SDL.h>

// All input and time of the game pass through these calls: the event queue,
// the keyboard table, the mouse, the millisecond clock and delays. Normally
// they are SDL's own; a test or the autoplayer installs a ScriptedInput
// (scripted_input.h) and then drives the game without a window or a real
// clock. A recording takes down every answer given here, and a replay gives
// them again in SDL's place (session.h). SDL's pointer positions are mapped
// to the game's 640 x 480 screen (video.h) before they are recorded, so a
// recording does not depend on the window's scale.

struct ScriptedInput;

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
// A still screen calls it before it shows: a key pressed before the player
// could see the screen is no answer to it.
void platform_drop_queued_events();
Uint8* platform_key_state();
Uint8 platform_mouse_state(int* x, int* y);
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
// loop and text input, which poll, ask platform_quit_requested themselves.
int platform_quit_requests();
int platform_quit_requested();
// Takes the close requests out of the queue and leaves every other event in
// it, for the parts of the game that read no input (intro, credits). Returns
// platform_quit_requests().
int platform_take_quit_requests();
// platform_delay that a close request cuts short: returns 1 when one has come,
// before or during the delay.
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
