#ifndef ABYSSOR_HUMAN_H
#define ABYSSOR_HUMAN_H

#include "scripted_input.h"

// The human-like player: the autoplayer's aims, played under a person's
// limits. These are fixed; levels are balanced against them, never the
// other way round.
//
// It acts on a creature, a bonus or a danger no sooner than this many frames
// (300 ms) after it appeared.
const int HUMAN_REACTION_FRAMES = 12;
// It clicks its intended point plus an offset uniform in a disc this wide
// (radius, pixels).
const int HUMAN_AIM_SCATTER = 12;
// The pointer moves toward a new point at most this far a frame (pixels),
// one motion event a frame.
const int HUMAN_POINTER_STEP = 40;
// Presses of either button start at least this many frames apart (four a
// second) and are each held this many frames.
const int HUMAN_PRESS_GAP = 10;
const int HUMAN_PRESS_HOLD = 4;
// The right button at most once in this many frames (5 s).
const int HUMAN_SUPPORT_GAP = 200;
// The sailing keys (arrows) and the weapon key (Tab) change at most once in
// this many frames.
const int HUMAN_KEY_GAP = 20;

// A new game: the player's own generator starts from the seed (the game's
// generator is left alone).
void human_begin_game(unsigned seed);
// A level starts: nothing seen yet, nothing held, the pointer where it is.
void human_begin_level(const ScriptedInput& input);
// After a frame of play: what the player sees now, and the moves it makes
// before the next frame.
void human_after_frame(ScriptedInput& input);
// Lets go of every button and key it holds.
void human_let_go(ScriptedInput& input);

#endif
