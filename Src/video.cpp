#include "video.h"

#include <string.h>

#include "geometry.h"

VideoOutput video;

static int largest_fitting_factor(int desktop_w, int desktop_h)
{
    if (desktop_w <= 0 || desktop_h <= 0) return 1;
    int across = desktop_w / SCREEN_WIDTH;
    int down = desktop_h / SCREEN_HEIGHT;
    int factor = across < down ? across : down;
    return factor < 1 ? 1 : factor;
}

int scale_factor(int requested, int desktop_w, int desktop_h, int full_screen)
{
    if (requested == SCALE_AUTO) return largest_fitting_factor(desktop_w, desktop_h);
    if (requested < 2) return 1;
    // A window may reach past the desktop, a full screen cannot.
    if (!full_screen || desktop_w <= 0 || desktop_h <= 0) return requested;
    int fitting = largest_fitting_factor(desktop_w, desktop_h);
    return requested < fitting ? requested : fitting;
}

void video_close()
{
    if (video.screen != NULL) SDL_FreeSurface(video.screen);
    memset(&video, 0, sizeof video);
}

// The border of a full screen is black in every buffer; the picture covers
// the rest at each flip.
static void clear_window(SDL_Surface* window, Uint32 flags)
{
    int buffers = (flags & SDL_DOUBLEBUF) != 0 ? 2 : 1;
    for (int i = 0; i < buffers; i++) {
        SDL_FillRect(window, NULL, SDL_MapRGB(window->format, 0, 0, 0));
        SDL_Flip(window);
    }
}

static SDL_Surface* open_unscaled(Uint32 flags)
{
    return SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, flags);
}

// A 16-bit window on a deeper display is a copy that SDL converts pixel by
// pixel at every flip, which at 4x took longer than a frame: the window takes
// the display's own depth, and the scaling converts each screen pixel once.
// Only 16 and 32 bits are scaled into; any other depth gets 16 bits, which SDL
// converts.
static SDL_Surface* open_window(int w, int h, Uint32 flags)
{
    SDL_Surface* window = SDL_SetVideoMode(w, h, 32, flags | SDL_ANYFORMAT);
    if (window != NULL && (window->format->BytesPerPixel == 2 || window->format->BytesPerPixel == 4)) return window;
    return SDL_SetVideoMode(w, h, SCREEN_BPP, flags);
}

void map_screen_colours(const SDL_PixelFormat* screen, SDL_PixelFormat* window, Uint32* colours)
{
    for (Uint32 pixel = 0; pixel < SCREEN_COLOURS; pixel++) {
        // As SDL's own conversion does: the bits shifted up, the low ones 0.
        Uint8 r = (Uint8)(((pixel & screen->Rmask) >> screen->Rshift) << screen->Rloss);
        Uint8 g = (Uint8)(((pixel & screen->Gmask) >> screen->Gshift) << screen->Gloss);
        Uint8 b = (Uint8)(((pixel & screen->Bmask) >> screen->Bshift) << screen->Bloss);
        colours[pixel] = SDL_MapRGB(window, r, g, b);
    }
}

SDL_Surface* video_open(Uint32 flags, int requested)
{
    video_close();
    if (requested == SCALE_NONE) return open_unscaled(flags);
    // Before the first mode is set SDL reports the desktop's own size.
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    int desktop_w = info != NULL ? info->current_w : 0;
    int desktop_h = info != NULL ? info->current_h : 0;
    int full_screen = (flags & SDL_FULLSCREEN) != 0;
    int factor = scale_factor(requested, desktop_w, desktop_h, full_screen);
    int w = SCREEN_WIDTH * factor, h = SCREEN_HEIGHT * factor;
    // Full screen keeps the desktop's resolution: no mode change.
    if (full_screen && desktop_w >= w && desktop_h >= h) {
        w = desktop_w;
        h = desktop_h;
    }
    if (w == SCREEN_WIDTH && h == SCREEN_HEIGHT) return open_unscaled(flags);
    SDL_Surface* window = open_window(w, h, flags);
    if (window == NULL) return NULL;
    // The game's screen has the 16-bit format the game is drawn for.
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, 0xF800,
                                               0x07E0, 0x001F, 0);
    if (screen == NULL) return open_unscaled(flags);
    video.window = window;
    video.screen = screen;
    video.factor = factor;
    video.offset_x = (w - SCREEN_WIDTH * factor) / 2;
    video.offset_y = (h - SCREEN_HEIGHT * factor) / 2;
    map_screen_colours(screen->format, window->format, video.colours);
    clear_window(window, flags);
    return screen;
}

// --- Scaling -----------------------------------------------------------------

// One row, each pixel converted once and repeated; a fixed factor lets the
// compiler unroll it.
template <typename Pixel, int FACTOR>
static void widen_row(const Uint16* from, Pixel* to, int width, const Uint32* colours)
{
    for (int x = 0; x < width; x++) {
        Pixel pixel = (Pixel)colours[from[x]];
        for (int k = 0; k < FACTOR; k++) to[x * FACTOR + k] = pixel;
    }
}

template <typename Pixel>
static void widen(const Uint16* from, Uint8* to, int width, int factor, const Uint32* colours)
{
    Pixel* target = (Pixel*)to;
    switch (factor) {
    case 1: widen_row<Pixel, 1>(from, target, width, colours); break;
    case 2: widen_row<Pixel, 2>(from, target, width, colours); break;
    case 3: widen_row<Pixel, 3>(from, target, width, colours); break;
    case 4: widen_row<Pixel, 4>(from, target, width, colours); break;
    default:
        for (int x = 0; x < width; x++)
            for (int k = 0; k < factor; k++) target[x * factor + k] = (Pixel)colours[from[x]];
        break;
    }
}

void scale_rows(SDL_Surface* from, SDL_Surface* to, const Uint32* colours, int factor, int offset_x, int offset_y,
                int top, int bottom)
{
    if (top < 0) top = 0;
    if (bottom > from->h) bottom = from->h;
    int bytes = to->format->BytesPerPixel;
    size_t row_bytes = (size_t)from->w * factor * bytes;
    for (int y = top; y < bottom; y++) {
        const Uint16* source = (const Uint16*)((const Uint8*)from->pixels + y * from->pitch);
        Uint8* first = (Uint8*)to->pixels + (offset_y + y * factor) * to->pitch + offset_x * bytes;
        if (bytes == 4)
            widen<Uint32>(source, first, from->w, factor, colours);
        else
            widen<Uint16>(source, first, from->w, factor, colours);
        for (int k = 1; k < factor; k++) memcpy(first + k * to->pitch, first, row_bytes);
    }
}

static void present_rows(int top, int bottom)
{
    SDL_Surface* from = video.screen;
    SDL_Surface* to = video.window;
    if (SDL_MUSTLOCK(to) && SDL_LockSurface(to) != 0) return;
    if (SDL_MUSTLOCK(from)) SDL_LockSurface(from);
    scale_rows(from, to, video.colours, video.factor, video.offset_x, video.offset_y, top, bottom);
    if (SDL_MUSTLOCK(from)) SDL_UnlockSurface(from);
    if (SDL_MUSTLOCK(to)) SDL_UnlockSurface(to);
}

static int scaled(SDL_Surface* surface)
{
    return video.window != NULL && surface == video.screen;
}

void video_flip(SDL_Surface* surface)
{
    if (surface == NULL) return;
    if (!scaled(surface)) {
        SDL_Flip(surface);
        return;
    }
    present_rows(0, surface->h);
    SDL_Flip(video.window);
}

void video_update_rect(SDL_Surface* surface, int x, int y, int w, int h)
{
    if (surface == NULL) return;
    if (!scaled(surface)) {
        SDL_UpdateRect(surface, x, y, w, h);
        return;
    }
    // Cut to the screen: an empty rectangle would mean the whole window to SDL.
    int left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
    int right = x + w > surface->w ? surface->w : x + w;
    int bottom = y + h > surface->h ? surface->h : y + h;
    if (right <= left || bottom <= top) return;
    present_rows(top, bottom);
    int f = video.factor;
    SDL_UpdateRect(video.window, video.offset_x + left * f, video.offset_y + top * f, (right - left) * f,
                   (bottom - top) * f);
}

// --- The pointer ---------------------------------------------------------------

int window_to_screen(int coordinate, int offset, int factor, int limit)
{
    int value = (coordinate - offset) / factor;
    if (value < 0) return 0;
    if (value >= limit) return limit - 1;
    return value;
}

void video_pointer_to_screen(int* x, int* y)
{
    if (video.window == NULL) return;
    *x = window_to_screen(*x, video.offset_x, video.factor, video.screen->w);
    *y = window_to_screen(*y, video.offset_y, video.factor, video.screen->h);
}

// An event's window position, in place, as a point of the screen.
static void event_point_to_screen(Uint16* event_x, Uint16* event_y)
{
    int x = *event_x, y = *event_y;
    video_pointer_to_screen(&x, &y);
    *event_x = (Uint16)x;
    *event_y = (Uint16)y;
}

void video_event_to_screen(SDL_Event* event)
{
    if (video.window == NULL) return;
    switch (event->type) {
    case SDL_MOUSEMOTION:
        event_point_to_screen(&event->motion.x, &event->motion.y);
        event->motion.xrel = (Sint16)(event->motion.xrel / video.factor);
        event->motion.yrel = (Sint16)(event->motion.yrel / video.factor);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        event_point_to_screen(&event->button.x, &event->button.y);
        break;
    default:
        break;
    }
}
