#include "level.h"

LevelCatalogue levels;

void load_level_catalogue(const char*) {}
int level_script_path(const char*, char*, int) { return 2; }
void load_level() {}
