#ifndef ABYSSOR_AUTOPLAY_H
#define ABYSSOR_AUTOPLAY_H

#include <stdio.h>

const int AUTOPLAY_MAX_LEVELS = 100;
const int AUTOPLAY_MAX_GAMES = 1000;

struct AutoplayPlan {
    int levels;        // levels to win in one new game
    int each_level;    // every level in a game of its own
    int only_level;    // with each_level: just this level (from 0), -1 all
    int human;         // under a person's limits (human.h)
    int skill;         // the human-like player's skill, 1 ... 5
    unsigned seed;     // the human-like player's own random numbers
    int tour;          // the front end's tour instead of a game to win
    int frame_limit;   // a level not won by then is given up (Escape)
    char name[16];     // typed into the high-score table
};

enum LevelOutcome { OUTCOME_NONE = 0, OUTCOME_WON, OUTCOME_LOST, OUTCOME_GIVEN_UP };

struct LevelSummary {
    int level;      // index in the catalogue
    int outcome;
    int frames;
    int score;      // the game's score when the level ended
    int hits;       // times the submarine lost hit points
    int lamp_outs;  // times the ready lamp went out: the gun met its heat limit
};

struct AutoplayReport {
    LevelSummary levels[AUTOPLAY_MAX_LEVELS];
    int count;
    int game_status;  // what the game's main returned
};

void autoplay_default_plan(AutoplayPlan& plan);
// Runs the whole program with the autoplayer at the keyboard and mouse.
// Returns the game's status.
int autoplay_session(const AutoplayPlan& plan, AutoplayReport& report);
void autoplay_print_report(const AutoplayReport& report, FILE* out);
// Every level the plan meant to play was played and won.
int autoplay_all_won(const AutoplayPlan& plan, const AutoplayReport& report);
// The human-like player's figures: every level of the catalogue (or the
// plan's only_level) in `games` games of its own, each in a fresh program,
// with the player's seeds plan.seed ... plan.seed + games - 1. Prints a line
// per game and, per level, "autoplayer: level L (NAME): human-like, skill K,
// won W of N, median score S, median hits taken H". Returns 0, or 1 when a
// game's program failed.
int autoplay_human_games(const AutoplayPlan& plan, int games, FILE* out);

// --- Shared by the unlimited and the human-like player ------------------------

struct WeaponDef;

// Air support is called on a crowd this big, or on one creature this close.
const int SUPPORT_CROWD = 3;
const int SUPPORT_CLOSE = 90;
// A creature this close to the submarine makes it sail faster.
const int DANGER_DISTANCE = 110;

struct AimTarget {
    int found;
    double x, y;      // where to aim
    double priority;  // lower first; 5000 and more: beyond the reach
    int slot;         // bonus slot, or BONUS_SLOTS + creature slot
    int crowd;        // creatures within the reach
    int danger;       // a surfaced creature close to the submarine
};

// Whether the player has seen bonus slot i (creature 0) or creature slot i
// (creature 1) long enough to act on it; NULL sees everything at once.
typedef int (*SeenTest)(int creature, int i);

// Distance from the submarine on the flattened sea.
double flat_distance(double x, double y);
// Bonuses within the reach first, then the creature nearest the submarine
// (aimed where a shell fired now finds it); beyond the reach, the nearest.
AimTarget choose_target(const WeaponDef& w, double reach, SeenTest seen);
int support_available();
// What the panel's ready lamp shows: one more shell of the weapon stays below
// the heat limit.
int lamp_lit(const WeaponDef& w);

#endif
