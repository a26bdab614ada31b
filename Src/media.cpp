#include "media.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
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

// Colour-keyed pictures are palettised; SDL draws them onto the 16-bit
// screen pixel by pixel, looking every colour up, and its run-length path
// (which needs the screen's format) reads each row from its start up to the
// part drawn, while strips are thousands of pixels wide. So each keeps beside
// it a copy for the screen: its opaque runs, cut into tiles of 64 columns,
// with their pixels in the screen's format as SDL's blit maps them. Which
// pixels are opaque comes from the palette indexes, so a colour that the
// screen rounds to the key's value stays drawn, as in SDL's blit. The picture
// itself stays as loaded: fonts and anything else that reads its pixels read
// palette indexes. A copy holds a reference to its picture, so that a
// picture freed without free_bitmap keeps its address until the copies are
// reset, and no later picture can be taken for it.
//
// The runs of tile t, row y start at runs[run_start[t * h + y]]: for each
// run its first column in the tile, its length and its pixels, then
// RUN_END.
struct ScreenCopy {
    SDL_Surface* picture;  // NULL: a free entry
    Uint32* run_start;     // one block holding the starts and then the runs
    const Uint16* runs;
    Uint32 key;            // the picture's key when the copy was made
    Uint32 masks[3];       // the red, green and blue masks of the pixels
};

const int COPY_TILE_WIDTH = 64;
const Uint16 RUN_END = 0xFFFF;
const int SCREEN_COPY_CAPACITY = 1024;  // a power of two
static ScreenCopy screen_copies[SCREEN_COPY_CAPACITY];

static int home_slot(const SDL_Surface* picture)
{
    Uint64 address = (Uint64)(uintptr_t)picture;
    return (int)(((address >> 4) * 0x9E3779B97F4A7C15ull) >> 54) & (SCREEN_COPY_CAPACITY - 1);
}

// The slot holding the picture's copy, or the free slot where it would go
// (-1 when the table is full).
static int copy_slot(const SDL_Surface* picture)
{
    int slot = home_slot(picture);
    for (int probes = 0; probes < SCREEN_COPY_CAPACITY; probes++) {
        if (screen_copies[slot].picture == picture || screen_copies[slot].picture == NULL) return slot;
        slot = (slot + 1) & (SCREEN_COPY_CAPACITY - 1);
    }
    return -1;
}

static int tile_count(const SDL_Surface* picture)
{
    return (picture->w + COPY_TILE_WIDTH - 1) / COPY_TILE_WIDTH;
}

// Eight palette indexes at once: whether all are the key, whether none is.
static Uint64 eight_at(const Uint8* indexes, int x)
{
    Uint64 eight;
    memcpy(&eight, indexes + x, sizeof eight);
    return eight;
}

static int none_is(Uint64 eight, Uint64 keys)
{
    const Uint64 ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    Uint64 zero_where_key = eight ^ keys;
    return ((zero_where_key - ones) & ~zero_where_key & highs) == 0;
}

// The first column from x on (before right) whose index is (opaque 0) or is
// not (opaque 1) the key, or right. Pictures are mostly long stretches of
// either, taken eight at a time.
static int skip_while(const Uint8* indexes, int x, int right, Uint8 key, int opaque)
{
    Uint64 keys = 0x0101010101010101ull * key;
    while (x < right) {
        if (x % 8 == 0 && x + 8 <= right) {
            Uint64 eight = eight_at(indexes, x);
            if (opaque ? none_is(eight, keys) : eight == keys) {
                x += 8;
                continue;
            }
        }
        if ((indexes[x] != key) != opaque) break;
        x++;
    }
    return x;
}

// Writes the runs of one row of one tile (only counts them when runs is
// NULL); returns the 16-bit words they take.
static size_t write_runs(const SDL_Surface* picture, const Uint16* colours, int tile, int y, Uint16* runs)
{
    const Uint8* indexes = (const Uint8*)picture->pixels + y * picture->pitch;
    Uint8 key = (Uint8)picture->format->colorkey;
    int left = tile * COPY_TILE_WIDTH;
    int right = picture->w - left < COPY_TILE_WIDTH ? picture->w : left + COPY_TILE_WIDTH;
    size_t words = 0;
    for (int x = skip_while(indexes, left, right, key, 0); x < right; x = skip_while(indexes, x, right, key, 0)) {
        int start = x;
        x = skip_while(indexes, x, right, key, 1);
        if (runs != NULL) {
            runs[words] = (Uint16)(start - left);
            runs[words + 1] = (Uint16)(x - start);
            for (int i = start; i < x; i++) runs[words + 2 + i - start] = colours[indexes[i]];
        }
        words += 2 + (size_t)(x - start);
    }
    if (runs != NULL) runs[words] = RUN_END;
    return words + 1;
}

static void make_screen_copy(SDL_Surface* picture)
{
    SDL_Surface* screen = game.screen;
    if (screen == NULL) return;
    SDL_PixelFormat* f = screen->format;
    const SDL_Palette* palette = picture->format->palette;
    if (palette == NULL || picture->format->BitsPerPixel != 8 || f->BytesPerPixel != 2 || f->palette != NULL ||
        f->Amask != 0 || picture->w <= 0 || picture->h <= 0 || picture->format->colorkey > 255)
        return;
    int slot = copy_slot(picture);
    if (slot < 0 || screen_copies[slot].picture != NULL) return;
    // On a screen without alpha SDL's blit writes a palette colour as
    // SDL_MapRGB gives it. (The loader refuses pixels beyond the palette.)
    Uint16 colours[256] = {};
    for (int i = 0; i < palette->ncolors && i < 256; i++)
        colours[i] = (Uint16)SDL_MapRGB(f, palette->colors[i].r, palette->colors[i].g, palette->colors[i].b);
    size_t records = (size_t)tile_count(picture) * picture->h;
    size_t words = 0;
    for (int t = 0; t < tile_count(picture); t++)
        for (int y = 0; y < picture->h; y++) words += write_runs(picture, colours, t, y, NULL);
    if (words > 0xFFFFFFFFu) return;
    Uint32* block = (Uint32*)malloc(records * sizeof(Uint32) + words * sizeof(Uint16));
    if (block == NULL) return;
    Uint16* runs = (Uint16*)(block + records);
    size_t at = 0;
    for (int t = 0; t < tile_count(picture); t++)
        for (int y = 0; y < picture->h; y++) {
            block[(size_t)t * picture->h + y] = (Uint32)at;
            at += write_runs(picture, colours, t, y, runs + at);
        }
    picture->refcount++;
    screen_copies[slot] = ScreenCopy{picture, block, runs, picture->format->colorkey, {f->Rmask, f->Gmask, f->Bmask}};
}

// The copy to draw instead of the picture onto the target, if the picture
// has one in the target's format and still has the key it was copied with
// (a font takes another one).
static const ScreenCopy* screen_copy(SDL_Surface* picture, const SDL_Surface* target)
{
    if (picture->format->palette == NULL || (picture->flags & SDL_SRCCOLORKEY) == 0) return NULL;
    int slot = copy_slot(picture);
    if (slot < 0 || screen_copies[slot].picture != picture) return NULL;
    const ScreenCopy& entry = screen_copies[slot];
    const SDL_PixelFormat* f = target->format;
    if (entry.key != picture->format->colorkey || f->palette != NULL || f->BytesPerPixel != 2 ||
        f->Rmask != entry.masks[0] || f->Gmask != entry.masks[1] || f->Bmask != entry.masks[2] || f->Amask != 0)
        return NULL;
    return &entry;
}

// The columns of the part that one tile holds, row by row. A tile's rows
// follow one another, so the runs are read in one sweep. to points at where
// the part's first column goes on its first row.
static void draw_copy_tile(const ScreenCopy& entry, const ClippedPart& part, int tile, Uint8* to, int pitch)
{
    int left = tile * COPY_TILE_WIDTH;
    int end = part.source_x + part.w;
    const Uint16* run = entry.runs + entry.run_start[(size_t)tile * entry.picture->h + part.source_y];
    for (int row = 0; row < part.h; row++, run++, to += pitch) {
        for (; run[0] != RUN_END; run += 2 + run[1]) {
            int from = left + run[0];
            int until = from + run[1];
            int a = from > part.source_x ? from : part.source_x;
            int b = until < end ? until : end;
            if (a < b) memcpy((Uint16*)to + (a - part.source_x), run + 2 + (a - from), (size_t)(b - a) * sizeof(Uint16));
        }
    }
}

// Draws what a blit of the picture would: its opaque pixels.
static void draw_screen_copy(const ScreenCopy& entry, int sx, int sy, int sw, int sh, SDL_Surface* target, int dx,
                             int dy)
{
    // A blit draws nothing while either surface is locked.
    if (entry.picture->locked || target->locked) return;
    ClippedPart part;
    if (!clip_part(entry.picture, sx, sy, sw, sh, target, dx, dy, part)) return;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    Uint8* to = (Uint8*)target->pixels + part.y * target->pitch + part.x * sizeof(Uint16);
    for (int tile = part.source_x / COPY_TILE_WIDTH; tile * COPY_TILE_WIDTH < part.source_x + part.w; tile++)
        draw_copy_tile(entry, part, tile, to, target->pitch);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
}

// Linear probing: the entries after the freed one that would no longer be
// found move back into the gap.
static void remove_copy_entry(int slot)
{
    int gap = slot;
    screen_copies[gap] = ScreenCopy{};
    for (int next = (gap + 1) & (SCREEN_COPY_CAPACITY - 1); screen_copies[next].picture != NULL;
         next = (next + 1) & (SCREEN_COPY_CAPACITY - 1)) {
        int home = home_slot(screen_copies[next].picture);
        int from_home_to_gap = (gap - home) & (SCREEN_COPY_CAPACITY - 1);
        int from_home_to_next = (next - home) & (SCREEN_COPY_CAPACITY - 1);
        if (from_home_to_gap < from_home_to_next) {
            screen_copies[gap] = screen_copies[next];
            screen_copies[next] = ScreenCopy{};
            gap = next;
        }
    }
}

static void free_copy(const ScreenCopy& entry)
{
    free(entry.run_start);
    SDL_FreeSurface(entry.picture);  // the copy's reference
}

void release_picture(SDL_Surface* picture)
{
    if (picture == NULL) return;
    int slot = copy_slot(picture);
    if (slot >= 0 && screen_copies[slot].picture == picture) {
        ScreenCopy entry = screen_copies[slot];
        remove_copy_entry(slot);
        free_copy(entry);
    }
    SDL_FreeSurface(picture);
}

void reset_screen_copies()
{
    for (ScreenCopy& entry : screen_copies) {
        if (entry.picture == NULL) continue;
        free_copy(entry);
        entry = ScreenCopy{};
    }
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
        make_screen_copy(bitmap);
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

void draw_bitmap_part(SDL_Surface* bitmap, int sx, int sy, int sw, int sh,
                      SDL_Surface* target, int dx, int dy)
{
    if (bitmap == NULL || target == NULL || sw <= 0 || sh <= 0) return;
    if (copies_plainly(bitmap, target)) {
        copy_unlocked(bitmap, sx, sy, sw, sh, target, dx, dy);
        return;
    }
    const ScreenCopy* copy = screen_copy(bitmap, target);
    if (copy != NULL) {
        draw_screen_copy(*copy, sx, sy, sw, sh, target, dx, dy);
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
