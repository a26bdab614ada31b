#include "media.h"

#include <stdio.h>
#include <string.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "game_state.h"
#include "sprites.h"

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

static int same_pixel_format(const SDL_PixelFormat* a, const SDL_PixelFormat* b)
{
    return a->palette == NULL && b->palette == NULL && a->BytesPerPixel == b->BytesPerPixel &&
           a->Rmask == b->Rmask && a->Gmask == b->Gmask && a->Bmask == b->Bmask && a->Amask == b->Amask;
}

// One axis of a blit's clipping, as SDL_UpperBlit does it: first to the
// source bitmap, then to the target's clip range, the destination held in
// its 16-bit field all the while. Returns the length left (0 or less:
// nothing to draw).
static inline int clip_axis(int& source, int length, int& destination, int source_size, int clip_start, int clip_size)
{
    if (source < 0) {
        length += source;
        destination = (Sint16)(destination - source);
        source = 0;
    }
    if (source_size - source < length) length = source_size - source;
    int before = clip_start - destination;
    if (before > 0) {
        length -= before;
        destination = (Sint16)(destination + before);
        source += before;
    }
    int after = destination + length - clip_start - clip_size;
    if (after > 0) length -= after;
    return length;
}

// The part of a bitmap that a blit of (sx, sy, sw, sh) to (dx, dy) draws,
// and where. Returns 0 when it draws nothing.
struct ClippedPart {
    int source_x, source_y, w, h, x, y;
};

static inline int clip_part(const SDL_Surface* bitmap, int sx, int sy, int sw, int sh, const SDL_Surface* target, int dx,
                     int dy, ClippedPart& part)
{
    // The same 16-bit rectangles as a blit gets.
    SDL_Rect source = make_rect(sx, sy, sw, sh);
    SDL_Rect at = make_rect(dx, dy, 0, 0);
    part.source_x = source.x;
    part.source_y = source.y;
    part.x = at.x;
    part.y = at.y;
    const SDL_Rect& clip = target->clip_rect;
    part.w = clip_axis(part.source_x, source.w, part.x, bitmap->w, clip.x, clip.w);
    part.h = clip_axis(part.source_y, source.h, part.y, bitmap->h, clip.y, clip.h);
    return part.w > 0 && part.h > 0;
}

void release_picture(SDL_Surface* picture)
{
    if (picture == NULL) return;
    release_sprite(picture);
    SDL_FreeSurface(picture);
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
        if (game.screen != NULL) make_sprite(bitmap, game.screen->format);
    }
    prepare_for_screen(bitmap);
    return bitmap;
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

// A plain copy by rows (SDL's own loop for it is several times slower on a
// picture that is not in the cache, as the seabed never is).
static void copy_unlocked(SDL_Surface* bitmap, int sx, int sy, int sw, int sh, SDL_Surface* target, int dx, int dy)
{
    // A blit draws nothing while either surface is locked.
    if (bitmap->locked || target->locked) return;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    if (!SDL_MUSTLOCK(bitmap) || SDL_LockSurface(bitmap) == 0) {
        copy_bitmap_part(bitmap, sx, sy, sw, sh, target, dx, dy);
        if (SDL_MUSTLOCK(bitmap)) SDL_UnlockSurface(bitmap);
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
}

// What a blit of the keyed picture would draw: its opaque pixels.
static void draw_from_sprite(const Sprite& sprite, SDL_Surface* bitmap, int sx, int sy, int sw, int sh,
                             SDL_Surface* target, int dx, int dy)
{
    // A blit draws nothing while either surface is locked.
    if (bitmap->locked || target->locked) return;
    ClippedPart part;
    if (!clip_part(bitmap, sx, sy, sw, sh, target, dx, dy, part)) return;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    Uint8* to = (Uint8*)target->pixels + part.y * target->pitch + part.x * sizeof(Uint16);
    draw_sprite_part(sprite, part.source_x, part.source_y, part.w, part.h, to, target->pitch);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
}

void draw_bitmap_part(SDL_Surface* bitmap, int sx, int sy, int sw, int sh,
                      SDL_Surface* target, int dx, int dy)
{
    if (bitmap == NULL || target == NULL || sw <= 0 || sh <= 0) return;
    if (copies_plainly(bitmap, target)) {
        copy_unlocked(bitmap, sx, sy, sw, sh, target, dx, dy);
        return;
    }
    const Sprite* sprite = sprite_for(bitmap, target);
    if (sprite != NULL) {
        draw_from_sprite(*sprite, bitmap, sx, sy, sw, sh, target, dx, dy);
        return;
    }
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
    return same_pixel_format(bitmap->format, target->format);
}

// Sparks are a pixel or a few wide: a call to memcpy would cost more than
// their rows.
static inline void copy_row(Uint8* to, const Uint8* from, size_t bytes)
{
    switch (bytes) {
    case 2: memcpy(to, from, 2); break;
    case 4: memcpy(to, from, 4); break;
    case 6: memcpy(to, from, 6); break;
    case 8: memcpy(to, from, 8); break;
    default: memcpy(to, from, bytes);
    }
}

void copy_bitmap_part(SDL_Surface* bitmap, int sx, int sy, int sw, int sh,
                      SDL_Surface* target, int dx, int dy)
{
    if (bitmap == NULL || target == NULL || sw <= 0 || sh <= 0) return;
    ClippedPart part;
    if (!clip_part(bitmap, sx, sy, sw, sh, target, dx, dy, part)) return;
    int bytes = target->format->BytesPerPixel;
    const Uint8* from = (const Uint8*)bitmap->pixels + part.source_y * bitmap->pitch + part.source_x * bytes;
    Uint8* to = (Uint8*)target->pixels + part.y * target->pitch + part.x * bytes;
    size_t row_bytes = (size_t)part.w * bytes;
    for (int row = 0; row < part.h; row++) {
        copy_row(to, from, row_bytes);
        from += bitmap->pitch;
        to += target->pitch;
    }
}
