#ifndef ABYSSOR_PLATFORM_H
#define ABYSSOR_PLATFORM_H

#include <SDL/SDL.h>

// All input and time of the game pass through these calls: the event queue,
// the keyboard table, the mouse, the millisecond clock and delays. Normally
// they are SDL's own; a test installs a ScriptedInput and then drives the
// game frame by frame without a window or a real clock.

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

// Installs scripted input (NULL returns to SDL). The record is not copied.
void platform_use_scripted(ScriptedInput* input);
ScriptedInput* platform_scripted();

// Helpers for tests filling a ScriptedInput.
void scripted_reset(ScriptedInput& input);
void scripted_push(ScriptedInput& input, const SDL_Event& event);
void scripted_push_key(ScriptedInput& input, SDLKey key, int pressed, Uint16 unicode);
void scripted_push_motion(ScriptedInput& input, int x, int y);
void scripted_push_button(ScriptedInput& input, Uint8 button, int pressed);
// The window manager's close button, as SDL reports it.
void scripted_push_quit(ScriptedInput& input);

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

// Record and replay of whole sessions. A recording holds everything the
// calls above hand the game, in order: events, key tables, the mouse, the
// clock, close requests and the frames shown; played back, it makes the game
// take the very same path, as fast as it can go (delays are skipped) and
// whatever the video driver. The file is text: a header with its version and
// the program's arguments, one short line per call, and "end".
//
// ABYSSOR_RECORD=FILE records into FILE, ABYSSOR_REPLAY=FILE replays FILE
// (when both are set the replay wins). ABYSSOR_SCREEN_SUMS=FILE writes a
// checksum of the screen every SCREEN_SUM_FRAMES frames of play and at every
// wait for an event (menus and still screens), in any mode.
const int SCREEN_SUM_FRAMES = 50;
const int REPLAY_VERSION = 1;

// Opens what the environment asks for. A replay hands back the arguments it
// was recorded with in place of *argc and *argv. Returns 0, or -1 after one
// line on stderr when the file cannot be opened or its header is not one of
// a recording this game can replay: the game should then not start.
int platform_open_session(int* argc, char*** argv);
// The same without the environment.
int platform_record_into(const char* path, int argc, char** argv);
int platform_replay_from(const char* path, int* argc, char*** argv);
// Ends the recording with its end mark, or checks that the replay was
// followed to its end. Returns 0, or 1 when the replay failed or the game
// ended before the recording did (one line on stderr says which).
int platform_close_session();
int platform_recording();
int platform_replaying();
// 1 once a replay ran out, proved truncated or corrupt, or fell out of step
// with the game: from then on the game sees no input, a still clock that
// only delays move, and a close request whenever it looks for one, so every
// screen ends and the game leaves the way closing the window leaves.
int platform_replay_failed();
// Everything as the program starts: SDL's own input, no close request, no
// recording or replay (a file still open is closed as it stands, without its
// end mark), no screen checksums.
void platform_reset();

// The game loop reports each frame it has shown: a recording marks it, a
// replay checks that the game is where the recording was, and the screen
// checksums are taken here.
void platform_frame_shown(SDL_Surface* screen);
// Frames shown since the session began.
int platform_frames_shown();
// 32-bit FNV-1a of the visible pixels, row by row (pitch padding left out).
Uint32 screen_checksum(SDL_Surface* screen);

#endif
