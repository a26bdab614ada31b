// Shells and surface runners, splashes, explosions, bubbles, particles and
// crosshairs. Small pictures are painted at four times their size and
// reduced, so that their edges are clean once colour-keyed.

#include "art.h"
#include "output.h"

namespace {

const int SS = 4;  // supersampling factor of the painted frames
const float PI = 3.14159265f;

// Screen direction of a heading: vertical components are flattened.
void heading_dir(float degrees, float* dx, float* dy)
{
    float a = degrees * PI / 180.0f;
    float x = cosf_d(a), y = sinf_d(a) * 0.623f;
    float l = sqrtf(x * x + y * y);
    *dx = x / l;
    *dy = y / l;
}

// --- Shells ----------------------------------------------------------------

Canvas cannon_shell()
{
    Canvas big(8 * SS, 8 * SS);
    float c = 4.0f * SS;
    fill_circle(big, c, c, 3.4f * SS, rgba(250, 120, 30));
    fill_circle(big, c, c, 2.4f * SS, rgba(255, 214, 90));
    fill_circle(big, c - 0.4f * SS, c - 0.4f * SS, 1.3f * SS, rgba(255, 255, 236));
    return downsample(big, SS);
}

Canvas mortar_shell()
{
    Canvas big(12 * SS, 12 * SS);
    float c = 6.0f * SS;
    fill_circle(big, c, c, 5.0f * SS, rgba(240, 160, 40));
    fill_shape(big, 0, 0, big.w, big.h, [&](float x, float y) { return sd_circle(x, y, c, c, 4.0f * SS); },
               [&](float x, float y) {
                   float l = clampf(1.0f - hypotf_d(x - c + 1.6f * SS, y - c + 1.6f * SS) / (5.0f * SS), 0, 1);
                   return with_alpha(mix(rgb(40, 44, 52), rgb(200, 208, 220), l * l), 1.0f);
               });
    fill_box(big, c - 4 * SS, c - 0.5f * SS, 8 * SS, 1.0f * SS, 0, rgba(200, 40, 40));
    return downsample(big, SS);
}

Canvas flat_shadow(int size, float rx, float ry)
{
    Canvas big(size * SS, size * SS);
    fill_ellipse(big, size * SS / 2.0f, size * SS / 2.0f, rx * SS, ry * SS, rgba(8, 30, 46));
    return downsample(big, SS);
}

// --- Surface runners --------------------------------------------------------

enum RunnerKind { STING, INK, BOLT };

Canvas runner_frame(RunnerKind kind, float heading, int seed)
{
    const int size = 16;
    Canvas big(size * SS, size * SS);
    float dx, dy;
    heading_dir(heading, &dx, &dy);
    float c = size * SS / 2.0f;
    float hx = c + dx * 2.5f * SS, hy = c + dy * 2.5f * SS;
    float tx = c - dx * 6.0f * SS, ty = c - dy * 6.0f * SS;
    Rng rng(seed);
    switch (kind) {
    case STING:
        fill_shape(big, 0, 0, big.w, big.h,
                   [&](float x, float y) { return sd_segment(x, y, tx, ty, hx, hy, 0) - mixf(0.6f, 3.2f, clampf(((x - tx) * dx + (y - ty) * dy) / (8.5f * SS), 0, 1)) * SS; },
                   [](float, float) { return rgba(214, 80, 220); });
        fill_circle(big, hx, hy, 2.3f * SS, rgba(255, 170, 250));
        fill_circle(big, hx, hy, 1.2f * SS, rgba(255, 250, 255));
        break;
    case INK:
        for (int i = 0; i < 5; i++) {
            float t = i / 4.0f;
            float px = mixf(tx, hx, t) + rng.range(-1, 1) * SS, py = mixf(ty, hy, t) + rng.range(-1, 1) * SS;
            fill_circle(big, px, py, mixf(1.6f, 3.4f, t) * SS, rgba(210, 220, 230));
        }
        for (int i = 0; i < 5; i++) {
            float t = i / 4.0f;
            float px = mixf(tx, hx, t), py = mixf(ty, hy, t);
            fill_circle(big, px, py, mixf(1.0f, 2.6f, t) * SS, rgba(34, 18, 48));
        }
        break;
    case BOLT: {
        float px = tx, py = ty;
        for (int i = 1; i <= 5; i++) {
            float t = i / 5.0f;
            float nx = mixf(tx, hx, t) + rng.range(-1.6f, 1.6f) * SS * (1 - t), ny = mixf(ty, hy, t) + rng.range(-1.6f, 1.6f) * SS * (1 - t);
            draw_line(big, px, py, nx, ny, 1.6f * SS, rgba(90, 220, 255));
            px = nx;
            py = ny;
        }
        fill_circle(big, hx, hy, 2.8f * SS, rgba(120, 230, 255));
        fill_circle(big, hx, hy, 1.6f * SS, rgba(240, 255, 255));
        break;
    }
    }
    return downsample(big, SS);
}

// The wake a runner leaves: a pale V opening behind it.
Canvas runner_wake(float heading)
{
    const int size = 16;
    Canvas big(size * SS, size * SS);
    float dx, dy;
    heading_dir(heading, &dx, &dy);
    float c = size * SS / 2.0f;
    float px = -dy, py = dx;
    float hx = c + dx * 1.0f * SS, hy = c + dy * 1.0f * SS;
    for (int side = -1; side <= 1; side += 2) {
        float ex = c - dx * 7.0f * SS + px * side * 4.0f * SS, ey = c - dy * 7.0f * SS + py * side * 4.0f * SS;
        draw_line(big, hx, hy, ex, ey, 1.1f * SS, rgba(200, 236, 246));
    }
    return downsample(big, SS);
}

Canvas runner_strip(RunnerKind kind, bool wake)
{
    std::vector<Canvas> frames;
    for (int k = 0; k < 24; k++) {
        float heading = k * 15.0f + 7.5f;
        frames.push_back(wake ? runner_wake(heading) : runner_frame(kind, heading, 100 + k));
    }
    return make_strip(frames);
}

// --- Splashes ---------------------------------------------------------------

struct SplashStyle {
    int w, h, frames;
    float column;       // peak height of the water column
    float spread;       // radius of the ripple at the end
    int drops;
    bool fire;
    Rgb water, foam;
};

// One frame of a splash: the ground point is (w / 2, h - w / 2).
Canvas splash_frame(const SplashStyle& s, int k, int seed)
{
    Canvas big(s.w * SS, s.h * SS);
    float t = (k + 0.5f) / s.frames;
    float gx = s.w * SS / 2.0f, gy = (s.h - s.w / 2.0f) * SS;
    // Ripple ring on the water.
    float ring = mixf(0.25f, 1.0f, t) * s.spread * SS;
    if (t > 0.15f) draw_ring(big, gx, gy, ring, ring * 0.623f, mixf(1.6f, 0.9f, t) * SS, with_alpha(s.foam, 1.0f));
    // Fire flash of an explosion.
    if (s.fire && t < 0.45f) {
        float r = (0.35f + t * 1.6f) * s.w * 0.32f * SS;
        float heat = 1.0f - t / 0.45f;
        fill_ellipse(big, gx, gy - r * 0.4f, r, r * 0.8f, with_alpha(mix(rgb(200, 60, 20), rgb(255, 160, 40), heat), 1.0f));
        fill_ellipse(big, gx, gy - r * 0.45f, r * 0.6f, r * 0.5f, with_alpha(mix(rgb(255, 190, 60), rgb(255, 250, 210), heat), 1.0f));
    }
    // The water column rises and falls back.
    float up = sinf_d(PI * clampf(t * 1.25f, 0, 1));
    float height = s.column * up * SS;
    float width = mixf(0.18f, 0.30f, t) * s.w * SS;
    if (height > 1.0f * SS) {
        fill_shape(big, 0, 0, big.w, big.h,
                   [&](float x, float y) {
                       float v = clampf((gy - y) / height, 0, 1);
                       float half = width * (1.0f - 0.55f * v) * (0.85f + 0.15f * sinf_d(y * 0.3f + k));
                       return std::max(fabsf(x - gx) - half, std::max(y - gy - 2.0f * SS, gy - height - y));
                   },
                   [&](float, float y) { return with_alpha(mix(s.water, s.foam, clampf((gy - y) / height, 0, 1)), 1.0f); });
        fill_ellipse(big, gx, gy - height, width * 0.75f, width * 0.5f, with_alpha(s.foam, 1.0f));
    }
    fill_ellipse(big, gx, gy, width * 1.1f * (1.0f - t * 0.5f), width * 0.5f, with_alpha(s.foam, up > 0.1f ? 1.0f : 0.0f));
    // Droplets thrown out along parabolas.
    Rng rng(seed);
    for (int i = 0; i < s.drops; i++) {
        float angle = rng.range(0.15f, 0.85f) * PI, speed = rng.range(0.5f, 1.0f);
        float vx = cosf_d(angle) * speed * s.w * 0.5f, vy = sinf_d(angle) * speed * s.column * 1.2f;
        float tt = t * 1.1f;
        float x = gx + vx * tt * SS, y = gy - (vy * tt - s.column * 0.9f * tt * tt) * SS;
        if (y > gy + 1.0f * SS) continue;
        fill_circle(big, x, y, rng.range(0.7f, 1.3f) * SS, with_alpha(s.foam, 1.0f));
    }
    return downsample(big, SS);
}

Canvas splash_strip(const SplashStyle& s, int seed)
{
    std::vector<Canvas> frames;
    for (int k = 0; k < s.frames; k++) frames.push_back(splash_frame(s, k, seed));
    return make_strip(frames);
}

// --- Explosions -------------------------------------------------------------

Rgb heat_colour(float h)
{
    const Rgb ramp[] = {rgb(58, 56, 60), rgb(96, 70, 56), rgb(196, 56, 24), rgb(250, 142, 30), rgb(255, 222, 90), rgb(255, 255, 230)};
    h = clampf(h, 0, 1) * 5.0f;
    int i = std::min(4, (int)h);
    return mix(ramp[i], ramp[i + 1], h - i);
}

struct Blast {
    int size, frames;
    float radius;   // largest radius of the fire ball
    int debris;
    float ring;     // radius of the ring on the water at the end
    Rgb goo;        // colour of the chunks thrown out
};

Canvas blast_frame(const Blast& b, int k, int seed)
{
    Canvas big(b.size * SS, b.size * SS);
    float t = (k + 0.5f) / b.frames;
    float c = b.size * SS / 2.0f;
    float ring = (0.3f + 0.7f * t) * b.ring * SS;
    if (t > 0.1f) draw_ring(big, c, c + b.size * SS * 0.12f, ring, ring * 0.623f, mixf(2.2f, 1.0f, t) * SS, rgba(220, 240, 246));
    float r = b.radius * SS * (0.35f + 0.65f * sqrtf(t));
    float core = 1.0f - t * 1.25f;
    fill_shape(big, 0, 0, big.w, big.h,
               [&](float x, float y) {
                   float n = fbm(x / (6.0f * SS) + seed, y / (6.0f * SS) + k * 0.35f, seed, 3);
                   return hypotf_d(x - c, (y - c) * 1.12f) - r * (0.72f + 0.5f * n);
               },
               [&](float x, float y) {
                   float d = hypotf_d(x - c, y - c) / std::max(r, 1.0f);
                   float n = fbm(x / (5.0f * SS), y / (5.0f * SS) + k * 0.5f, seed + 7, 3);
                   float h = core + 0.55f * (1.0f - d) + 0.35f * (n - 0.5f);
                   return with_alpha(heat_colour(h), 1.0f);
               });
    // Late frames break the smoke up.
    if (t > 0.55f) {
        float cut = (t - 0.55f) / 0.45f;
        for (int y = 0; y < big.h; y++) {
            for (int x = 0; x < big.w; x++) {
                float n = fbm(x / (4.0f * SS), y / (4.0f * SS), seed + 19, 2);
                if (n < cut * 0.9f) big.at(x, y).a = 0.0f;
            }
        }
    }
    Rng rng(seed);
    for (int i = 0; i < b.debris; i++) {
        float angle = rng.range(0, 2 * PI), speed = rng.range(0.4f, 1.0f);
        float dist = speed * t * b.size * 0.45f * SS;
        float x = c + cosf_d(angle) * dist, y = c + sinf_d(angle) * dist * 0.8f - sinf_d(PI * t) * b.size * 0.12f * SS;
        float size = rng.range(0.8f, 1.8f) * SS * (1.0f - t * 0.5f);
        fill_circle(big, x, y, size, with_alpha(i % 3 == 0 ? rgb(60, 50, 46) : b.goo, 1.0f));
    }
    return downsample(big, SS);
}

Canvas blast_strip(const Blast& b, int seed)
{
    std::vector<Canvas> frames;
    for (int k = 0; k < b.frames; k++) frames.push_back(blast_frame(b, k, seed));
    return make_strip(frames);
}

// Bubbles over a creature still rising: frame 0 when it is about to break
// the surface (a boil of foam), the last frame when it is deepest (a few
// small bubbles).
Canvas bubble_frame(int k, int frames)
{
    const int size = 48;
    Canvas big(size * SS, size * SS);
    float depth = (k + 0.5f) / frames;  // 0 near the surface ... 1 deep
    float c = size * SS / 2.0f;
    float boil = (1.0f - depth) * 15.0f * SS;
    if (depth < 0.5f) {
        fill_ellipse(big, c, c, boil, boil * 0.623f, rgba(110, 180, 200));
        draw_ring(big, c, c, boil, boil * 0.623f, 1.2f * SS, rgba(220, 244, 250));
    }
    Rng rng(500 + k);
    int count = (int)mixf(22, 4, depth);
    for (int i = 0; i < count; i++) {
        float a = rng.range(0, 2 * PI), d = sqrtf(rng.uniform()) * mixf(17, 8, depth);
        float x = c + cosf_d(a) * d * SS, y = c + sinf_d(a) * d * 0.623f * SS;
        float r = rng.range(0.8f, 2.0f) * mixf(1.3f, 0.6f, depth) * SS;
        fill_circle(big, x, y, r, rgba(200, 236, 248));
        fill_circle(big, x - r * 0.3f, y - r * 0.3f, r * 0.45f, rgba(255, 255, 255));
    }
    return downsample(big, SS);
}

// --- Particles and crosshairs -------------------------------------------------

// Particle strips are drawn without a colour key: every pixel shows. A
// particle plays its strip from the last frame to the first, so the last
// frame is the freshest.
Canvas particle_strip(Rgb fresh, Rgb faded, int frames)
{
    Canvas strip(2 * frames, 2);
    for (int k = 0; k < frames; k++) {
        Rgb c = mix(faded, fresh, (float)k / (frames - 1));
        for (int y = 0; y < 2; y++) {
            for (int x = 0; x < 2; x++) strip.at(k * 2 + x, y) = with_alpha((x + y) == 1 ? scale(c, 0.9f) : c, 1.0f);
        }
    }
    return strip;
}

Canvas crosshair(bool in_reach)
{
    Canvas big(32 * SS, 32 * SS);
    float c = 16.0f * SS;
    Rgba dark = rgba(10, 20, 24), main = in_reach ? rgba(90, 250, 110) : rgba(255, 70, 60);
    for (int pass = 0; pass < 2; pass++) {
        Rgba col = pass == 0 ? dark : main;
        float grow = pass == 0 ? 1.0f * SS : 0.0f;
        draw_ring(big, c, c, 10.0f * SS, 10.0f * SS, 1.6f * SS + grow * 2, col);
        for (int i = 0; i < 4; i++) {
            float a = i * PI / 2;
            float x0 = c + cosf_d(a) * 6.5f * SS, y0 = c + sinf_d(a) * 6.5f * SS;
            float x1 = c + cosf_d(a) * 14.5f * SS, y1 = c + sinf_d(a) * 14.5f * SS;
            draw_line(big, x0, y0, x1, y1, 1.6f * SS + grow * 2, col);
        }
        if (in_reach) {
            fill_circle(big, c, c, 1.4f * SS + grow, col);
        } else {
            draw_line(big, c - 4 * SS, c - 4 * SS, c + 4 * SS, c + 4 * SS, 1.6f * SS + grow * 2, col);
            draw_line(big, c - 4 * SS, c + 4 * SS, c + 4 * SS, c - 4 * SS, 1.6f * SS + grow * 2, col);
        }
    }
    return downsample(big, SS);
}

}  // namespace

void make_effects()
{
    save_keyed("GFX/shots/granat.bmp", cannon_shell());
    save_keyed("GFX/shots/granat_stin.bmp", flat_shadow(8, 2.6f, 1.7f));
    save_keyed("GFX/shots/mina.bmp", mortar_shell());
    save_keyed("GFX/shots/mina_stin.bmp", flat_shadow(12, 4.0f, 2.6f));
    save_keyed("GFX/shots/zahavy.bmp", runner_strip(STING, false));
    save_keyed("GFX/shots/inkoust.bmp", runner_strip(INK, false));
    save_keyed("GFX/shots/vyboj.bmp", runner_strip(BOLT, false));
    save_keyed("GFX/shots/brazda.bmp", runner_strip(STING, true));

    SplashStyle small = {32, 44, 8, 24.0f, 13.0f, 10, false, rgb(120, 190, 214), rgb(236, 250, 255)};
    SplashStyle large = {48, 64, 10, 40.0f, 21.0f, 18, false, rgb(110, 180, 206), rgb(240, 252, 255)};
    SplashStyle bomb = {64, 80, 12, 50.0f, 29.0f, 24, true, rgb(120, 170, 190), rgb(236, 246, 250)};
    SplashStyle fizzle = {24, 28, 6, 8.0f, 10.0f, 8, false, rgb(140, 220, 240), rgb(220, 255, 255)};
    save_keyed("GFX/fx/zblunk_maly.bmp", splash_strip(small, 1));
    save_keyed("GFX/fx/zblunk_velky.bmp", splash_strip(large, 2));
    save_keyed("GFX/fx/zblunk_puma.bmp", splash_strip(bomb, 3));
    save_keyed("GFX/fx/zblunk_vyboj.bmp", splash_strip(fizzle, 4));

    Blast creature = {64, 16, 19.0f, 14, 26.0f, rgb(150, 60, 120)};
    Blast submarine = {112, 32, 36.0f, 26, 50.0f, rgb(90, 100, 110)};
    save_keyed("GFX/fx/vybuch_potvora.bmp", blast_strip(creature, 5));
    std::vector<Canvas> bubbles;
    for (int k = 0; k < 12; k++) bubbles.push_back(bubble_frame(k, 12));
    save_keyed("GFX/fx/bubliny.bmp", make_strip(bubbles));
    save_keyed("GFX/fx/vybuch_ponorka.bmp", blast_strip(submarine, 6));

    save_opaque("GFX/fx/pena.bmp", particle_strip(rgb(244, 252, 255), rgb(96, 160, 186), 6), false);
    save_opaque("GFX/fx/jiskry.bmp", particle_strip(rgb(255, 244, 150), rgb(190, 60, 30), 6), false);

    save_keyed("GFX/fx/zamer_ok.bmp", crosshair(true));
    save_keyed("GFX/fx/zamer_daleko.bmp", crosshair(false));
}
