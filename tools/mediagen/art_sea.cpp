// The seabed of each level: a height field with sand, stones, coral or a
// wreck, lit by the sun, seen through water that darkens with depth, with
// a dark pit in the middle where the creatures come up from. Caustics and
// glints on the water move a little from frame to frame; the game plays the
// frames back and forth.

#include <math.h>
#include <stdio.h>

#include "art.h"
#include "output.h"

namespace {

const int W = 640, H = 480;
const int FRAMES = 6;
const float FLAT = 0.623f;
const float PIT_X = 320.0f, PIT_Y = 264.0f / FLAT;  // centre of the ellipse, in seabed units

// A random place on the seabed (x first, then y), refused when it lies
// within `clearance` of the pit, where the creatures rise.
bool random_spot_off_pit(Rng& rng, float clearance, float& x, float& y)
{
    x = rng.range(0, W);
    y = rng.range(0, H / FLAT);
    return hypotf_d(x - PIT_X, y - PIT_Y) >= clearance;
}

struct Seabed {
    std::vector<float> height = std::vector<float>((size_t)W * H, 0.0f);
    std::vector<Rgb> albedo = std::vector<Rgb>((size_t)W * H, Rgb{0.8f, 0.7f, 0.5f});
    std::vector<Rgb> glow = std::vector<Rgb>((size_t)W * H, Rgb{0, 0, 0});
    float& h(int x, int y) { return height[(size_t)y * W + x]; }
    Rgb& a(int x, int y) { return albedo[(size_t)y * W + x]; }
    Rgb& g(int x, int y) { return glow[(size_t)y * W + x]; }
};

struct SeaStyle {
    int seed;
    Rgb water, deep;         // water colour over the bed and in the pit
    float murk;              // how much water colour covers the bed, 0 ... 1
    float caustics, glints;  // strength of the light patterns
    float pit_radius;
};

// World coordinates of a screen pixel: the seabed is seen flattened.
inline float wx(int x) { return x + 0.5f; }
inline float wy(int y) { return (y + 0.5f) / FLAT; }

// Runs a stamp over the pixels whose world position lies within r of (cx, cy).
template <class F>
void around(float cx, float cy, float r, F f)
{
    int x0 = std::max(0, (int)(cx - r) - 1), x1 = std::min(W - 1, (int)(cx + r) + 1);
    int y0 = std::max(0, (int)((cy - r) * FLAT) - 1), y1 = std::min(H - 1, (int)((cy + r) * FLAT) + 1);
    for (int y = y0; y <= y1; y++) {
        for (int x = x0; x <= x1; x++) f(x, y, wx(x) - cx, wy(y) - cy);
    }
}

void sand(Seabed& s, const SeaStyle& st, Rgb light, Rgb dark, float ripples)
{
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            float X = wx(x), Y = wy(y);
            float big = fbm(X / 160.0f, Y / 160.0f, st.seed, 4);
            float fine = fbm(X / 14.0f, Y / 14.0f, st.seed + 5, 2);
            float warp = fbm(X / 70.0f, Y / 70.0f, st.seed + 9, 2) * 6.0f;
            float ripple = sinf_d((X * 0.42f + Y * 0.91f) / 5.5f + warp) * ripples;
            s.h(x, y) = big * 26.0f + ripple + fine * 1.5f;
            s.a(x, y) = mix(dark, light, clampf(0.55f + (big - 0.5f) * 0.6f + (fine - 0.5f) * 0.45f, 0, 1));
        }
    }
}

void pit(Seabed& s, const SeaStyle& st)
{
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            float r = hypotf_d(wx(x) - PIT_X, wy(y) - PIT_Y);
            float edge = r / st.pit_radius + (fbm(wx(x) / 30.0f, wy(y) / 30.0f, st.seed + 3, 3) - 0.5f) * 0.35f;
            float rim = expf_d(-(edge - 1.05f) * (edge - 1.05f) * 40.0f);
            s.h(x, y) += rim * 9.0f - (1.0f - smoothstepf(0.35f, 1.0f, edge)) * 40.0f;
        }
    }
}

// A rounded stone or mound.
void stone(Seabed& s, float cx, float cy, float r, float height, Rgb colour, int seed)
{
    around(cx, cy, r * 1.3f, [&](int x, int y, float dx, float dy) {
        float n = fbm(wx(x) / 9.0f, wy(y) / 9.0f, seed, 2);
        float d = hypotf_d(dx, dy) / r + (n - 0.5f) * 0.5f;
        if (d >= 1.0f) return;
        float dome = sqrtf(1.0f - d * d) * height;
        s.h(x, y) += dome;
        float k = smoothstepf(1.0f, 0.8f, d);
        s.a(x, y) = mix(s.a(x, y), scale(colour, 0.8f + 0.4f * n), k);
    });
}

void seaweed(Seabed& s, float cx, float cy, int seed)
{
    Rng rng(seed);
    int blades = 6 + rng.below(5);
    for (int i = 0; i < blades; i++) {
        float angle = rng.range(0, 6.283f), len = rng.range(10, 22);
        float bend = rng.range(-0.6f, 0.6f);
        for (float t = 0; t < 1.0f; t += 0.04f) {
            float a = angle + bend * t;
            float px = cx + cosf_d(a) * len * t, py = cy + sinf_d(a) * len * t;
            float width = 2.2f * (1.0f - t) + 0.6f;
            around(px, py, width, [&](int x, int y, float dx, float dy) {
                if (hypotf_d(dx, dy) > width) return;
                s.h(x, y) += 0.8f;
                s.a(x, y) = mix(rgb(40, 120, 50), rgb(120, 190, 70), t);
            });
        }
    }
}

void starfish(Seabed& s, float cx, float cy, float r, float turn)
{
    around(cx, cy, r, [&](int x, int y, float dx, float dy) {
        float a = atan2f_d(dy, dx) + turn, d = hypotf_d(dx, dy);
        float arm = r * (0.38f + 0.62f * powf_d(0.5f + 0.5f * cosf_d(5.0f * a), 2.0f));
        if (d > arm) return;
        s.h(x, y) += 2.0f * (1.0f - d / arm);
        s.a(x, y) = mix(rgb(250, 130, 50), rgb(230, 70, 40), d / r);
    });
}

void coral(Seabed& s, float cx, float cy, float r, Rgb colour, int seed)
{
    Rng rng(seed);
    int lumps = 5 + rng.below(4);
    for (int i = 0; i < lumps; i++) {
        float a = rng.range(0, 6.283f), d = rng.range(0, r * 0.6f);
        float lx = cx + cosf_d(a) * d, ly = cy + sinf_d(a) * d, lr = rng.range(r * 0.35f, r * 0.6f);
        around(lx, ly, lr, [&](int x, int y, float dx, float dy) {
            float q = hypotf_d(dx, dy) / lr;
            if (q >= 1.0f) return;
            float bumps = value_noise(wx(x) / 2.3f, wy(y) / 2.3f, seed + i);
            float dome = sqrtf(1.0f - q * q);
            s.h(x, y) = std::max(s.h(x, y), s.h(x, y) * 0.3f + dome * lr * 0.7f + bumps * 3.0f);
            s.a(x, y) = mix(scale(colour, 0.7f), mix(colour, rgb(255, 240, 230), 0.25f), bumps);
        });
    }
}

void sea_fan(Seabed& s, float cx, float cy, float r, Rgb colour, int seed)
{
    Rng rng(seed);
    float base = rng.range(0, 6.283f);
    for (int i = 0; i < 9; i++) {
        float a = base + (i - 4) * 0.17f;
        for (float t = 0; t < 1.0f; t += 0.03f) {
            float px = cx + cosf_d(a) * r * t, py = cy + sinf_d(a) * r * t;
            around(px, py, 1.2f, [&](int x, int y, float dx, float dy) {
                if (hypotf_d(dx, dy) > 1.2f) return;
                s.h(x, y) += 1.0f;
                s.a(x, y) = colour;
            });
        }
    }
}

// The hull of a sunken ship: a long rim with ribs, a broken deck inside.
void wreck(Seabed& s, float cx, float cy, float length, float beam, float turn, int seed)
{
    float c = cosf_d(turn), sn = sinf_d(turn);
    around(cx, cy, length * 0.6f, [&](int x, int y, float dx, float dy) {
        float u = dx * c + dy * sn, v = -dx * sn + dy * c;
        float half = beam * 0.5f * sqrtf(clampf(1.0f - powf_d(fabsf(u) / (length * 0.5f), 2.4f), 0, 1));
        if (u > length * 0.18f) half *= 1.0f - 0.5f * smoothstepf(length * 0.18f, length * 0.5f, u);
        float inside = half - fabsf(v);
        if (inside < -2.0f || half <= 0) return;
        float broken = fbm(wx(x) / 18.0f, wy(y) / 18.0f, seed, 3);
        if (broken > 0.64f && inside > 2.0f) return;  // holes in the deck
        Rgb wood = mix(rgb(92, 70, 48), rgb(130, 100, 66), value_noise(u / 1.5f, v / 8.0f, seed + 1));
        float rim = expf_d(-inside * inside / 6.0f);
        float rib = (fmodf(u + length, 9.0f) < 2.2f) ? 1.0f : 0.0f;
        float plank = (fmodf(v + beam, 3.2f) < 0.5f) ? 0.75f : 1.0f;
        s.h(x, y) += rim * 12.0f + (inside > 0 ? 4.0f + rib * 3.0f : 0.0f);
        s.a(x, y) = inside > 0 ? scale(wood, plank * (rib > 0 ? 0.85f : 1.0f)) : scale(rgb(70, 60, 50), 1.0f);
        if (rim > 0.5f) s.a(x, y) = mix(rgb(110, 86, 60), rgb(74, 96, 70), broken);  // weed on the gunwale
    });
}

void barrel(Seabed& s, float cx, float cy, int seed)
{
    around(cx, cy, 7.0f, [&](int x, int y, float dx, float dy) {
        float d = hypotf_d(dx, dy);
        if (d > 6.0f) return;
        s.h(x, y) += sqrtf(36.0f - d * d) * 0.9f;
        bool hoop = fabsf(d - 4.0f) < 0.7f || d < 1.0f;
        s.a(x, y) = hoop ? rgb(80, 80, 84) : mix(rgb(120, 80, 44), rgb(150, 104, 60), value_noise(wx(x), wy(y), seed));
    });
}

void anchor(Seabed& s, float cx, float cy)
{
    auto bar = [&](float ax, float ay, float bx, float by, float w) {
        around((ax + bx) / 2, (ay + by) / 2, hypotf_d(bx - ax, by - ay) / 2 + w, [&](int x, int y, float, float) {
            if (sd_segment(wx(x), wy(y), ax, ay, bx, by, w) > 0) return;
            s.h(x, y) += 3.0f;
            s.a(x, y) = rgb(96, 84, 78);
        });
    };
    bar(cx, cy - 28, cx, cy + 22, 2.2f);
    bar(cx - 12, cy - 20, cx + 12, cy - 20, 1.8f);
    for (int side = -1; side <= 1; side += 2) {
        bar(cx, cy + 22, cx + side * 14, cy + 12, 2.2f);
        bar(cx + side * 14, cy + 12, cx + side * 17, cy + 2, 1.8f);
    }
    for (int i = 0; i < 16; i++) {  // the chain
        float t = i / 15.0f;
        float px = cx + 4 + t * 90, py = cy - 30 - sinf_d(t * 3.0f) * 30;
        around(px, py, 3.0f, [&](int x, int y, float dx, float dy) {
            float q = fabsf(hypotf_d(dx, dy * (i % 2 ? 1.6f : 0.7f)) - 2.0f);
            if (q > 0.9f) return;
            s.h(x, y) += 1.5f;
            s.a(x, y) = rgb(110, 96, 86);
        });
    }
}

// Basalt of the abyss: cracked rock whose cracks glow.
void basalt(Seabed& s, const SeaStyle& st)
{
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            float X = wx(x), Y = wy(y);
            float big = fbm(X / 120.0f, Y / 120.0f, st.seed, 5);
            float n1 = fbm(X / 70.0f, Y / 70.0f, st.seed + 11, 2), n2 = fbm(X / 45.0f, Y / 45.0f, st.seed + 12, 2);
            float crack = std::min(fabsf(n1 - 0.5f), fabsf(n2 - 0.5f) * 1.6f);
            s.h(x, y) = big * 45.0f - expf_d(-crack * crack * 900.0f) * 6.0f;
            s.a(x, y) = mix(rgb(30, 34, 44), rgb(74, 72, 84), clampf(big * 1.2f - 0.1f, 0, 1));
            float lit = expf_d(-crack * crack * 4000.0f) * smoothstepf(0.45f, 0.7f, fbm(X / 90.0f, Y / 90.0f, st.seed + 13, 2));
            s.g(x, y) = Rgb{0.15f * lit, 0.75f * lit, 0.85f * lit};
        }
    }
}

// Caustics: the bright net that waves on the surface focus onto the bed,
// drawn as the borders of cells around points that drift a little with
// time t. Computed at half resolution (they are soft).
std::vector<float> caustic_map(const SeaStyle& st, float t)
{
    const int w = W / 2 + 1, h = H / 2 + 1;
    const float cell = 42.0f;
    const int cols = (int)(W / cell) + 3, rows = (int)(H / FLAT / cell) + 3;
    std::vector<float> px((size_t)cols * rows), py((size_t)cols * rows);
    for (int j = 0; j < rows; j++) {
        for (int i = 0; i < cols; i++) {
            float phase = hash01(i, j, st.seed + 31) * 6.283f;
            float r = 0.18f + 0.12f * hash01(i, j, st.seed + 32);
            px[(size_t)j * cols + i] = (i - 1 + 0.2f + 0.6f * hash01(i, j, st.seed + 33) + r * cosf_d(phase + t)) * cell;
            py[(size_t)j * cols + i] = (j - 1 + 0.2f + 0.6f * hash01(i, j, st.seed + 34) + r * sinf_d(phase + t)) * cell;
        }
    }
    std::vector<float> out((size_t)w * h);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            float X = 2.0f * x, Y = 2.0f * y / FLAT;
            X += (fbm(X / 70.0f, Y / 70.0f, st.seed + 35, 3) - 0.5f) * 44.0f;
            Y += (fbm(X / 70.0f, Y / 70.0f, st.seed + 36, 3) - 0.5f) * 44.0f;
            int ci = (int)floorf(X / cell) + 1, cj = (int)floorf(Y / cell) + 1;
            float f1 = 1e9f, f2 = 1e9f;
            for (int j = cj - 1; j <= cj + 1; j++) {
                for (int i = ci - 1; i <= ci + 1; i++) {
                    if (i < 0 || j < 0 || i >= cols || j >= rows) continue;
                    float dx = X - px[(size_t)j * cols + i], dy = Y - py[(size_t)j * cols + i];
                    float d = sqrtf(dx * dx + dy * dy);
                    if (d < f1) {
                        f2 = f1;
                        f1 = d;
                    } else if (d < f2) {
                        f2 = d;
                    }
                }
            }
            float edge = f2 - f1;
            out[(size_t)y * w + x] = expf_d(-edge / 1.6f) * 0.8f + expf_d(-edge / 6.0f) * 0.2f;
        }
    }
    return out;
}

float sample_half(const std::vector<float>& m, int x, int y)
{
    const int w = W / 2 + 1;
    int hx = x / 2, hy = y / 2;
    float fx = (x & 1) * 0.5f, fy = (y & 1) * 0.5f;
    float a = m[(size_t)hy * w + hx], b = m[(size_t)hy * w + hx + 1];
    float c = m[(size_t)(hy + 1) * w + hx], d = m[(size_t)(hy + 1) * w + hx + 1];
    return mixf(mixf(a, b, fx), mixf(c, d, fx), fy);
}

// Light: shade the bed, soak it in water, add the caustics and glints of
// frame f.
Canvas light_frame(Seabed& s, const SeaStyle& st, int f, const std::vector<float>& shade)
{
    Canvas c(W, H);
    float t = (float)f;
    std::vector<float> caustics = caustic_map(st, f * 0.35f);
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            float X = wx(x), Y = wy(y);
            size_t i = (size_t)y * W + x;
            float r = hypotf_d(X - PIT_X, Y - PIT_Y) / st.pit_radius;
            float pit = 1.0f - smoothstepf(0.15f, 1.05f, r);
            float depth = st.murk;
            Rgb col = scale(s.albedo[i], shade[i]);
            // Water swallows red first: tint by the water colour, then veil.
            col = Rgb{col.r * mixf(1.0f, st.water.r * 1.5f, depth), col.g * mixf(1.0f, st.water.g * 1.2f, depth),
                      col.b * mixf(1.0f, st.water.b * 1.15f, depth)};
            col = mix(col, st.water, depth * 0.55f);
            col = mix(col, st.deep, pit * 0.92f);
            float light = sample_half(caustics, x, y) * st.caustics * (1.0f - pit);
            col = add(col, Rgb{light * 0.8f, light * 0.95f, light});
            float pulse = 0.65f + 0.35f * sinf_d(t * 1.05f + X * 0.02f);
            col = add(col, scale(s.glow[i], pulse * (1.0f - pit * 0.85f)));
            float g = value_noise(X / 4.5f + t * 0.6f, Y / 3.0f, st.seed + 23);
            float sparkle = smoothstepf(0.9f, 0.98f, g) * st.glints;
            col = mix(col, rgb(235, 250, 255), sparkle * 0.6f);
            float vx = (x - 320.0f) / 360.0f, vy = (y - 250.0f) / 300.0f;
            float vignette = 1.0f - 0.28f * (vx * vx + vy * vy);
            c.at(x, y) = Rgba{clampf(col.r * vignette, 0, 1), clampf(col.g * vignette, 0, 1), clampf(col.b * vignette, 0, 1), 1.0f};
        }
    }
    return c;
}

// Sunlight on the height field: Lambert with soft shadows toward the sun.
std::vector<float> sunlight(Seabed& s)
{
    std::vector<float> out((size_t)W * H);
    const float lx = -0.55f, ly = -0.35f, lz = 0.76f;
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            int xl = std::max(0, x - 1), xr = std::min(W - 1, x + 1), yu = std::max(0, y - 1), yd = std::min(H - 1, y + 1);
            float dhx = (s.h(xr, y) - s.h(xl, y)) / (xr - xl);
            float dhy = (s.h(x, yd) - s.h(x, yu)) / ((yd - yu) / FLAT);
            float nx = -dhx, ny = -dhy, nz = 1.0f, nl = sqrtf(nx * nx + ny * ny + nz * nz);
            float diffuse = std::max(0.0f, (nx * lx + ny * ly + nz * lz) / nl);
            float h0 = s.h(x, y), shadow = 1.0f;
            for (int k = 1; k <= 10; k++) {
                float d = k * 3.0f;
                int sx = (int)(x + lx / 0.65f * d), sy = (int)(y + ly / 0.65f * d * FLAT);
                if (sx < 0 || sy < 0 || sx >= W || sy >= H) break;
                if (s.h(sx, sy) > h0 + d * lz / 0.65f * 0.9f) shadow = std::min(shadow, 0.6f + 0.04f * k);
            }
            out[(size_t)y * W + x] = (0.45f + 0.75f * diffuse) * shadow;
        }
    }
    return out;
}

void save_frames(Seabed& s, const SeaStyle& st, const std::string& dir)
{
    std::vector<float> shade = sunlight(s);
    for (int f = 0; f < FRAMES; f++) {
        char name[64];
        snprintf(name, sizeof name, "/dno%d.bmp", f);
        save_opaque(dir + name, light_frame(s, st, f, shade), true);
    }
}

void shallows()
{
    SeaStyle st = {101, rgb(30, 176, 190), rgb(4, 40, 84), 0.30f, 0.40f, 0.8f, 105.0f};
    Seabed s;
    sand(s, st, rgb(252, 238, 200), rgb(222, 198, 148), 1.6f);
    pit(s, st);
    Rng rng(7);
    for (int i = 0; i < 70; i++) {
        float x, y;
        if (!random_spot_off_pit(rng, 150, x, y)) continue;
        float r = rng.range(2.5f, 8.0f);
        stone(s, x, y, r, r * 0.9f, mix(rgb(150, 146, 136), rgb(206, 200, 186), rng.uniform()), 40 + i);
    }
    for (int i = 0; i < 16; i++) {
        float x, y;
        if (!random_spot_off_pit(rng, 160, x, y)) continue;
        seaweed(s, x, y, 90 + i);
    }
    for (int i = 0; i < 5; i++) {
        float x = rng.range(30, W - 30), y = rng.range(120, H / FLAT - 30);
        if (hypotf_d(x - PIT_X, y - PIT_Y) < 170) continue;
        starfish(s, x, y, rng.range(8, 12), rng.range(0, 6.28f));
    }
    save_frames(s, st, "GFX/LEVEL1");
}

void reef()
{
    SeaStyle st = {202, rgb(24, 140, 186), rgb(4, 30, 80), 0.42f, 0.34f, 0.7f, 110.0f};
    Seabed s;
    sand(s, st, rgb(244, 228, 186), rgb(200, 182, 140), 1.0f);
    pit(s, st);
    const Rgb corals[] = {rgb(240, 110, 130), rgb(250, 160, 70), rgb(170, 90, 200), rgb(240, 210, 90), rgb(90, 190, 170)};
    Rng rng(11);
    // Reef patches: clusters of coral heads of a few kinds each.
    for (int patch = 0; patch < 26; patch++) {
        float px = rng.range(-30, W + 30), py = rng.range(-20, H / FLAT + 30);
        if (hypotf_d(px - PIT_X, py - PIT_Y) < 185) continue;
        int heads = 5 + rng.below(6);
        for (int i = 0; i < heads; i++) {
            float a = rng.range(0, 6.283f), d = rng.range(0, 50);
            coral(s, px + cosf_d(a) * d, py + sinf_d(a) * d, rng.range(16, 30), corals[rng.below(5)], 300 + patch * 16 + i);
        }
    }
    for (int i = 0; i < 12; i++) {
        float x, y;
        if (!random_spot_off_pit(rng, 170, x, y)) continue;
        sea_fan(s, x, y, rng.range(12, 20), corals[rng.below(5)], 400 + i);
    }
    for (int i = 0; i < 10; i++) {
        float x, y;
        if (!random_spot_off_pit(rng, 160, x, y)) continue;
        seaweed(s, x, y, 500 + i);
    }
    save_frames(s, st, "GFX/LEVEL2");
}

void wreck_field()
{
    SeaStyle st = {303, rgb(30, 104, 120), rgb(2, 20, 40), 0.52f, 0.22f, 0.5f, 112.0f};
    Seabed s;
    sand(s, st, rgb(170, 170, 140), rgb(110, 112, 94), 0.7f);
    pit(s, st);
    wreck(s, 140, 170, 250, 64, 0.45f, 61);
    wreck(s, 560, 640, 180, 46, -0.6f, 62);
    anchor(s, 520, 170);
    Rng rng(13);
    for (int i = 0; i < 9; i++) {
        float x, y;
        if (!random_spot_off_pit(rng, 170, x, y)) continue;
        barrel(s, x, y, 600 + i);
    }
    for (int i = 0; i < 40; i++) {
        float x, y;
        if (!random_spot_off_pit(rng, 160, x, y)) continue;
        float r = rng.range(4, 14);
        stone(s, x, y, r, r * 0.8f, mix(rgb(90, 96, 88), rgb(140, 140, 126), rng.uniform()), 700 + i);
    }
    for (int i = 0; i < 10; i++) {
        float x, y;
        if (!random_spot_off_pit(rng, 160, x, y)) continue;
        seaweed(s, x, y, 800 + i);
    }
    save_frames(s, st, "GFX/LEVEL3");
}

void abyss()
{
    SeaStyle st = {404, rgb(20, 60, 110), rgb(0, 4, 16), 0.45f, 0.08f, 0.35f, 125.0f};
    Seabed s;
    basalt(s, st);
    pit(s, st);
    Rng rng(17);
    for (int i = 0; i < 26; i++) {
        float x, y;
        if (!random_spot_off_pit(rng, 170, x, y)) continue;
        float r = rng.range(8, 22);
        stone(s, x, y, r, r * 1.1f, mix(rgb(44, 46, 58), rgb(86, 84, 96), rng.uniform()), 900 + i);
    }
    // Glowing creatures of the deep scattered over the rocks.
    for (int i = 0; i < 60; i++) {
        float x = rng.range(0, W), y = rng.range(0, H / FLAT);
        Rgb colour = rng.below(3) == 0 ? Rgb{0.9f, 0.3f, 0.9f} : Rgb{0.2f, 0.9f, 0.8f};
        float r = rng.range(1.2f, 2.6f);
        around(x, y, r * 2.5f, [&](int px, int py, float dx, float dy) {
            float d = hypotf_d(dx, dy) / r;
            float k = expf_d(-d * d * 0.8f);
            Rgb& g = s.g(px, py);
            g = add(g, scale(colour, k * 0.9f));
        });
    }
    // The pit of the abyss glows faintly at its rim.
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            float r = hypotf_d(wx(x) - PIT_X, wy(y) - PIT_Y) / st.pit_radius;
            float k = expf_d(-(r - 0.92f) * (r - 0.92f) * 60.0f) * 0.35f;
            s.g(x, y) = add(s.g(x, y), Rgb{0.5f * k, 0.15f * k, 0.6f * k});
        }
    }
    save_frames(s, st, "GFX/LEVEL4");
}

}  // namespace

void make_seabeds()
{
    shallows();
    reef();
    wreck_field();
    abyss();
}
