// The autoplayer: plays the game through its input module, as a player with
// a keyboard and a mouse would, and says for each level it played whether it
// won, in how many frames, with what score and after how many hits.
//
// It runs the whole program (intro, menu, levels, name entry, credits) in
// its own process with scripted input: whenever the game waits for an event
// it answers as the screen asks, and after every frame of a level it decides
// the next moves. With ABYSSOR_RECORD set (or --record) the session is
// recorded, and the recording replays in the game itself.
//
// Usage: abyssor_autoplayer RUN_FOLDER [--record FILE] [--levels N]
//                           [--each-level [--level L]] [--tour] [--name NAME]
//                           [--frame-limit N] [--human [--skill K] [--seed S] [--games N]]
//   --levels N      a new game, played until N levels are won or one is lost
//   --each-level    every level of the catalogue in its own game, started by
//                   its code (the first by a new game): the winnability report
//   --level L       with --each-level: only level L (from 1)
//   --tour          help, high scores, a wrong code, the second level's code,
//                   a pause, Escape and the name entry
//   --human         plays under a person's limits (human.h) of skill K (1 to
//                   5, 5 unless given), with its own random numbers from
//                   seed S (1 unless given)
//   --games N       with --each-level --human: N games per level, seeds
//                   S ... S + N - 1, each in a fresh program; a line per game
//                   and the level's figures (games won, median score and
//                   hits taken)
// Exit status: 0 when every level played was won (or the tour went round;
// with --games, when every game ran), 1 otherwise, 2 on bad usage.

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "autoplay.h"
#include "human.h"

static void usage()
{
    fprintf(stderr,
            "usage: abyssor_autoplayer RUN_FOLDER [--record FILE] [--levels N | --each-level [--level L] | --tour]\n"
            "                          [--name NAME] [--frame-limit N] [--human [--skill K] [--seed S] [--games N]]\n");
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage();
        return 2;
    }
    AutoplayPlan plan;
    autoplay_default_plan(plan);
    const char* record = NULL;
    int games = 0;
    for (int i = 2; i < argc; i++) {
        const char* option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : NULL;
        if (strcmp(option, "--record") == 0 && value != NULL) {
            record = value;
            i++;
        } else if (strcmp(option, "--levels") == 0 && value != NULL) {
            plan.levels = atoi(value);
            i++;
        } else if (strcmp(option, "--name") == 0 && value != NULL) {
            snprintf(plan.name, sizeof plan.name, "%s", value);
            i++;
        } else if (strcmp(option, "--frame-limit") == 0 && value != NULL) {
            plan.frame_limit = atoi(value);
            i++;
        } else if (strcmp(option, "--level") == 0 && value != NULL) {
            plan.only_level = atoi(value) - 1;
            i++;
        } else if (strcmp(option, "--seed") == 0 && value != NULL) {
            plan.seed = (unsigned)strtoul(value, NULL, 10);
            i++;
        } else if (strcmp(option, "--skill") == 0 && value != NULL) {
            plan.skill = atoi(value);
            i++;
        } else if (strcmp(option, "--games") == 0 && value != NULL) {
            games = atoi(value);
            i++;
        } else if (strcmp(option, "--human") == 0) {
            plan.human = 1;
        } else if (strcmp(option, "--each-level") == 0) {
            plan.each_level = 1;
        } else if (strcmp(option, "--tour") == 0) {
            plan.tour = 1;
        } else {
            usage();
            return 2;
        }
    }
    if (games < 0 || (games > 0 && !(plan.human && plan.each_level)) || plan.only_level < -1
        || (plan.only_level >= 0 && !plan.each_level) || plan.skill < 1 || plan.skill > HUMAN_SKILLS) {
        usage();
        return 2;
    }
    if (chdir(argv[1]) != 0) {
        perror(argv[1]);
        return 2;
    }
    // Headless unless the caller chose otherwise; sound would change nothing
    // the autoplayer looks at.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (record != NULL) setenv("ABYSSOR_RECORD", record, 1);
    if (games > 0) return autoplay_human_games(plan, games, stdout);
    AutoplayReport report;
    int status = autoplay_session(plan, report);
    autoplay_print_report(report, stdout);
    if (status != 0) return 1;
    return autoplay_all_won(plan, report) ? 0 : 1;
}
