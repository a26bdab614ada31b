#include "sounds.h"

#include <stdio.h>

#include "settings.h"

Mix_Chunk* load_sound(const char* path)
{
    if (settings.sound != 1 || SDL_strstr(path, "NULL") != NULL) return NULL;
    Mix_Chunk* sound = Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
    if (sound != NULL) {
        printf("Nahran zvuk %s\n", path);
        return sound;
    }
    fprintf(stderr, "Nemohu nahrat soubor : %s !!!\n", path);
    return NULL;
}

void release_sound(Mix_Chunk*& sound)
{
    if (sound != NULL) Mix_FreeChunk(sound);
    sound = NULL;
}

void play_sound(Mix_Chunk* sound, int channel, int repeats)
{
    // The mixer indexes its table with any channel but -1: never hand it
    // another negative number.
    if (settings.sound != 1 || sound == NULL || channel < 0) return;
    Mix_PlayChannelTimed(channel, sound, repeats, -1);
}

void stop_all_sounds()
{
    if (settings.sound == 1) Mix_HaltChannel(-1);
}
