#ifndef ABYSSOR_LEVEL_H
#define ABYSSOR_LEVEL_H

const int LEVEL_CAPACITY = 100;
const int LEVEL_DIR_SIZE = 200;
const int LEVEL_CODE_SIZE = 32;
const int LEVEL_PATH_SIZE = 300;

struct LevelEntry {
    char dir[LEVEL_DIR_SIZE];    // the level's directory under SCRIPT
    char code[LEVEL_CODE_SIZE];  // code word shown before the level and typed to start there
    int credit;                  // score credited when a game starts past this level
};

struct LevelCatalogue {
    LevelEntry entries[LEVEL_CAPACITY];
    int count;
};

extern LevelCatalogue levels;

// Reads "SCRIPT/levels.scr"; the game starts again from level 0.
void load_level_catalogue(const char* path);
// No level, as the program starts.
void reset_level_catalogue();

// Builds "SCRIPT/<dir>/<file>" for a level into a buffer of LEVEL_PATH_SIZE
// bytes. Returns 2 when the level does not exist, otherwise the path's length.
int level_script_path(const char* file, char* path, int level);

// Loads the seven scripts of the current level behind the progress bar.
void load_level();

// The same, with the progress (per cent, before every script and 100 at the
// end) handed to show_progress instead of the loading screen.
void load_level_showing(void (*show_progress)(int percentage));

#endif
