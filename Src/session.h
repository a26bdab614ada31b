#ifndef ABYSSOR_SESSION_H
#define ABYSSOR_SESSION_H

#include <SDL/SDL.h>

// Record and replay of whole sessions. A recording holds everything the
// input seam (platform.h) hands the game, in order: events, key tables, the
// mouse, the clock, close requests and the frames shown; played back, it
// makes the game take the very same path, as fast as it can go (delays are
// skipped) and whatever the video driver. The file is text: a header with
// its version and the program's arguments, one short line per call, and
// "end".
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
int session_open(int* argc, char*** argv);
// The same without the environment.
int session_record_into(const char* path, int argc, char** argv);
int session_replay_from(const char* path, int* argc, char*** argv);
// Ends the recording with its end mark, or checks that the replay was
// followed to its end. Returns 0, or 1 when the replay failed or the game
// ended before the recording did (one line on stderr says which).
int session_close();
int session_recording();
int session_replaying();
// 1 once a replay ran out, proved truncated or corrupt, or fell out of step
// with the game: from then on the game sees no input, a still clock that
// only delays move, and a close request whenever it looks for one, so every
// screen ends and the game leaves the way closing the window leaves.
int session_replay_failed();
// As the program starts: no recording or replay (a file still open is
// closed as it stands, without its end mark), no screen checksums.
void session_reset();

// Frames shown since the session began.
int session_frames_shown();
// 32-bit FNV-1a of the visible pixels, row by row (pitch padding left out).
Uint32 screen_checksum(SDL_Surface* screen);

// --- For the input seam alone ---------------------------------------------
// While a replay runs, each call of the seam takes its answer from it
// (replayed_...); otherwise the seam asks SDL or the scripted input and
// passes the answer through recorded_..., which writes it down while
// recording and returns it unchanged.
int replayed_poll_event(SDL_Event* event);
int recorded_poll_event(int result, const SDL_Event& event);
// Every wait for an event, before it is answered: a checksum of the screen
// that waits, when asked for.
void session_wait_begins();
int replayed_wait_event(SDL_Event* event);
// drained: whether the wait took an event into *event.
int recorded_wait_event(int result, int drained, const SDL_Event& event);
Uint8* replayed_key_state();
Uint8* recorded_key_state(Uint8* keys);
Uint8 replayed_mouse_state(int* x, int* y);
Uint8 recorded_mouse_state(int x, int y, Uint8 buttons);
Uint32 replayed_ticks();
Uint32 recorded_ticks(Uint32 ticks);
void replayed_delay(Uint32 ms);
int replayed_input_exhausted();
int recorded_input_exhausted(int exhausted);
int replayed_quit_requests();
int recorded_quit_requests(int requests);
int replayed_take_quit_requests();
int recorded_take_quit_requests(int requests);
int replayed_delay_unless_quit();
int recorded_delay_unless_quit(int cut_short);
// A frame the game has shown: a recording marks it, a replay checks that the
// game is where the recording was, and the screen checksums are taken here.
void session_frame_shown(SDL_Surface* screen);

#endif
