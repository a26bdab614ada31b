#ifndef ABYSSOR_SCREENS_H
#define ABYSSOR_SCREENS_H

// The still screens that interrupt the game loop.
void show_announcement_screen();
void show_level_completed_screen();
void show_game_over_screen();
void show_pause_screen();

#endif
