#ifndef ABYSSOR_HUMAN_H
#define ABYSSOR_HUMAN_H

#include "scripted_input.h"

// The human-like player: the autoplayer's aims, played under a person's
// limits. A skill is a fixed set of limits; levels are balanced against the
// ladder of skills, never the other way round.
struct HumanSkill {
    // It acts on a creature, a bonus or a danger no sooner than this many
    // frames after it appeared.
    int reaction_frames;
    // It clicks its intended point plus an offset uniform in a disc this
    // wide (radius, pixels).
    int aim_scatter;
    // The pointer moves toward a new point at most this far a frame
    // (pixels), one motion event a frame.
    int pointer_step;
    // Presses of either button start at least this many frames apart.
    int press_gap;
    // For each new target the lead it aims ahead of a moving creature is
    // scaled by a factor uniform in [1 - e, 1 + e].
    double lead_error;
    // The sailing keys (arrows) and the weapon key (Tab) change at most once
    // in this many frames.
    int key_gap;
};

const int HUMAN_SKILLS = 5;
// Skill 1 (slowest) ... 5; 0 is not a skill.
const HumanSkill& human_skill(int skill);

// Shared by every skill: each press is held this many frames, and the right
// button is pressed at most once in this many frames (5 s).
const int HUMAN_PRESS_HOLD = 4;
const int HUMAN_SUPPORT_GAP = 200;

// A new game: the player's own generator starts from the seed (the game's
// generator is left alone) and its limits are those of the skill.
void human_begin_game(unsigned seed, int skill);
// A level starts: nothing seen yet, nothing held, the pointer where it is.
void human_begin_level(const ScriptedInput& input);
// After a frame of play: what the player sees now, and the moves it makes
// before the next frame.
void human_after_frame(ScriptedInput& input);
// Lets go of every button and key it holds.
void human_let_go(ScriptedInput& input);

#endif
