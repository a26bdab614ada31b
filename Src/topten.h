#ifndef ABYSSOR_TOPTEN_H
#define ABYSSOR_TOPTEN_H

#include <SDL/SDL.h>

const int TOPTEN_ENTRIES = 10;
const int TOPTEN_NAME_SIZE = 8;

struct TopTenEntry {
    char name[TOPTEN_NAME_SIZE];
    int level;
    int score;
};

struct TopTenTable {
    TopTenEntry entries[TOPTEN_ENTRIES];
};

extern TopTenTable topten;

void load_topten(const char* path);
void sort_topten();
void save_topten(const char* path);
// A score qualifies when some entry's score is strictly below it.
int topten_qualifies(int score);
void insert_topten(const char* name, int score, int level_index);
void show_topten(SDL_Surface* screen);
void enter_name(SDL_Surface* screen);

#endif
