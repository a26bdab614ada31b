/* The browser backend of SDL 1.2: what its video, audio and clock share, and
 * the JavaScript half (browser_library.js) that they call. */
#ifndef ABYSSOR_BROWSER_H
#define ABYSSOR_BROWSER_H

#include "SDL_stdinc.h"

/* Hands the browser control for about ms milliseconds (0: just a turn; less
 * than 0: until it has painted): the canvas shows what was flipped, the page
 * delivers input and the audio queue is topped up. */
void browser_yield(double ms);
/* Milliseconds since the page started, with fractions. */
double browser_now(void);
/* When the program last took control back from the browser (browser_now). */
double browser_last_woken(void);
/* Puts what was flipped since the last call on the canvas. */
void browser_present(void);
/* Mixes sound until the browser's queue holds enough. */
void browser_audio_pump(void);

/* The JavaScript half. */
extern void browser_sleep(double ms);
extern void browser_canvas_open(int width, int height, int fullscreen);
extern void browser_canvas_put(Uint32* rgba, int width, int height, int x, int y, int w, int h);
extern void browser_cursor_show(int visible);
extern int browser_next_event(int* fields);
/* What the page wants to hear of each flip (BROWSER_HOOK_...). */
extern int browser_frame_hook_wanted(void);
extern void browser_frame_hook(int flip, Uint32 hash_high, Uint32 hash_low);
extern int browser_audio_open(int frequency, int channels, int format, int samples);
extern int browser_audio_chunks_wanted(void);
extern void browser_audio_play(const Uint8* samples, int bytes);
extern void browser_audio_close(void);

/* Kinds of event the page queues (the first field of browser_next_event). */
enum {
    BROWSER_EVENT_NONE = 0,
    BROWSER_EVENT_KEY = 1,    /* pressed, SDL key, unicode */
    BROWSER_EVENT_MOTION = 2, /* x, y */
    BROWSER_EVENT_BUTTON = 3, /* pressed, button */
    BROWSER_EVENT_EXPOSE = 4
};

enum {
    BROWSER_HOOK_NONE = 0,
    BROWSER_HOOK_HASH = 1,  /* its number and the screen's hash (the frame comparison) */
    BROWSER_HOOK_COUNT = 2  /* its number only (measurements) */
};

#endif
