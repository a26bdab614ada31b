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
    video = VideoOutput();
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
    SDL_Surface* window = SDL_SetVideoMode(w, h, SCREEN_BPP, flags);
    if (window == NULL) return NULL;
    // SDL converts to the display's depth itself, so the window has the
    // game's 16 bits; anything else is shown unscaled.
    SDL_PixelFormat* format = window->format;
    SDL_Surface* screen = format->BytesPerPixel != 2 ? NULL
                          : SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP,
                                                 format->Rmask, format->Gmask, format->Bmask, format->Amask);
    if (screen == NULL) return open_unscaled(flags);
    video.window = window;
    video.screen = screen;
    video.factor = factor;
    video.offset_x = (w - SCREEN_WIDTH * factor) / 2;
    video.offset_y = (h - SCREEN_HEIGHT * factor) / 2;
    clear_window(window, flags);
    return screen;
}

// --- Scaling -----------------------------------------------------------------

// One row, each pixel repeated; a fixed factor lets the compiler unroll it.
template <int FACTOR>
static void widen_row(const Uint16* from, Uint16* to, int width)
{
    for (int x = 0; x < width; x++) {
        Uint16 pixel = from[x];
        for (int k = 0; k < FACTOR; k++) to[x * FACTOR + k] = pixel;
    }
}

static void widen_row_by(const Uint16* from, Uint16* to, int width, int factor)
{
    for (int x = 0; x < width; x++)
        for (int k = 0; k < factor; k++) to[x * factor + k] = from[x];
}

void scale_rows(SDL_Surface* from, SDL_Surface* to, int factor, int offset_x, int offset_y, int top, int bottom)
{
    if (top < 0) top = 0;
    if (bottom > from->h) bottom = from->h;
    size_t row_bytes = (size_t)from->w * factor * sizeof(Uint16);
    for (int y = top; y < bottom; y++) {
        const Uint16* source = (const Uint16*)((const Uint8*)from->pixels + y * from->pitch);
        Uint8* first = (Uint8*)to->pixels + (offset_y + y * factor) * to->pitch + offset_x * (int)sizeof(Uint16);
        Uint16* target = (Uint16*)first;
        switch (factor) {
        case 2: widen_row<2>(source, target, from->w); break;
        case 3: widen_row<3>(source, target, from->w); break;
        case 4: widen_row<4>(source, target, from->w); break;
        default: widen_row_by(source, target, from->w, factor); break;
        }
        for (int k = 1; k < factor; k++) memcpy(first + k * to->pitch, first, row_bytes);
    }
}

static void present_rows(int top, int bottom)
{
    SDL_Surface* from = video.screen;
    SDL_Surface* to = video.window;
    if (SDL_MUSTLOCK(to) && SDL_LockSurface(to) != 0) return;
    if (SDL_MUSTLOCK(from)) SDL_LockSurface(from);
    scale_rows(from, to, video.factor, video.offset_x, video.offset_y, top, bottom);
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

void video_event_to_screen(SDL_Event* event)
{
    if (video.window == NULL) return;
    int x, y;
    switch (event->type) {
    case SDL_MOUSEMOTION:
        x = event->motion.x;
        y = event->motion.y;
        video_pointer_to_screen(&x, &y);
        event->motion.x = (Uint16)x;
        event->motion.y = (Uint16)y;
        event->motion.xrel = (Sint16)(event->motion.xrel / video.factor);
        event->motion.yrel = (Sint16)(event->motion.yrel / video.factor);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        x = event->button.x;
        y = event->button.y;
        video_pointer_to_screen(&x, &y);
        event->button.x = (Uint16)x;
        event->button.y = (Uint16)y;
        break;
    default:
        break;
    }
}
