#ifndef ABYSSOR_SETTINGS_H
#define ABYSSOR_SETTINGS_H

#include <SDL/SDL.h>

// Values that tune the whole game whatever the level: read once from
// "SCRIPT/misc.scr" at start-up, plus the video flags of the command line.
struct GameSettings {
    int max_teplota;     // heat limit of the gun
    int chlazeni;        // heat the gun loses every frame
    int zivot_bonusu;    // frames a dropped bonus floats
    float odpor_vzduchu; // velocity factor per frame of falling bombs
    int laser;           // air-support calls per game
    int efekt01;         // particle ring at deaths
    int efekt02;         // particle ring where shells land
    int sound;           // 1: audio in use
    Uint32 video_flags;
};

extern GameSettings settings;

// Reads the settings script (normally "SCRIPT/misc.scr"). Reading the
// air-support calls also refills the game's current calls.
void load_settings(const char* path);
// Every setting 0, as the program starts.
void reset_settings();

#endif
