#include "gfx.h"

void blend(Canvas& c, int x, int y, Rgba colour, float coverage)
{
    if (!c.inside(x, y)) return;
    float a = clampf(colour.a * coverage, 0.0f, 1.0f);
    if (a <= 0.0f) return;
    Rgba& d = c.at(x, y);
    float out_a = a + d.a * (1.0f - a);
    if (out_a <= 0.0f) return;
    float keep = d.a * (1.0f - a);
    d.r = (colour.r * a + d.r * keep) / out_a;
    d.g = (colour.g * a + d.g * keep) / out_a;
    d.b = (colour.b * a + d.b * keep) / out_a;
    d.a = out_a;
}

void paste(Canvas& dst, const Canvas& src, int x, int y, float opacity)
{
    for (int sy = 0; sy < src.h; sy++) {
        for (int sx = 0; sx < src.w; sx++) {
            const Rgba& s = src.at(sx, sy);
            if (s.a > 0.0f) blend(dst, x + sx, y + sy, s, opacity);
        }
    }
}

Canvas downsample(const Canvas& big, int factor)
{
    Canvas out(big.w / factor, big.h / factor);
    float n = (float)(factor * factor);
    for (int y = 0; y < out.h; y++) {
        for (int x = 0; x < out.w; x++) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < factor; j++) {
                for (int i = 0; i < factor; i++) {
                    const Rgba& p = big.at(x * factor + i, y * factor + j);
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                }
            }
            Rgba& o = out.at(x, y);
            o.a = a / n;
            if (a > 0.0f) {
                o.r = r / a;
                o.g = g / a;
                o.b = b / a;
            }
        }
    }
    return out;
}

// One horizontal or vertical box pass over premultiplied values.
static void box_pass(std::vector<Rgba>& v, int w, int h, int radius, bool horizontal)
{
    std::vector<Rgba> out(v.size());
    int len = horizontal ? w : h, lines = horizontal ? h : w;
    float norm = 1.0f / (2 * radius + 1);
    for (int line = 0; line < lines; line++) {
        for (int i = 0; i < len; i++) {
            Rgba sum{0, 0, 0, 0};
            for (int k = -radius; k <= radius; k++) {
                int j = std::min(std::max(i + k, 0), len - 1);
                const Rgba& p = horizontal ? v[(size_t)line * w + j] : v[(size_t)j * w + line];
                sum.r += p.r;
                sum.g += p.g;
                sum.b += p.b;
                sum.a += p.a;
            }
            Rgba& o = horizontal ? out[(size_t)line * w + i] : out[(size_t)i * w + line];
            o = Rgba{sum.r * norm, sum.g * norm, sum.b * norm, sum.a * norm};
        }
    }
    v.swap(out);
}

Canvas blur(const Canvas& src, int radius)
{
    std::vector<Rgba> v(src.px);
    for (Rgba& p : v) p = Rgba{p.r * p.a, p.g * p.a, p.b * p.a, p.a};
    int r = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; pass++) {
        box_pass(v, src.w, src.h, r, true);
        box_pass(v, src.w, src.h, r, false);
    }
    Canvas out(src.w, src.h);
    for (size_t i = 0; i < v.size(); i++) {
        const Rgba& p = v[i];
        if (p.a > 0.0f) out.px[i] = Rgba{p.r / p.a, p.g / p.a, p.b / p.a, p.a};
    }
    return out;
}

Canvas crop(const Canvas& src, int x, int y, int w, int h)
{
    Canvas out(w, h);
    for (int j = 0; j < h; j++) {
        for (int i = 0; i < w; i++) {
            if (src.inside(x + i, y + j)) out.at(i, j) = src.at(x + i, y + j);
        }
    }
    return out;
}

Canvas make_strip(const std::vector<Canvas>& frames)
{
    int w = frames.empty() ? 0 : frames[0].w, h = frames.empty() ? 0 : frames[0].h;
    Canvas strip(w * (int)frames.size(), h);
    for (size_t k = 0; k < frames.size(); k++) {
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) strip.at((int)k * w + x, y) = frames[k].at(x, y);
        }
    }
    return strip;
}

float sd_circle(float px, float py, float cx, float cy, float r)
{
    return hypotf_d(px - cx, py - cy) - r;
}

float sd_ellipse(float px, float py, float cx, float cy, float rx, float ry)
{
    // Scaled circle distance, corrected by the gradient length: close to
    // exact near the outline, which is all the anti-aliasing needs.
    float dx = (px - cx) / rx, dy = (py - cy) / ry;
    float k = sqrtf(dx * dx + dy * dy);
    if (k < 1e-6f) return -std::min(rx, ry);
    float gx = dx / (rx * k), gy = dy / (ry * k);
    float g = sqrtf(gx * gx + gy * gy);
    return (k - 1.0f) / g;
}

float sd_box(float px, float py, float cx, float cy, float hw, float hh, float radius)
{
    float qx = fabsf(px - cx) - (hw - radius), qy = fabsf(py - cy) - (hh - radius);
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return hypotf_d(ox, oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sd_segment(float px, float py, float ax, float ay, float bx, float by, float r)
{
    float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    float len2 = bax * bax + bay * bay;
    float t = len2 > 0.0f ? clampf((pax * bax + pay * bay) / len2, 0.0f, 1.0f) : 0.0f;
    return hypotf_d(pax - bax * t, pay - bay * t) - r;
}

float sd_polygon(float px, float py, const std::vector<float>& xy)
{
    size_t n = xy.size() / 2;
    float d = 1e30f, s = 1.0f;
    for (size_t i = 0, j = n - 1; i < n; j = i, i++) {
        float vix = xy[2 * i], viy = xy[2 * i + 1], vjx = xy[2 * j], vjy = xy[2 * j + 1];
        float ex = vjx - vix, ey = vjy - viy, wx = px - vix, wy = py - viy;
        float t = clampf((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
        float bx = wx - ex * t, by = wy - ey * t;
        d = std::min(d, bx * bx + by * by);
        bool c1 = py >= viy, c2 = py < vjy, c3 = ex * wy > ey * wx;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * sqrtf(d);
}

void fill_circle(Canvas& c, float cx, float cy, float r, Rgba colour)
{
    fill_shape(c, cx - r, cy - r, cx + r, cy + r,
               [&](float x, float y) { return sd_circle(x, y, cx, cy, r); },
               [&](float, float) { return colour; });
}

void fill_ellipse(Canvas& c, float cx, float cy, float rx, float ry, Rgba colour)
{
    fill_shape(c, cx - rx, cy - ry, cx + rx, cy + ry,
               [&](float x, float y) { return sd_ellipse(x, y, cx, cy, rx, ry); },
               [&](float, float) { return colour; });
}

void fill_box(Canvas& c, float x, float y, float w, float h, float radius, Rgba colour)
{
    float cx = x + w / 2, cy = y + h / 2;
    fill_shape(c, x, y, x + w, y + h,
               [&](float px, float py) { return sd_box(px, py, cx, cy, w / 2, h / 2, radius); },
               [&](float, float) { return colour; });
}

void fill_polygon(Canvas& c, const std::vector<float>& xy, Rgba colour)
{
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        x0 = std::min(x0, xy[i]);
        x1 = std::max(x1, xy[i]);
        y0 = std::min(y0, xy[i + 1]);
        y1 = std::max(y1, xy[i + 1]);
    }
    fill_shape(c, x0, y0, x1, y1, [&](float x, float y) { return sd_polygon(x, y, xy); },
               [&](float, float) { return colour; });
}

void draw_line(Canvas& c, float ax, float ay, float bx, float by, float width, Rgba colour)
{
    float r = width / 2;
    fill_shape(c, std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r,
               std::max(ay, by) + r,
               [&](float x, float y) { return sd_segment(x, y, ax, ay, bx, by, r); },
               [&](float, float) { return colour; });
}

void draw_ring(Canvas& c, float cx, float cy, float rx, float ry, float width, Rgba colour)
{
    float half = width / 2;
    fill_shape(c, cx - rx - half, cy - ry - half, cx + rx + half, cy + ry + half,
               [&](float x, float y) { return fabsf(sd_ellipse(x, y, cx, cy, rx, ry)) - half; },
               [&](float, float) { return colour; });
}

void fill_gradient(Canvas& c, int x, int y, int w, int h, Rgb top, Rgb bottom)
{
    for (int j = 0; j < h; j++) {
        Rgb col = mix(top, bottom, h > 1 ? (float)j / (h - 1) : 0.0f);
        for (int i = 0; i < w; i++) {
            if (c.inside(x + i, y + j)) c.at(x + i, y + j) = with_alpha(col, 1.0f);
        }
    }
}

float hash01(int x, int y, int seed)
{
    unsigned h = (unsigned)x * 374761393u + (unsigned)y * 668265263u + (unsigned)seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) * (1.0f / 16777215.0f);
}

static int wrap(int v, int period)
{
    if (period <= 0) return v;
    int m = v % period;
    return m < 0 ? m + period : m;
}

float value_noise(float x, float y, int seed, int period)
{
    int ix = (int)floorf(x), iy = (int)floorf(y);
    float fx = x - ix, fy = y - iy;
    float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    float a = hash01(x0, y0, seed), b = hash01(x1, y0, seed);
    float c = hash01(x0, y1, seed), d = hash01(x1, y1, seed);
    return mixf(mixf(a, b, ux), mixf(c, d, ux), uy);
}

float fbm(float x, float y, int seed, int octaves, int period)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += amp * value_noise(x, y, seed + o * 101, period);
        norm += amp;
        x *= 2.0f;
        y *= 2.0f;
        if (period > 0) period *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}
