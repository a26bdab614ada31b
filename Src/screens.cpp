#include "screens.h"

// The still screens' own work fills these in; until then a level starts and
// ends without them.
void show_announcement_screen() {}
void show_level_completed_screen() {}
void show_game_over_screen() {}
void show_pause_screen() {}
