#include "sprites.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

// A sprite's runs are cut into tiles of 64 columns, with their pixels in the
// screen's format as SDL's blit maps them. Which pixels are opaque comes from
// the palette indexes, so a colour that the screen rounds to the key's value
// stays drawn, as in SDL's blit. A sprite holds a reference to its picture,
// so that a picture freed without release_picture keeps its address until the
// sprites are reset, and no later picture can be taken for it.
//
// The runs of tile t, row y start at runs[run_start[t * h + y]]: for each
// run its first column in the tile, its length and its pixels, then RUN_END.
struct Sprite {
    SDL_Surface* picture;  // NULL: a free entry
    Uint32* run_start;     // one block holding the starts and then the runs
    const Uint16* runs;
    Uint32 key;            // the picture's key when the sprite was made
    Uint32 masks[3];       // the red, green and blue masks of the pixels
};

const int TILE_WIDTH = 64;
const Uint16 RUN_END = 0xFFFF;

// Sprites by their picture's address, found by linear probing.
const int SPRITE_CAPACITY = 1024;  // a power of two
static Sprite sprites[SPRITE_CAPACITY];

static int home_slot(const SDL_Surface* picture)
{
    Uint64 address = (Uint64)(uintptr_t)picture;
    return (int)(((address >> 4) * 0x9E3779B97F4A7C15ull) >> 54) & (SPRITE_CAPACITY - 1);
}

// The slot holding the picture's sprite, or the free slot where it would go
// (-1 when the table is full).
static int sprite_slot(const SDL_Surface* picture)
{
    int slot = home_slot(picture);
    for (int probes = 0; probes < SPRITE_CAPACITY; probes++) {
        if (sprites[slot].picture == picture || sprites[slot].picture == NULL) return slot;
        slot = (slot + 1) & (SPRITE_CAPACITY - 1);
    }
    return -1;
}

static int tile_count(const SDL_Surface* picture)
{
    return (picture->w + TILE_WIDTH - 1) / TILE_WIDTH;
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
    int left = tile * TILE_WIDTH;
    int right = picture->w - left < TILE_WIDTH ? picture->w : left + TILE_WIDTH;
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

void make_sprite(SDL_Surface* picture, const SDL_PixelFormat* f)
{
    if (picture == NULL || f == NULL) return;
    const SDL_Palette* palette = picture->format->palette;
    if (palette == NULL || picture->format->BitsPerPixel != 8 || f->BytesPerPixel != 2 || f->palette != NULL ||
        f->Amask != 0 || picture->w <= 0 || picture->h <= 0 || picture->format->colorkey > 255)
        return;
    int slot = sprite_slot(picture);
    if (slot < 0 || sprites[slot].picture != NULL) return;
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
    sprites[slot] = Sprite{picture, block, runs, picture->format->colorkey, {f->Rmask, f->Gmask, f->Bmask}};
}

const Sprite* sprite_for(SDL_Surface* picture, const SDL_Surface* target)
{
    if (picture->format->palette == NULL || (picture->flags & SDL_SRCCOLORKEY) == 0) return NULL;
    int slot = sprite_slot(picture);
    if (slot < 0 || sprites[slot].picture != picture) return NULL;
    const Sprite& sprite = sprites[slot];
    const SDL_PixelFormat* f = target->format;
    if (sprite.key != picture->format->colorkey || f->palette != NULL || f->BytesPerPixel != 2 ||
        f->Rmask != sprite.masks[0] || f->Gmask != sprite.masks[1] || f->Bmask != sprite.masks[2] || f->Amask != 0)
        return NULL;
    return &sprite;
}

// The columns of the part that one tile holds, row by row. A tile's rows
// follow one another, so the runs are read in one sweep.
static void draw_tile(const Sprite& sprite, int source_x, int source_y, int w, int h, int tile, Uint8* to, int pitch)
{
    int left = tile * TILE_WIDTH;
    int end = source_x + w;
    const Uint16* run = sprite.runs + sprite.run_start[(size_t)tile * sprite.picture->h + source_y];
    for (int row = 0; row < h; row++, run++, to += pitch) {
        for (; run[0] != RUN_END; run += 2 + run[1]) {
            int from = left + run[0];
            int until = from + run[1];
            int a = from > source_x ? from : source_x;
            int b = until < end ? until : end;
            if (a < b) memcpy((Uint16*)to + (a - source_x), run + 2 + (a - from), (size_t)(b - a) * sizeof(Uint16));
        }
    }
}

void draw_sprite_part(const Sprite& sprite, int source_x, int source_y, int w, int h, Uint8* to, int pitch)
{
    for (int tile = source_x / TILE_WIDTH; tile * TILE_WIDTH < source_x + w; tile++)
        draw_tile(sprite, source_x, source_y, w, h, tile, to, pitch);
}

// Linear probing: the entries after the freed one that would no longer be
// found move back into the gap.
static void remove_entry(int slot)
{
    int gap = slot;
    sprites[gap] = Sprite{};
    for (int next = (gap + 1) & (SPRITE_CAPACITY - 1); sprites[next].picture != NULL;
         next = (next + 1) & (SPRITE_CAPACITY - 1)) {
        int home = home_slot(sprites[next].picture);
        int from_home_to_gap = (gap - home) & (SPRITE_CAPACITY - 1);
        int from_home_to_next = (next - home) & (SPRITE_CAPACITY - 1);
        if (from_home_to_gap < from_home_to_next) {
            sprites[gap] = sprites[next];
            sprites[next] = Sprite{};
            gap = next;
        }
    }
}

static void free_sprite(const Sprite& sprite)
{
    free(sprite.run_start);
    SDL_FreeSurface(sprite.picture);  // the sprite's reference
}

void release_sprite(SDL_Surface* picture)
{
    if (picture == NULL) return;
    int slot = sprite_slot(picture);
    if (slot < 0 || sprites[slot].picture != picture) return;
    Sprite sprite = sprites[slot];
    remove_entry(slot);
    free_sprite(sprite);
}

void reset_sprites()
{
    for (Sprite& sprite : sprites) {
        if (sprite.picture == NULL) continue;
        free_sprite(sprite);
        sprite = Sprite{};
    }
}
