#include "media.h"

#include <stdio.h>
#include <string.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "game_state.h"
#include "settings.h"

// SDL builds a picture's colour map for the screen at its first blit. An
// empty blit does that at loading, so that playing a frame allocates nothing.
static void prepare_for_screen(SDL_Surface* bitmap)
{
    SDL_Surface* screen = game.screen;
    if (screen == NULL || bitmap == NULL) return;
    SDL_Rect nothing = {0, 0, 0, 0};
    SDL_Rect at = {0, 0, 0, 0};
    SDL_LowerBlit(bitmap, &nothing, screen, &at);
}

void keep_released_picture_memory()
{
#if defined(__GLIBC__)
    // Blocks below 32 MB come from the heap and stay there when released,
    // up to 64 MB kept free; a whole level's pictures are a few megabytes.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

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
    prepare_for_screen(bitmap);
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

void release_loaded_sound(Mix_Chunk*& sound)
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

int copies_plainly(const SDL_Surface* bitmap, const SDL_Surface* target)
{
    if (bitmap == NULL || target == NULL) return 0;
    if ((bitmap->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA | SDL_RLEACCEL)) != 0) return 0;
    const SDL_PixelFormat* a = bitmap->format;
    const SDL_PixelFormat* b = target->format;
    return a->palette == NULL && b->palette == NULL && a->BytesPerPixel == b->BytesPerPixel &&
           a->Rmask == b->Rmask && a->Gmask == b->Gmask && a->Bmask == b->Bmask && a->Amask == b->Amask;
}

// One axis of a blit's clipping: first to the source bitmap, then to the
// target's clip range. Returns the length left (0 or less: nothing to copy).
static int clip_axis(int& source, int length, int& destination, int source_size, int clip_start, int clip_size)
{
    if (source < 0) {
        length += source;
        destination -= source;
        source = 0;
    }
    if (source_size - source < length) length = source_size - source;
    int before = clip_start - destination;
    if (before > 0) {
        length -= before;
        destination += before;
        source += before;
    }
    int after = destination + length - clip_start - clip_size;
    if (after > 0) length -= after;
    return length;
}

void copy_bitmap_part(SDL_Surface* bitmap, int sx, int sy, int sw, int sh,
                      SDL_Surface* target, int dx, int dy)
{
    if (bitmap == NULL || target == NULL || sw <= 0 || sh <= 0) return;
    // The same 16-bit rectangles as a blit gets.
    SDL_Rect part = make_rect(sx, sy, sw, sh);
    SDL_Rect at = make_rect(dx, dy, 0, 0);
    int source_x = part.x, source_y = part.y, x = at.x, y = at.y;
    const SDL_Rect& clip = target->clip_rect;
    int w = clip_axis(source_x, part.w, x, bitmap->w, clip.x, clip.w);
    int h = clip_axis(source_y, part.h, y, bitmap->h, clip.y, clip.h);
    if (w <= 0 || h <= 0) return;
    int bytes = target->format->BytesPerPixel;
    const Uint8* from = (const Uint8*)bitmap->pixels + source_y * bitmap->pitch + source_x * bytes;
    Uint8* to = (Uint8*)target->pixels + y * target->pitch + x * bytes;
    for (int row = 0; row < h; row++) {
        memcpy(to, from, (size_t)w * bytes);
        from += bitmap->pitch;
        to += target->pitch;
    }
}
