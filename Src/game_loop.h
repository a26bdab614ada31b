#ifndef ABYSSOR_GAME_LOOP_H
#define ABYSSOR_GAME_LOOP_H

#include <SDL/SDL.h>

#include "game_state.h"

enum LevelResult {
    LEVEL_PLAYING = 0,
    LEVEL_OVER = 1,  // submarine lost, Escape, or the last level won
    LEVEL_WON = 2
};

// What one frame takes from the player: the last event drained (which stays
// in force in frames without events, so a button held still keeps acting),
// what this frame's events pressed and moved, and the keys held.
struct FrameInput {
    Uint8 event_type;    // SDL event type of the last event, SDL_NOEVENT when none yet
    Uint8 button;        // its mouse button, for button events
    Uint8 pressed;       // SDL_BUTTON masks of the buttons pressed in this frame's events
    Uint8 moved;         // the pointer moved in this frame's events
    Uint8 key_p;         // P pressed in this frame's events: the pause toggles on presses
    Uint8 key_escape, key_left, key_right, key_tab;
    Uint8 quit;          // the player has asked to close the window: ends the level as Escape does
};

// The still screens that interrupt a level. A level shows the game's own
// (GAME_SCREENS); a test may hand in others to see which comes when.
struct LevelScreens {
    void (*announcement)();
    void (*level_completed)();
    void (*game_over)();
    void (*pause)();
};

extern const LevelScreens GAME_SCREENS;

// The state of one run of a level that outlives a frame.
struct LevelRun {
    SDL_Event event;            // the last event drained, kept from frame to frame
    int result;                 // LEVEL_PLAYING while the level goes on
    int fire_click;             // left button pressed in this frame
    int creatures_pending;      // some creature kind is not yet exhausted
    int next_enemy_plane_frame;
    const LevelScreens* screens;  // GAME_SCREENS unless a test put in its own
};

// Plays the loaded level from its announcement to its end screen.
int run_level();
// The same with the given still screens.
int run_level_showing(const LevelScreens& screens);

// The parts of run_level, so that tests can drive a level frame by frame.
void begin_level(LevelRun& run);  // clocks, pools, cursor, the game's screens; no announcement
FrameInput read_frame_input(LevelRun& run);  // drains the events, reads the keys
void play_frame(LevelRun& run, FrameInput& input);  // one frame, flip and pacing included
void finish_level(LevelRun& run);  // sounds stopped, level time taken


// Draws crosshair n (0 within reach, 1 beyond) centred on the pointer.
void draw_crosshair(int n);

#endif
