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

// A name as one word of the table's file and back (see topten.cpp). The
// word buffer needs room for 3 x 7 bytes and the zero; the name buffer is
// TOPTEN_NAME_SIZE bytes.
void encode_topten_name(const char* name, char* word, int word_size);
void decode_topten_name(const char* word, char* name);

void load_topten(const char* path);
// An empty table, as the program starts.
void reset_topten();
void sort_topten();
// Replaces the file only once the whole new table is written.
void save_topten(const char* path);
// A score qualifies when some entry's score is strictly below it.
int topten_qualifies(int score);
void insert_topten(const char* name, int score, int level_index);
// The table's picture with every entry in the menu font, without flipping.
void draw_topten(SDL_Surface* screen);
void show_topten(SDL_Surface* screen);
void enter_name(SDL_Surface* screen);

#endif
