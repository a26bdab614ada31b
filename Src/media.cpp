#include "media.h"

#include <stdio.h>

#include "settings.h"

SDL_Surface* load_bitmap(const char* path, int colour_key)
{
    SDL_Surface* bitmap = SDL_LoadBMP_RW(SDL_RWFromFile(path, "rb"), 1);
    if (bitmap == NULL) {
        fprintf(stderr, "Nemohu nahrat soubor : %s. Chyba: %s\n", path, SDL_GetError());
        return NULL;
    }
    if (colour_key == 1) {
        Uint32 key = 0;
        if (bitmap->w > 0 && bitmap->h > 0 && bitmap->pixels != NULL) {
            const Uint8* first = (const Uint8*)bitmap->pixels;
            key = first[0];
        }
        SDL_SetColorKey(bitmap, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
    }
    return bitmap;
}

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

static Sint16 to_coordinate(int value)
{
    if (value < -32768) return -32768;
    if (value > 32767) return 32767;
    return (Sint16)value;
}

static Uint16 to_extent(int value)
{
    if (value < 0) return 0;
    if (value > 65535) return 65535;
    return (Uint16)value;
}

SDL_Rect make_rect(int x, int y, int w, int h)
{
    SDL_Rect rect;
    rect.x = to_coordinate(x);
    rect.y = to_coordinate(y);
    rect.w = to_extent(w);
    rect.h = to_extent(h);
    return rect;
}

void draw_bitmap_part(SDL_Surface* bitmap, int sx, int sy, int sw, int sh,
                      SDL_Surface* target, int dx, int dy)
{
    if (bitmap == NULL || target == NULL || sw <= 0 || sh <= 0) return;
    SDL_Rect source = make_rect(sx, sy, sw, sh);
    SDL_Rect destination = make_rect(dx, dy, 0, 0);
    SDL_BlitSurface(bitmap, &source, target, &destination);
}

void draw_bitmap(SDL_Surface* bitmap, SDL_Surface* target, int dx, int dy)
{
    if (bitmap == NULL) return;
    draw_bitmap_part(bitmap, 0, 0, bitmap->w, bitmap->h, target, dx, dy);
}
