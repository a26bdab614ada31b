#ifndef ABYSSOR_VIDEO_H
#define ABYSSOR_VIDEO_H

#include <SDL/SDL.h>

// The video seam: the window or full screen the game is shown in. The game
// always draws on its one 640 x 480 x 16 screen (game.screen). Without a
// scale that screen is SDL's video surface itself, exactly as SDL gives it.
// With a scale (-X2, -X3, -X4, -XA) it is a surface of its own, and every
// flip or update of a region copies it into the real window, each pixel a
// whole block of factor x factor pixels, nothing smoothed; in full screen the
// picture is centred on the desktop and the border stays black. The pointer
// is mapped back, so the game sees 640 x 480 coordinates at any scale.
//
// Every SDL_Flip and SDL_UpdateRect of the game goes through video_flip and
// video_update_rect.

// Scale switches: none, a whole factor, or the largest that fits the desktop.
const int SCALE_NONE = 0;
const int SCALE_AUTO = -1;

// Every value a 16-bit screen pixel can take.
const int SCREEN_COLOURS = 65536;

struct VideoOutput {
    SDL_Surface* window;  // the real video surface when the screen is scaled into it, else NULL
    SDL_Surface* screen;  // the game's own screen then, freed by video_close
    int factor;           // each screen pixel is factor x factor window pixels
    int offset_x;         // the picture's top-left corner in the window (the border in full screen)
    int offset_y;
    Uint32 colours[SCREEN_COLOURS];  // each screen pixel as the window's pixel of its colour
};

extern VideoOutput video;

// The factor a scale switch gives on a desktop of the size given (0 x 0 when
// unknown): a fixed factor as asked, but in full screen no larger than fits;
// SCALE_AUTO the largest whole factor whose picture fits the desktop. At
// least 1.
int scale_factor(int requested, int desktop_w, int desktop_h, int full_screen);

// Sets the video mode for the switches (flags as SDL_SetVideoMode takes them,
// the scale switch) and returns the game's screen, or NULL when no mode can
// be set.
SDL_Surface* video_open(Uint32 flags, int requested);
// Frees the screen of a scaled window; the window itself is SDL's.
void video_close();

// Shows the whole surface (SDL_Flip), or a region of it (SDL_UpdateRect).
void video_flip(SDL_Surface* surface);
void video_update_rect(SDL_Surface* surface, int x, int y, int w, int h);

// The window's pixel for every screen pixel: the colour SDL itself would show
// for it in that format.
void map_screen_colours(const SDL_PixelFormat* screen, SDL_PixelFormat* window, Uint32* colours);
// Copies rows top to bottom - 1 of a 16-bit surface into a 16- or 32-bit one,
// each pixel converted by the colours table and made a factor x factor
// block, the picture's corner at (offset_x, offset_y). The target must hold
// the scaled rows; both surfaces are locked already.
void scale_rows(SDL_Surface* from, SDL_Surface* to, const Uint32* colours, int factor, int offset_x, int offset_y,
                int top, int bottom);

// A window coordinate as a screen coordinate: the border taken off, divided
// by the factor, held within 0 ... limit - 1.
int window_to_screen(int coordinate, int offset, int factor, int limit);
// The pointer's position and the coordinates of mouse events from SDL, in
// screen pixels. Nothing changes without a scale.
void video_pointer_to_screen(int* x, int* y);
void video_event_to_screen(SDL_Event* event);

#endif
