#ifndef MEDIAGEN_TEXT_H
#define MEDIAGEN_TEXT_H

// Lettering from the system's DejaVu fonts through SDL_ttf: alpha masks of
// text, and text painted with fill gradient, outline and drop shadow.

#include <string>
#include <vector>

#include "gfx.h"

enum FontFace { SANS, SANS_BOLD, SERIF_BOLD, CONDENSED_BOLD, MONO_BOLD };

// Opens the font library; dir holds the DejaVu TrueType files.
void text_init(const std::string& dir);
void text_quit();

struct TextMask {
    int w = 0, h = 0;
    int ascent = 0;
    std::vector<float> alpha;
    float at(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : alpha[(size_t)y * w + x]; }
};

// The text as rendered by the font, as an alpha mask as high as the font's
// line. utf8 may be empty (an empty mask).
TextMask text_mask(FontFace face, int size, const char* utf8);
int text_width(FontFace face, int size, const char* utf8);
int font_line_height(FontFace face, int size);
int font_ascent(FontFace face, int size);
// Advance and horizontal extent of one character.
void glyph_metrics(FontFace face, int size, unsigned code, int* minx, int* maxx, int* advance);

struct TextStyle {
    Rgb top = rgb(255, 255, 255);
    Rgb bottom = rgb(255, 255, 255);
    float outline = 0.0f;                 // width in pixels, 0 for none
    Rgb outline_colour = rgb(0, 0, 0);
    float shadow = 0.0f;                  // offset in pixels, 0 for none
    float shadow_alpha = 0.6f;
    int shadow_blur = 2;
    Rgb glow = rgb(0, 0, 0);
    float glow_alpha = 0.0f;              // soft halo, 0 for none
    int glow_radius = 6;
};

enum TextAlign { ALIGN_LEFT, ALIGN_CENTRE, ALIGN_RIGHT };

// Paints text whose line box starts at y (its top); x is the left edge, the
// centre or the right edge by align.
void draw_text(Canvas& c, FontFace face, int size, const char* utf8, float x, float y,
               const TextStyle& style, TextAlign align = ALIGN_LEFT);

// Paints a paragraph wrapped at max_width; returns the y below its last line.
float draw_paragraph(Canvas& c, FontFace face, int size, const char* utf8, float x, float y,
                     float max_width, float line_step, const TextStyle& style);

#endif
