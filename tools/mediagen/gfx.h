#ifndef MEDIAGEN_GFX_H
#define MEDIAGEN_GFX_H

// A small floating-point painting kit: RGBA canvases, anti-aliased shapes
// given as signed distance functions, blurs, compositing and noise. Every
// picture of the game is painted with it before it is reduced to 256 colours.

#include <math.h>

#include <algorithm>
#include <vector>

#include "detmath.h"

struct Rgba {
    float r, g, b, a;
};

struct Rgb {
    float r, g, b;
};

inline Rgba rgba(int r, int g, int b, float a = 1.0f)
{
    return Rgba{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

inline Rgb rgb(int r, int g, int b)
{
    return Rgb{r / 255.0f, g / 255.0f, b / 255.0f};
}

inline Rgba with_alpha(Rgb c, float a)
{
    return Rgba{c.r, c.g, c.b, a};
}

inline float clampf(float v, float lo, float hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

inline float mixf(float a, float b, float t)
{
    return a + (b - a) * t;
}

inline Rgb mix(Rgb a, Rgb b, float t)
{
    return Rgb{mixf(a.r, b.r, t), mixf(a.g, b.g, t), mixf(a.b, b.b, t)};
}

inline Rgb scale(Rgb a, float k)
{
    return Rgb{a.r * k, a.g * k, a.b * k};
}

inline Rgb add(Rgb a, Rgb b)
{
    return Rgb{a.r + b.r, a.g + b.g, a.b + b.b};
}

inline float smoothstepf(float e0, float e1, float x)
{
    float t = clampf((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

struct Canvas {
    int w = 0, h = 0;
    std::vector<Rgba> px;

    Canvas() {}
    Canvas(int width, int height, Rgba fill = Rgba{0, 0, 0, 0})
        : w(width), h(height), px((size_t)width * height, fill) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Rgba& at(int x, int y) { return px[(size_t)y * w + x]; }
    const Rgba& at(int x, int y) const { return px[(size_t)y * w + x]; }
};

// Paints colour c over the pixel with the given coverage (straight alpha).
void blend(Canvas& c, int x, int y, Rgba colour, float coverage);

// Paints src over dst with its top-left corner at (x, y).
void paste(Canvas& dst, const Canvas& src, int x, int y, float opacity = 1.0f);

// Box-filters a canvas painted at factor times the size down to its size,
// averaging in premultiplied alpha so that edges stay clean.
Canvas downsample(const Canvas& big, int factor);

// Separable blur of colour and alpha (three box passes, premultiplied).
Canvas blur(const Canvas& src, int radius);

// Copies a rectangle out of a canvas.
Canvas crop(const Canvas& src, int x, int y, int w, int h);

// A frame strip: frames of w x h side by side.
Canvas make_strip(const std::vector<Canvas>& frames);

// --- Shapes by signed distance (negative inside), in pixel units ---------

float sd_circle(float px, float py, float cx, float cy, float r);
float sd_ellipse(float px, float py, float cx, float cy, float rx, float ry);
float sd_box(float px, float py, float cx, float cy, float hw, float hh, float radius = 0.0f);
float sd_segment(float px, float py, float ax, float ay, float bx, float by, float r);
float sd_polygon(float px, float py, const std::vector<float>& xy);

// Paints the shape given by its distance function over the rectangle
// [x0, x1) x [y0, y1), with a colour that may vary by position.
template <class Dist, class Colour>
void fill_shape(Canvas& c, float x0, float y0, float x1, float y1, Dist dist, Colour colour)
{
    int ix0 = std::max(0, (int)floorf(x0) - 1), iy0 = std::max(0, (int)floorf(y0) - 1);
    int ix1 = std::min(c.w, (int)ceilf(x1) + 1), iy1 = std::min(c.h, (int)ceilf(y1) + 1);
    for (int y = iy0; y < iy1; y++) {
        for (int x = ix0; x < ix1; x++) {
            float px = x + 0.5f, py = y + 0.5f;
            float cover = clampf(0.5f - dist(px, py), 0.0f, 1.0f);
            if (cover <= 0.0f) continue;
            blend(c, x, y, colour(px, py), cover);
        }
    }
}

// Shorthands for plain colours.
void fill_circle(Canvas& c, float cx, float cy, float r, Rgba colour);
void fill_ellipse(Canvas& c, float cx, float cy, float rx, float ry, Rgba colour);
void fill_box(Canvas& c, float x, float y, float w, float h, float radius, Rgba colour);
void fill_polygon(Canvas& c, const std::vector<float>& xy, Rgba colour);
void draw_line(Canvas& c, float ax, float ay, float bx, float by, float width, Rgba colour);
void draw_ring(Canvas& c, float cx, float cy, float rx, float ry, float width, Rgba colour);
// Fills the rectangle with a vertical gradient from top to bottom.
void fill_gradient(Canvas& c, int x, int y, int w, int h, Rgb top, Rgb bottom);

// --- Deterministic noise --------------------------------------------------

// A hash of integer coordinates and a seed, 0 ... 1.
float hash01(int x, int y, int seed);
// Smooth value noise, 0 ... 1, with period (in cells) when period > 0.
float value_noise(float x, float y, int seed, int period = 0);
// Fractal sum of octaves of value noise, 0 ... 1.
float fbm(float x, float y, int seed, int octaves, int period = 0);

// A tiny generator of its own, so that media never depend on the C library.
struct Rng {
    unsigned state;
    explicit Rng(unsigned seed) : state(seed * 2654435761u + 12345u) {}
    unsigned next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float uniform() { return (next() >> 8) * (1.0f / 16777216.0f); }
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return (int)(next() % (unsigned)n); }
};

#endif
