#ifndef ABYSSOR_MEDIA_H
#define ABYSSOR_MEDIA_H

#include <SDL/SDL.h>

// Pictures: loading them, drawing them as SDL's blit would, releasing them.
// A keyed picture is drawn from its sprite (sprites.h).

// Loads a BMP picture. With colour_key 1 its transparent colour is the first
// byte of its pixel data (the top-left pixel of a palettised picture), and
// a palettised picture becomes a sprite for the screen. Its pixels must not
// change afterwards.
// Returns NULL, after one error line, when the picture cannot be loaded.
SDL_Surface* load_bitmap(const char* path, int colour_key);

// The one release of a picture from load_bitmap, with its sprite (free_bitmap
// of the graphics bank does this).
void release_picture(SDL_Surface* picture);

// Keeps the memory of released pictures for the next ones instead of giving
// it back to the system: a level's seabed and strips are blocks of hundreds
// of kilobytes, and fresh ones must be faulted in page by page on every load.
// Called once at start.
void keep_released_picture_memory();

// Draws the part (sx, sy, sw, sh) of a bitmap with its top-left corner at
// (dx, dy), exactly as SDL's blit would: clipped to the bitmap and to the
// target's clip rectangle, nothing while either is locked. A plain copy goes
// by memcpy rows, a keyed picture from its sprite. An empty
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
