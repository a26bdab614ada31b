#ifndef ABYSSOR_SESSION_H
#define ABYSSOR_SESSION_H

#include <SDL/SDL.h>

// Record and replay of whole sessions, in the game's own terms: what the
// player did and when. "When" is where the game stood: the frames of play it
// had shown, the waits for the player it had begun and the milliseconds it
// had slept. A recording holds the events the game took (per frame of play
// the ones that frame drained, per wait the one that ended it), the keys held
// and the pointer only where they differ from what those events say, the
// close requests, and the clock only where it differs from the sleeps added
// up. Played back, each is handed out where the game stands where it was
// taken, so reading the clock or polling an empty queue more or less often
// changes nothing; the game takes the very same path, as fast as it can go
// (delays are skipped) and whatever the video driver. The file is text: a
// header with its version and the program's arguments, a short line per
// item (docs/testing.md), and "end" with where the game ended.
//
// ABYSSOR_RECORD=FILE records into FILE, ABYSSOR_REPLAY=FILE replays FILE
// (when both are set the replay wins). ABYSSOR_SCREEN_SUMS=FILE writes a
// checksum of the screen every SCREEN_SUM_FRAMES frames of play and at every
// wait for the player (menus and still screens), in any mode.
const int SCREEN_SUM_FRAMES = 50;
const int REPLAY_VERSION = 2;

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
// with the game: from then on the game sees no input, a clock that only
// delays move, and a close request whenever it looks for one, so every
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
// The seam tells the session where the game stands, in every mode: a frame
// shown, a wait begun, an event taken, a delay slept. While recording, what
// the live input gave is written down; while a replay runs, the replayed_
// calls answer in the live input's place.
void session_frame_shown(SDL_Surface* screen);
// Every wait for the player, before it is answered: a checksum of the
// screen that waits, when asked for.
void session_wait_begins();
void session_event_taken(const SDL_Event& event);
void session_delayed(Uint32 ms);
// The live input's count of close requests, after every call that may have
// drained one.
void session_close_requests_seen(int requests);
// What the game read of the live key table and pointer; written down where
// it differs from what the events taken say.
void session_keys_read(const Uint8* keys);
void session_pointer_read(int x, int y, Uint8 buttons);
// While recording, the clock is read afresh only when the game has moved on
// since the last reading (*ticks is then left alone and 0 returned);
// otherwise 1 and the time of that reading, as the replay will give it.
int session_clock_unchanged(Uint32* ticks);
Uint32 session_clock_read(Uint32 live_ticks);
// A wait, or a poll in a loop that stops on it, found that no input can
// come any more.
void session_input_dry();

int replayed_poll_event(SDL_Event* event);
int replayed_wait_event(SDL_Event* event);
int replayed_wait_key_press();
void replayed_drop_queued_events();
Uint8* replayed_key_state();
Uint8 replayed_mouse_state(int* x, int* y);
Uint32 replayed_ticks();
void replayed_delay(Uint32 ms);
int replayed_delay_unless_quit(Uint32 ms);
int replayed_input_exhausted();
int replayed_quit_requests();

#endif
