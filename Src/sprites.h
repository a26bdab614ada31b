#ifndef ABYSSOR_SPRITES_H
#define ABYSSOR_SPRITES_H

#include <SDL/SDL.h>

// A sprite is a colour-keyed palettised picture with its opaque runs in the
// 16-bit screen's format, from which it is drawn. SDL draws such a picture
// onto the screen pixel by pixel, looking every colour up, and its run-length
// path reads each row from its start up to the part drawn, while strips are
// thousands of pixels wide. The picture itself stays as loaded: fonts and
// anything else that reads its pixels read palette indexes.
struct Sprite;

// Makes the sprite of a picture that has just taken its colour key, for a
// screen of the format given. A picture that is not 8-bit palettised, or a
// screen that is not 16-bit without a palette, gets none (it is blitted).
void make_sprite(SDL_Surface* picture, const SDL_PixelFormat* screen);

// The sprite to draw instead of the picture onto the target, if the picture
// has one in the target's format and still has the key it was made with (a
// font takes another one); NULL otherwise.
const Sprite* sprite_for(SDL_Surface* picture, const SDL_Surface* target);

// Draws the part of the sprite's picture that starts at (source_x, source_y)
// and is w x h, already clipped to the picture and to the target: its opaque
// pixels, row by row from `to`, rows `pitch` bytes apart.
void draw_sprite_part(const Sprite& sprite, int source_x, int source_y, int w, int h, Uint8* to, int pitch);

// Frees the sprite of a picture, if it has one; the picture's own release
// (release_picture) calls it.
void release_sprite(SDL_Surface* picture);

// Frees every sprite, as the program starts with none.
void reset_sprites();

#endif
