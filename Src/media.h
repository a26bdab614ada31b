#ifndef ABYSSOR_MEDIA_H
#define ABYSSOR_MEDIA_H

#include <SDL/SDL.h>
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

// Loads a BMP picture. With colour_key 1 its transparent colour is the first
// byte of its pixel data (the top-left pixel of a palettised picture), and
// a palettised picture also keeps a copy of its opaque runs in the screen's
// format, from which it is drawn. Its pixels must not change afterwards.
// Returns NULL, after one error line, when the picture cannot be loaded.
SDL_Surface* load_bitmap(const char* path, int colour_key);

// Frees a picture from load_bitmap with the copy for the screen that it may
// keep beside it (free_bitmap of the graphics bank does this).
void release_picture(SDL_Surface* picture);

// Frees every copy kept for the screen, as the program starts with none.
void reset_screen_copies();

// Keeps the memory of released pictures for the next ones instead of giving
// it back to the system: a level's seabed and strips are blocks of hundreds
// of kilobytes, and fresh ones must be faulted in page by page on every load.
// Called once at start.
void keep_released_picture_memory();

// Loads a WAV sound; NULL at once, silently, while audio is off or when the
// name contains "NULL".
Mix_Chunk* load_sound(const char* path);

// Frees a loaded sound and empties the field, whatever the audio switch says
// now (the resets: a sound loaded while audio was on must not leak).
void release_loaded_sound(Mix_Chunk*& sound);

// Plays a sound 1 + repeats times on a channel (repeats -1: until stopped).
// Does nothing while audio is off or for an empty sound.
void play_sound(Mix_Chunk* sound, int channel, int repeats);

// Halts every channel (while audio is on).
void stop_all_sounds();

// Draws the part (sx, sy, sw, sh) of a bitmap with its top-left corner at
// (dx, dy), exactly as SDL's blit would: clipped to the bitmap and to the
// target's clip rectangle, nothing while either is locked. A plain copy goes
// by memcpy rows, a keyed picture from its copy for the screen. An empty
// bitmap or target draws nothing.
void draw_bitmap_part(SDL_Surface* bitmap, int sx, int sy, int sw, int sh,
                      SDL_Surface* target, int dx, int dy);

// Whether copy_bitmap_part can stand in for draw_bitmap_part: the bitmap has
// the target's pixel format and no transparent colour or alpha, so a blit
// would be a plain copy.
int copies_plainly(const SDL_Surface* bitmap, const SDL_Surface* target);

// draw_bitmap_part for such a bitmap onto a target that the caller has
// locked (many small pictures under one lock), clipped exactly as a blit is.
void copy_bitmap_part(SDL_Surface* bitmap, int sx, int sy, int sw, int sh,
                      SDL_Surface* target, int dx, int dy);

// Draws a whole bitmap with its top-left corner at (dx, dy).
void draw_bitmap(SDL_Surface* bitmap, SDL_Surface* target, int dx, int dy);

// Builds an SDL rectangle from ints, holding each value inside the range of
// its 16-bit field so that far-off coordinates never wrap onto the screen.
SDL_Rect make_rect(int x, int y, int w, int h);

#endif
