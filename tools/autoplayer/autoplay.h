#ifndef ABYSSOR_AUTOPLAY_H
#define ABYSSOR_AUTOPLAY_H

#include <stdio.h>

const int AUTOPLAY_MAX_LEVELS = 100;

struct AutoplayPlan {
    int levels;        // levels to win in one new game
    int each_level;    // every level in a game of its own
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

#endif
