#include "font.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "media.h"
#include "platform.h"
#include "video.h"

Font current_font;

static const int FIRST_GLYPH_BYTE = 33;  // '!' is glyph 0
static const int CZECH_CODE_BASE = 127;  // the Czech letters follow the tilde
static const int BLINK_MS = 500;

// Windows-1250 bytes of the Czech letters in the order of their glyphs:
// ě š č ř ž ý á í é ď ň ó ť ú ů.
static const unsigned char CZECH_LETTERS[15] = {236, 154, 232, 248, 158, 253, 225, 237,
                                                233, 239, 242, 243, 157, 250, 249};

Uint32 GetPixel(SDL_Surface* bitmap, int x, int y)
{
    if (bitmap == NULL) return 0;
    if (x < 0) {
        printf("SFONT ERROR: x too small in GetPixel.\n");
        return 0;
    }
    if (x >= bitmap->w) {
        printf("SFONT ERROR: x too big in GetPixel.\n");
        return 0;
    }
    if (y < 0 || y >= bitmap->h) return 0;  // nothing outside the bitmap is ever read

    const int bytes = bitmap->format->BytesPerPixel;
    const Uint8* pixel = (const Uint8*)bitmap->pixels + y * bitmap->pitch + x * bytes;
    switch (bytes) {
    case 1:
        return *pixel;
    case 2:
        return *(const Uint16*)pixel;
    case 3: {
        const SDL_PixelFormat* format = bitmap->format;
        return SDL_MapRGB(bitmap->format, pixel[format->Rshift / 8], pixel[format->Gshift / 8],
                          pixel[format->Bshift / 8]);
    }
    case 4:
        return *(const Uint32*)pixel;
    default:
        return 0xffffffffu;
    }
}

// Every maximal run of marker pixels in the top row is recorded by its first
// column and the first column after it (the last column itself when the run
// reaches the edge). Runs beyond the table's room are ignored.
static void scan_marker_row(Font& font)
{
    SDL_Surface* bitmap = font.bitmap;
    const Uint32 marker = SDL_MapRGB(bitmap->format, 255, 0, 255);
    int count = 0;
    for (int x = 0; x < bitmap->w; x++) {
        if (GetPixel(bitmap, x, 0) != marker) continue;
        if (count + 2 > FONT_MARKS) break;
        font.marks[count++] = x;
        while (x < bitmap->w - 1 && GetPixel(bitmap, x, 0) == marker) x++;
        font.marks[count++] = x;
    }
    font.mark_count = count;
}

void init_font(Font& font)
{
    if (font.bitmap == NULL) {
        printf("The font has not been loaded!\n");
        exit(1);
    }
    SDL_Surface* bitmap = font.bitmap;
    const int locked = SDL_MUSTLOCK(bitmap) && SDL_LockSurface(bitmap) == 0;
    scan_marker_row(font);
    if (locked) SDL_UnlockSurface(bitmap);
    font.height = bitmap->h;
    if (bitmap->w > 0 && bitmap->h > 0)
        SDL_SetColorKey(bitmap, SDL_SRCCOLORKEY, GetPixel(bitmap, 0, bitmap->h - 1));
}

void set_current_font(SDL_Surface* bitmap)
{
    current_font.bitmap = bitmap;
    init_font(current_font);
}

void reset_font()
{
    current_font = Font();
}

// The glyph a byte of windows-1250 text draws with, or -1 for a byte without
// one (control bytes). The space is not drawn and has no glyph of its own.
static int glyph_of(unsigned char byte)
{
    int code = byte;
    for (int i = 0; i < 15; i++)
        if (CZECH_LETTERS[i] == byte) code = CZECH_CODE_BASE + i;
    if (code < FIRST_GLYPH_BYTE) return -1;
    return code - FIRST_GLYPH_BYTE;
}

// A glyph exists when the scan found its leading run and the run after it.
static int glyph_exists(const Font& font, int glyph)
{
    return glyph >= 0 && 2 * glyph + 3 < font.mark_count;
}

// From the end of the glyph's leading run to the start of the next run.
static int glyph_advance(const Font& font, int glyph)
{
    if (!glyph_exists(font, glyph)) return 0;
    return font.marks[2 * glyph + 2] - font.marks[2 * glyph + 1];
}

static int byte_advance(const Font& font, unsigned char byte)
{
    return glyph_advance(font, byte == ' ' ? 0 : glyph_of(byte));
}

// The picture reaches from the middle of the leading run to the middle of the
// next one, so that a glyph may overhang into both; it is shifted left by half
// the leading run so that its body starts at the pen.
static void draw_glyph(SDL_Surface* surface, const Font& font, int glyph, int pen, int y)
{
    if (!glyph_exists(font, glyph)) return;
    const int start = font.marks[2 * glyph], end = font.marks[2 * glyph + 1];
    const int next_start = font.marks[2 * glyph + 2], next_end = font.marks[2 * glyph + 3];
    const int source_x = (start + end) / 2;
    const int source_w = (next_start + next_end) / 2 - source_x;
    const int offset = (int)((end - start) / 2.0);
    draw_bitmap_part(font.bitmap, source_x, 1, source_w, font.bitmap->h - 1, surface, pen - offset, y);
}

void draw_text(SDL_Surface* surface, Font& font, int x, int y, const char* text)
{
    if (font.bitmap == NULL || text == NULL) return;
    int pen = x;
    for (const unsigned char* p = (const unsigned char*)text; *p != 0; p++) {
        if (*p != ' ') draw_glyph(surface, font, glyph_of(*p), pen, y);
        pen += byte_advance(font, *p);
    }
}

int text_width(Font& font, const char* text)
{
    if (text == NULL) return 0;
    int width = 0;
    for (const unsigned char* p = (const unsigned char*)text; *p != 0; p++) width += byte_advance(font, *p);
    return width;
}

void print_text(SDL_Surface* surface, int x, int y, const char* text)
{
    draw_text(surface, current_font, x, y, text);
}

void print_text_centred(SDL_Surface* surface, int y, const char* text)
{
    if (surface == NULL) return;
    print_text(surface, surface->w / 2 - text_width(current_font, text) / 2, y, text);
}

// The line of the screen that the text is typed on: saved once so that every
// change and every blink of the cursor starts again from a clean background.
struct InputLine {
    SDL_Surface* surface;
    SDL_Surface* background;
    int y, height;
};

static void save_background(InputLine& line)
{
    SDL_Surface* s = line.surface;
    line.background = NULL;
    if (s == NULL || line.height <= 0) return;
    line.background = SDL_CreateRGBSurface(SDL_SWSURFACE, s->w, line.height, s->format->BitsPerPixel,
                                           s->format->Rmask, s->format->Gmask, s->format->Bmask,
                                           s->format->Amask);
    if (line.background == NULL) return;
    SDL_Rect source = make_rect(0, line.y, s->w, line.height);
    SDL_BlitSurface(s, &source, line.background, NULL);
}

static void restore_background(InputLine& line)
{
    if (line.background == NULL) return;
    SDL_Rect destination = make_rect(0, line.y, 0, 0);
    SDL_BlitSurface(line.background, NULL, line.surface, &destination);
}

// Shows the input line; a rectangle reaching past the screen would not be
// shown at all, so it is cut to the screen first.
static void show_line(InputLine& line)
{
    SDL_Surface* s = line.surface;
    int top = line.y < 0 ? 0 : line.y;
    int bottom = line.y + line.height > s->h ? s->h : line.y + line.height;
    if (bottom > top) video_update_rect(s, 0, top, s->w, bottom - top);
}

// Applies one typed character; returns 1 when it is one that redraws the line.
// Delete (127) is no character: it has no glyph and would be kept raw.
static int edit_text(Font& font, int max_width, char* text, int buffer_size, int c)
{
    size_t length = strlen(text);
    if (c == 8 && length > 0) {
        text[length - 1] = 0;
    } else if (c >= 32 && c <= 126 && (int)length + 1 < buffer_size) {
        text[length] = (char)c;
        text[length + 1] = 0;
    }
    length = strlen(text);
    if (length > 0 && text_width(font, text) > max_width) text[length - 1] = 0;
    return (c >= 32 && c <= 126) || c == 8;
}

// The cursor blinks every half second: drawn after the text, then wiped.
struct Cursor {
    Uint32 blink_time;
    int phase;
};

static void blink_cursor(Cursor& cursor, InputLine& line, Font& font, int x, const char* text)
{
    Uint32 now = platform_ticks();
    if (now <= cursor.blink_time) return;
    cursor.phase = 1 - cursor.phase;
    cursor.blink_time = now + BLINK_MS;
    if (cursor.phase == 0) {
        restore_background(line);
        draw_text(line.surface, font, x, line.y, text);
    } else {
        draw_text(line.surface, font, x + text_width(font, text), line.y, "|");
    }
    video_flip(line.surface);
}

void input_text(SDL_Surface* surface, Font& font, int x, int y, int max_width, char* text, int buffer_size,
                const SDL_Event* first_event)
{
    if (surface == NULL || text == NULL || buffer_size <= 0) return;
    text[buffer_size - 1] = 0;
    InputLine line;
    line.surface = surface;
    line.y = y;
    line.height = font.bitmap != NULL ? font.bitmap->h : 0;
    save_background(line);
    draw_text(surface, font, x, y, text);
    show_line(line);
    platform_enable_unicode(1);

    Cursor cursor = {platform_ticks(), 0};
    // Every event is handled before the next one is taken, so fast typing
    // (b pressed before a is let go) keeps every letter.
    SDL_Event event;
    int pending = first_event != NULL;
    if (pending) event = *first_event;
    // A close request ends the input where it stands.
    while (!platform_quit_requested()) {
        int key = pending && event.type == SDL_KEYDOWN;
        if (key && event.key.keysym.unicode == 13) break;
        pending = 0;
        if (key && edit_text(font, max_width, text, buffer_size, event.key.keysym.unicode)) {
            restore_background(line);
            draw_text(surface, font, x, y, text);
            video_flip(surface);
            // The event waited for is handled in the next pass.
            if (!platform_wait_event(&event)) break;
            pending = 1;
        }
        blink_cursor(cursor, line, font, x, text);
        platform_delay(1);
        if (!pending) {
            pending = platform_poll_event(&event);
            if (!pending && platform_input_exhausted()) break;
        }
    }
    if (line.background != NULL) SDL_FreeSurface(line.background);
}

void read_text(SDL_Surface* surface, int x, int y, int max_width, char* text, int buffer_size,
               const SDL_Event* first_event)
{
    input_text(surface, current_font, x, y, max_width, text, buffer_size, first_event);
}
