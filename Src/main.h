#ifndef ABYSSOR_MAIN_H
#define ABYSSOR_MAIN_H

// Effect switches of the command line, held until start-up ends, and the
// scale switch (video.h) that start-up opens the window with.
struct CommandLine {
    int effect1;
    int effect2;
    int scale;
};

extern CommandLine command_line;
extern int menu_loaded;

void parse_switches(int argc, char** argv);
// Returns 0, or 1 when the video surface cannot be created.
int start_up();
// Releases everything a level loaded: every catalogue frees its pictures and
// sounds and prints its line, in a fixed order; then the shot pool is emptied.
void free_level();
// Puts every global the game keeps back as the program starts: each module's
// reset releases what it holds, by the same path as its release after a
// level, then puts its globals at their first state; the mixer and SDL are
// closed. The tests call it before every test so that the whole suite can run
// in one process; a module that gains a global gains its reset here (a test
// fails on a global that tests/game_globals.txt does not list, or whose
// module's reset is not called here).
void reset_game_globals();
// Writes the frame-rate report of the level played last.
void write_fps_report(const char* path);
// The whole program: start-up, intro, menu and games, and the way out.
int game_main(int argc, char** argv);

#endif
