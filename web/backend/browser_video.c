/* The video driver of the browser build. The screen stays an ordinary SDL
 * software surface in the program's memory, so SDL's own blits, colour keys
 * and conversions draw it exactly as on the desktop. Each update converts the
 * updated rectangles to RGBA through a table that SDL's own blitter filled
 * (the 16-to-32-bit conversion a desktop window goes through), and the
 * canvas is repainted when the program next hands the browser control. A
 * level redraws the whole screen every frame but changes only a few thousand
 * of its pixels in most frames, so a 16-bit screen is compared with what the
 * canvas was last given, and only the pixels that differ are converted and
 * only the bands of rows they lie in are repainted. The page's input reaches
 * SDL's event code from the event pump, so the key table, the mouse state
 * and the unicode translation are SDL's own. */
#include "SDL_config.h"

#include "SDL_video.h"
#include "SDL_mouse.h"
#include "../SDL_sysvideo.h"
#include "../SDL_pixels_c.h"
#include "../../events/SDL_events_c.h"

#include "browser.h"
#include "frame_hash.h"

/* The driver's functions name their device "this", as SDL's own drivers do. */
#undef _THIS
#define _THIS SDL_VideoDevice* this

#define BROWSER_VIDEO_DRIVER_NAME "browser"

/* A flip that comes this long after the browser last had control waits for
 * the browser to paint, so screens that flip without ever waiting (the intro's
 * slides, the credits) show about as many frames as a desktop window does. */
#define BUSY_FLIP_YIELD_MS 16.0

/* The canvas is repainted in bands of this many rows, each only as wide and
 * as high as its changes. */
#define BAND_ROWS 16

struct WMcursor {
    int unused;
};

/* The part of one band converted but not yet on the canvas. */
struct Band {
    int left, right, top, bottom; /* right <= left: nothing */
};

struct SDL_PrivateVideoData {
    int w, h;
    void* pixels;
    Uint32* rgba;             /* what the canvas shows, RGBA bytes */
    Uint16* converted;        /* the 16-bit pixels rgba was converted from */
    Uint32* colours;          /* RGBA of every 16-bit pixel value */
    struct Band* bands;
    int band_count;
    int flips;
};

static SDL_VideoDevice* current_device = NULL;

static int BROWSER_Available(void)
{
    return 1;
}

/* A 32-bit surface whose channels lie as a desktop window's do, and the
 * byte swap from that to the canvas's R, G, B, A. */
static Uint32 window_to_rgba(Uint32 argb)
{
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16) | 0xFF000000u;
}

static int build_colour_table(_THIS, SDL_PixelFormat* format)
{
    SDL_Surface* values = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, 16, format->Rmask, format->Gmask,
                                               format->Bmask, format->Amask);
    SDL_Surface* window = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    int ok = values != NULL && window != NULL;
    if (ok) {
        for (int y = 0; y < 256; y++) {
            Uint16* row = (Uint16*)((Uint8*)values->pixels + y * values->pitch);
            for (int x = 0; x < 256; x++) row[x] = (Uint16)(y * 256 + x);
        }
        ok = SDL_BlitSurface(values, NULL, window, NULL) == 0;
    }
    if (ok) {
        if (this->hidden->colours == NULL) this->hidden->colours = SDL_malloc(65536 * sizeof(Uint32));
        ok = this->hidden->colours != NULL;
    }
    if (ok) {
        for (int y = 0; y < 256; y++) {
            const Uint32* row = (const Uint32*)((Uint8*)window->pixels + y * window->pitch);
            for (int x = 0; x < 256; x++) this->hidden->colours[y * 256 + x] = window_to_rgba(row[x]);
        }
    }
    if (values != NULL) SDL_FreeSurface(values);
    if (window != NULL) SDL_FreeSurface(window);
    return ok;
}

static int BROWSER_VideoInit(_THIS, SDL_PixelFormat* vformat)
{
    vformat->BitsPerPixel = 32;
    vformat->BytesPerPixel = 4;
    vformat->Rmask = 0x000000FF;
    vformat->Gmask = 0x0000FF00;
    vformat->Bmask = 0x00FF0000;
    return 0;
}

static SDL_Rect** BROWSER_ListModes(_THIS, SDL_PixelFormat* format, Uint32 flags)
{
    return (SDL_Rect**)-1;
}

static void free_buffers(_THIS)
{
    SDL_free(this->hidden->pixels);
    SDL_free(this->hidden->rgba);
    SDL_free(this->hidden->converted);
    SDL_free(this->hidden->bands);
    this->hidden->pixels = NULL;
    this->hidden->rgba = NULL;
    this->hidden->converted = NULL;
    this->hidden->bands = NULL;
}

static SDL_Surface* BROWSER_SetVideoMode(_THIS, SDL_Surface* current, int width, int height, int bpp, Uint32 flags)
{
    if (bpp != 8 && bpp != 15 && bpp != 16 && bpp != 24 && bpp != 32) bpp = 16;
    int bytes = (bpp + 7) / 8;
    free_buffers(this);
    struct SDL_PrivateVideoData* video = this->hidden;
    video->pixels = SDL_calloc(1, (size_t)width * height * bytes);
    video->rgba = SDL_calloc(1, (size_t)width * height * 4);
    video->band_count = (height + BAND_ROWS - 1) / BAND_ROWS;
    video->bands = SDL_calloc(video->band_count, sizeof(struct Band));
    /* The screen and its copy start black, as the canvas does. */
    if (bytes == 2) video->converted = SDL_calloc(1, (size_t)width * height * 2);
    if (video->pixels == NULL || video->rgba == NULL || video->bands == NULL ||
        (bytes == 2 && video->converted == NULL)) {
        free_buffers(this);
        SDL_OutOfMemory();
        return NULL;
    }
    if (!SDL_ReallocFormat(current, bpp, 0, 0, 0, 0)) {
        free_buffers(this);
        return NULL;
    }
    if (bytes == 2 && !build_colour_table(this, current->format)) {
        free_buffers(this);
        SDL_SetError("Couldn't build the colour table of the canvas");
        return NULL;
    }
    if (bytes == 2)
        for (size_t i = 0; i < (size_t)width * height; i++) video->rgba[i] = video->colours[0];
    current->flags = flags & SDL_FULLSCREEN;
    video->w = current->w = width;
    video->h = current->h = height;
    current->pitch = (Uint16)(width * bytes);
    current->pixels = video->pixels;
    browser_canvas_open(width, height, (flags & SDL_FULLSCREEN) != 0);
    return current;
}

static int BROWSER_AllocHWSurface(_THIS, SDL_Surface* surface)
{
    return -1;
}

static void BROWSER_FreeHWSurface(_THIS, SDL_Surface* surface)
{
}

static int BROWSER_LockHWSurface(_THIS, SDL_Surface* surface)
{
    return 0;
}

static void BROWSER_UnlockHWSurface(_THIS, SDL_Surface* surface)
{
}

static void mark_changed(struct SDL_PrivateVideoData* video, int row, int left, int right)
{
    struct Band* band = &video->bands[row / BAND_ROWS];
    if (band->right <= band->left) {
        band->left = left;
        band->right = right;
        band->top = row;
        band->bottom = row + 1;
        return;
    }
    if (left < band->left) band->left = left;
    if (right > band->right) band->right = right;
    if (row < band->top) band->top = row;
    if (row + 1 > band->bottom) band->bottom = row + 1;
}

/* Pixels compared at a time: sixteen unchanged pixels are passed over in a
 * fifth of the time their conversion takes (four at a time, in as long as
 * the conversion). */
#define BLOCK_PIXELS 16

static int same_block(const Uint16* a, const Uint16* b)
{
    Uint64 a0, a1, a2, a3, b0, b1, b2, b3;
    SDL_memcpy(&a0, a, 8);
    SDL_memcpy(&a1, a + 4, 8);
    SDL_memcpy(&a2, a + 8, 8);
    SDL_memcpy(&a3, a + 12, 8);
    SDL_memcpy(&b0, b, 8);
    SDL_memcpy(&b1, b + 4, 8);
    SDL_memcpy(&b2, b + 8, 8);
    SDL_memcpy(&b3, b + 12, 8);
    return ((a0 ^ b0) | (a1 ^ b1) | (a2 ^ b2) | (a3 ^ b3)) == 0;
}

/* Converts the pixels of a row of the 16-bit screen that differ from what
 * was last converted, and marks their span. */
static void convert_changes_16(struct SDL_PrivateVideoData* video, const Uint16* in, int row, int x, int w)
{
    Uint16* seen = video->converted + row * video->w + x;
    Uint32* out = video->rgba + row * video->w + x;
    const Uint32* colours = video->colours;
    int first = -1, end = 0, i = 0;
    for (; i + BLOCK_PIXELS <= w; i += BLOCK_PIXELS) {
        if (same_block(in + i, seen + i)) continue;
        SDL_memcpy(seen + i, in + i, BLOCK_PIXELS * 2);
        for (int k = i; k < i + BLOCK_PIXELS; k++) out[k] = colours[in[k]];
        if (first < 0) first = i;
        end = i + BLOCK_PIXELS;
    }
    for (; i < w; i++) {
        if (in[i] == seen[i]) continue;
        seen[i] = in[i];
        out[i] = colours[in[i]];
        if (first < 0) first = i;
        end = i + 1;
    }
    if (first >= 0) mark_changed(video, row, x + first, x + end);
}

static void convert_rect(_THIS, SDL_Surface* screen, int x, int y, int w, int h)
{
    struct SDL_PrivateVideoData* video = this->hidden;
    int bytes = screen->format->BytesPerPixel;
    for (int row = y; row < y + h; row++) {
        const Uint8* in = (const Uint8*)screen->pixels + row * screen->pitch + x * bytes;
        if (bytes == 2) {
            convert_changes_16(video, (const Uint16*)in, row, x, w);
            continue;
        }
        Uint32* out = video->rgba + row * video->w + x;
        for (int i = 0; i < w; i++, in += bytes) {
            Uint32 value = 0;
            SDL_memcpy(&value, in, bytes);
            Uint8 r, g, b;
            SDL_GetRGB(value, screen->format, &r, &g, &b);
            out[i] = r | (g << 8) | (b << 16) | 0xFF000000u;
        }
        mark_changed(video, row, x, x + w);
    }
}

static void BROWSER_UpdateRects(_THIS, int numrects, SDL_Rect* rects)
{
    SDL_Surface* screen = SDL_VideoSurface;
    if (screen == NULL || this->hidden->rgba == NULL) return;
    for (int i = 0; i < numrects; i++) {
        int x = rects[i].x, y = rects[i].y, w = rects[i].w, h = rects[i].h;
        if (x < 0) { w += x; x = 0; }
        if (y < 0) { h += y; y = 0; }
        if (x + w > this->hidden->w) w = this->hidden->w - x;
        if (y + h > this->hidden->h) h = this->hidden->h - y;
        if (w <= 0 || h <= 0) continue;
        convert_rect(this, screen, x, y, w, h);
    }
    this->hidden->flips++;
    int hook = browser_frame_hook_wanted();
    if (hook == BROWSER_HOOK_HASH) {
        uint64_t hash = frame_hash(screen->pixels, screen->pitch, screen->w * screen->format->BytesPerPixel, screen->h);
        browser_frame_hook(this->hidden->flips, (Uint32)(hash >> 32), (Uint32)hash);
    } else if (hook == BROWSER_HOOK_COUNT) {
        browser_frame_hook(this->hidden->flips, 0, 0);
    }
    if (browser_now() - browser_last_woken() >= BUSY_FLIP_YIELD_MS) browser_yield(-1);
}

/* Puts the bands changed since the last call on the canvas, neighbours that
 * both changed as one rectangle. */
void browser_present(void)
{
    SDL_VideoDevice* this = current_device;
    if (this == NULL || this->hidden->bands == NULL) return;
    struct SDL_PrivateVideoData* video = this->hidden;
    struct Band area = {0, 0, 0, 0};
    for (int i = 0; i <= video->band_count; i++) {
        struct Band* band = i < video->band_count ? &video->bands[i] : NULL;
        if (band != NULL && band->right > band->left) {
            if (area.right <= area.left) {
                area = *band;
            } else {
                if (band->left < area.left) area.left = band->left;
                if (band->right > area.right) area.right = band->right;
                area.bottom = band->bottom;
            }
            band->right = band->left = 0;
            continue;
        }
        if (area.right > area.left)
            browser_canvas_put(video->rgba, video->w, video->h, area.left, area.top, area.right - area.left,
                               area.bottom - area.top);
        area.right = area.left = 0;
    }
}

static int BROWSER_SetColors(_THIS, int firstcolor, int ncolors, SDL_Color* colors)
{
    return 1;
}

static void BROWSER_VideoQuit(_THIS)
{
    browser_present();
    if (this->screen != NULL) this->screen->pixels = NULL;
    free_buffers(this);
}

/* The page's own pointer stands for SDL's cursor: shown or hidden, never
 * drawn into the screen. */
static WMcursor* BROWSER_CreateWMCursor(_THIS, Uint8* data, Uint8* mask, int w, int h, int hot_x, int hot_y)
{
    return SDL_calloc(1, sizeof(WMcursor));
}

static void BROWSER_FreeWMCursor(_THIS, WMcursor* cursor)
{
    SDL_free(cursor);
}

static int BROWSER_ShowWMCursor(_THIS, WMcursor* cursor)
{
    browser_cursor_show(cursor != NULL);
    return 1;
}

static void BROWSER_InitOSKeymap(_THIS)
{
}

static void deliver_key(int pressed, int sym, int unicode)
{
    SDL_keysym keysym;
    SDL_memset(&keysym, 0, sizeof keysym);
    keysym.sym = (SDLKey)sym;
    keysym.scancode = 0;
    keysym.unicode = pressed && SDL_TranslateUNICODE ? (Uint16)unicode : 0;
    SDL_PrivateKeyboard(pressed ? SDL_PRESSED : SDL_RELEASED, &keysym);
}

static void BROWSER_PumpEvents(_THIS)
{
    int fields[4];
    int kind;
    while ((kind = browser_next_event(fields)) != BROWSER_EVENT_NONE) {
        switch (kind) {
        case BROWSER_EVENT_KEY:
            if (fields[1] > 0 && fields[1] < SDLK_LAST) deliver_key(fields[0], fields[1], fields[2]);
            break;
        case BROWSER_EVENT_MOTION:
            SDL_PrivateMouseMotion(0, 0, (Sint16)fields[0], (Sint16)fields[1]);
            break;
        case BROWSER_EVENT_BUTTON: {
            int x, y;
            SDL_GetMouseState(&x, &y);
            SDL_PrivateMouseButton(fields[0] ? SDL_PRESSED : SDL_RELEASED, (Uint8)fields[1], (Sint16)x, (Sint16)y);
            break;
        }
        case BROWSER_EVENT_EXPOSE:
            SDL_PrivateExpose();
            break;
        default:
            break;
        }
    }
}

static void BROWSER_DeleteDevice(SDL_VideoDevice* device)
{
    if (current_device == device) current_device = NULL;
    SDL_free(device->hidden->colours);
    SDL_free(device->hidden);
    SDL_free(device);
}

static SDL_VideoDevice* BROWSER_CreateDevice(int devindex)
{
    SDL_VideoDevice* device = SDL_calloc(1, sizeof(SDL_VideoDevice));
    if (device != NULL) device->hidden = SDL_calloc(1, sizeof(struct SDL_PrivateVideoData));
    if (device == NULL || device->hidden == NULL) {
        SDL_OutOfMemory();
        SDL_free(device);
        return NULL;
    }
    device->VideoInit = BROWSER_VideoInit;
    device->ListModes = BROWSER_ListModes;
    device->SetVideoMode = BROWSER_SetVideoMode;
    device->SetColors = BROWSER_SetColors;
    device->UpdateRects = BROWSER_UpdateRects;
    device->VideoQuit = BROWSER_VideoQuit;
    device->AllocHWSurface = BROWSER_AllocHWSurface;
    device->LockHWSurface = BROWSER_LockHWSurface;
    device->UnlockHWSurface = BROWSER_UnlockHWSurface;
    device->FreeHWSurface = BROWSER_FreeHWSurface;
    device->CreateWMCursor = BROWSER_CreateWMCursor;
    device->FreeWMCursor = BROWSER_FreeWMCursor;
    device->ShowWMCursor = BROWSER_ShowWMCursor;
    device->InitOSKeymap = BROWSER_InitOSKeymap;
    device->PumpEvents = BROWSER_PumpEvents;
    device->free = BROWSER_DeleteDevice;
    current_device = device;
    return device;
}

/* Answers to the dummy driver's name in SDL's table of drivers. */
VideoBootStrap DUMMY_bootstrap = {BROWSER_VIDEO_DRIVER_NAME, "SDL video in a browser canvas", BROWSER_Available,
                                  BROWSER_CreateDevice};
