#ifndef ABYSSOR_SOUNDS_H
#define ABYSSOR_SOUNDS_H

#include <SDL/SDL_mixer.h>

// Mixer channels by kind of sound, so that sounds of one kind cut each other
// off instead of piling up.
enum SoundChannel {
    CHANNEL_SURFACING = 0,  // a creature reaching the surface
    CHANNEL_HIT = 1,        // shots hitting, creatures dying
    CHANNEL_SUBMARINE = 2,  // the submarine's death and collisions
    CHANNEL_SHOT = 3,       // firing and splashes
    CHANNEL_ANNOUNCE = 4,   // bonuses, screens, menu, overheat warning
    CHANNEL_PLANE = 5       // plane engines
};

// Loads a WAV sound; NULL at once, silently, while audio is off or when the
// name contains "NULL".
Mix_Chunk* load_sound(const char* path);

// The one release of a loaded sound: frees it and empties the field. Audio
// off loads nothing, so whatever is loaded is freed, whatever the audio
// switch says now.
void release_sound(Mix_Chunk*& sound);

// Plays a sound 1 + repeats times on a channel (repeats -1: until stopped).
// Does nothing while audio is off or for an empty sound.
void play_sound(Mix_Chunk* sound, int channel, int repeats);

// Halts every channel (while audio is on).
void stop_all_sounds();

#endif
