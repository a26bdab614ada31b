#include "models.h"

namespace {

// Merges a part into a model: smooth union of the distances, the material
// of whichever surface is nearer.
void merge(Sample& s, float d, int mat, float k = 0.0f)
{
    int m = d < s.d ? mat : s.mat;
    s.d = k > 0 ? smin(s.d, d, k) : std::min(s.d, d);
    s.mat = m;
}

// A plate that is thin along one axis and follows a polygon in the other two.
float plate(float u, float v, float thickness_offset, float half_thickness, const std::vector<float>& outline)
{
    float d2 = sd_polygon(u, v, outline);
    float dt = fabsf(thickness_offset) - half_thickness;
    return std::min(std::max(d2, dt), 0.0f) + hypotf_d(std::max(d2, 0.0f), std::max(dt, 0.0f));
}

// A wing: a trapezoid in x and y (half-chord from root to tip, swept back),
// thin in z.
float wing(V3 p, float x_root, float span, float chord_root, float chord_tip, float sweep, float half_thick)
{
    float ay = fabsf(p.y);
    float t = clampf(ay / span, 0.0f, 1.0f);
    float cx = x_root - sweep * t, half = mixf(chord_root, chord_tip, t);
    V3 q = {fabsf(p.x - cx) - half, ay - span, fabsf(p.z) - half_thick};
    float outside = length(vmax(q, 0.0f));
    return outside + std::min(std::max(q.x, std::max(q.y, q.z)), 0.0f) - 0.15f;
}

float spots(float x, float y, int seed)
{
    return value_noise(x * 0.45f + 7.0f, y * 0.45f + 3.0f, seed);
}

Rgb eye_colour(V3 local, Rgb iris)
{
    // Pupils look forward.
    return local.x > 0.55f ? rgb(10, 10, 14) : iris;
}

enum SubPart { HULL, CASING, SAIL, GUN };
enum CreaturePart { BODY, FIN, EYE, LIMB, CLAW, TENTACLE };
enum PlanePart { AIRFRAME, WINGS, GLASS, PROP, ENGINE, FLAME };

}  // namespace

// --- Submarine -------------------------------------------------------------

SubmarineModel::SubmarineModel()
{
    bound = 28.0f;
    water = rgb(22, 84, 112);
    water_fade = 5.0f;
    cut_depth = 4.0f;
}

Sample SubmarineModel::sdf(V3 p) const
{
    V3 q = p - v3(0, 0, -0.8f);
    Sample s{sd3_cone_capsule(q, v3(-23, 0, 0), v3(-10, 0, 0), 1.4f, 5.6f), HULL};
    merge(s, sd3_capsule(q, v3(-10, 0, 0), v3(12, 0, 0), 5.6f), HULL, 1.5f);
    merge(s, sd3_cone_capsule(q, v3(12, 0, 0), v3(23, 0, 0.5f), 5.6f, 2.0f), HULL, 1.5f);
    merge(s, sd3_box(q - v3(-1, 0, 5.2f), v3(17, 2.4f, 0.9f), 0.6f), CASING, 0.6f);
    merge(s, sd3_box(q - v3(4, 0, 8.6f), v3(4.8f, 1.9f, 3.6f), 1.3f), SAIL, 0.8f);
    merge(s, sd3_box(q - v3(5.5f, 0, 9.6f), v3(1.4f, 4.3f, 0.3f), 0.2f), SAIL);
    merge(s, sd3_capsule(q, v3(5, 0, 11.5f), v3(5, 0, 14.5f), 0.5f), GUN);
    merge(s, sd3_capsule(q, v3(2.8f, 0, 11.5f), v3(2.8f, 0, 13.4f), 0.55f), GUN);
    merge(s, sd3_cylinder_z(q - v3(13.5f, 0, 6.4f), 2.3f, 0.9f) - 0.2f, GUN);
    merge(s, sd3_capsule(q, v3(14.5f, 0, 6.6f), v3(21.0f, 0, 7.0f), 0.6f), GUN);
    merge(s, sd3_box(q - v3(-21.5f, 0, 2.4f), v3(1.6f, 0.35f, 2.6f), 0.2f), HULL);
    merge(s, sd3_box(q - v3(-20.5f, 0, 0.2f), v3(1.4f, 4.2f, 0.3f), 0.2f), HULL);
    return s;
}

Rgb SubmarineModel::albedo(int mat, V3 p) const
{
    Rgb c;
    switch (mat) {
    case CASING:
        c = rgb(160, 162, 156);
        if (fmodf(p.x + 40.0f, 2.4f) < 0.4f) c = scale(c, 0.78f);
        break;
    case SAIL:
        c = rgb(78, 92, 112);
        if (p.z > 11.2f) c = rgb(236, 200, 60);
        break;
    case GUN: c = rgb(58, 62, 70); break;
    default:
        if (p.z > 0.9f) {
            c = rgb(56, 70, 92);
        } else if (p.z > -0.7f) {
            c = rgb(176, 58, 46);
        } else {
            c = rgb(46, 62, 78);
        }
        break;
    }
    // Foam where the hull meets the water, most of it at the bow.
    float foam = (1.0f - smoothstepf(0.0f, 0.45f, fabsf(p.z))) * (p.x > 13.0f ? 0.95f : 0.5f);
    return mix(c, rgb(236, 246, 250), foam);
}

float SubmarineModel::shininess(int mat) const
{
    return mat == CASING ? 0.2f : (mat == GUN ? 0.6f : 0.45f);
}

// --- Fish ------------------------------------------------------------------

FishModel::FishModel()
{
    bound = 19.0f;
    water = rgb(24, 92, 112);
    water_fade = 6.0f;
    cut_depth = 4.5f;
}

Sample FishModel::sdf(V3 p) const
{
    Sample s{sd3_ellipsoid(p - v3(1, 0, 0.8f), v3(10.5f, 4.2f, 5.2f)), BODY};
    merge(s, sd3_cone_capsule(p, v3(-7, 0, 0.8f), v3(-13, 0, 0.8f), 2.8f, 1.1f), BODY, 1.5f);
    merge(s, sd3_ellipsoid(p - v3(7.2f, 0, -0.4f), v3(4.6f, 3.5f, 3.0f)), BODY, 1.2f);
    static const std::vector<float> tail = {-12.0f, 0.8f, -19.5f, 6.5f, -17.0f, 0.8f, -19.5f, -4.5f};
    merge(s, plate(p.x, p.z, p.y, 0.5f, tail), FIN);
    static const std::vector<float> dorsal = {-6.0f, 4.0f, 2.5f, 5.2f, -4.0f, 9.5f, -9.0f, 5.0f};
    merge(s, plate(p.x, p.z, p.y, 0.45f, dorsal), FIN);
    static const std::vector<float> pectoral = {4.0f, 3.2f, -1.0f, 9.5f, -3.5f, 8.5f, 0.5f, 3.2f};
    merge(s, plate(p.x, fabsf(p.y), p.z - 0.2f, 0.35f, pectoral), FIN);
    V3 eye = {6.0f, p.y > 0 ? 3.2f : -3.2f, 2.2f};
    merge(s, sd3_sphere(p - eye, 1.55f), EYE);
    return s;
}

Rgb FishModel::albedo(int mat, V3 p) const
{
    if (mat == EYE) {
        V3 eye = {6.0f, p.y > 0 ? 3.2f : -3.2f, 2.2f};
        return eye_colour(p - eye, rgb(250, 226, 90));
    }
    if (mat == FIN) return mix(rgb(226, 120, 60), rgb(150, 50, 40), smoothstepf(-12.0f, -19.0f, p.x));
    Rgb c = mix(rgb(240, 196, 84), rgb(176, 58, 38), smoothstepf(-2.5f, 3.5f, p.z));
    if (spots(p.x, p.y * 2.0f, 11) > 0.68f) c = scale(c, 0.7f);
    if (p.x > 9.0f && p.z < 0.4f) c = rgb(250, 244, 226);  // teeth along the jaw
    return c;
}

// --- Jellyfish -------------------------------------------------------------

JellyfishModel::JellyfishModel()
{
    bound = 21.0f;
    water = rgb(40, 86, 130);
    water_fade = 7.0f;
    cut_depth = 3.0f;
    for (int i = 0; i < 7; i++) {
        float y0 = -6.0f + 2.0f * i;
        tentacle[i][0] = V3{-2.0f, y0, 0.4f};
        for (int k = 1; k <= 4; k++) {
            tentacle[i][k] = V3{-2.0f - 4.8f * k, y0 * (1.0f + 0.12f * k) + 1.7f * sinf_d(k * 1.4f + i * 1.7f), 0.5f - 0.12f * k};
        }
    }
}

Sample JellyfishModel::sdf(V3 p) const
{
    V3 q = p - v3(4, 0, 0.2f);
    float ridge = 0.5f * cosf_d(8.0f * atan2f_d(q.y, q.x));
    float bell = sd3_ellipsoid(q, v3(8.6f, 8.6f, 7.0f)) - ridge * smoothstepf(-1.0f, 3.0f, q.z);
    bell = std::max(bell, -(q.z + 1.2f));
    Sample s{bell, BODY};
    merge(s, sd3_torus_z(q - v3(0, 0, -0.8f), 8.2f, 1.1f), FIN, 0.8f);
    // The tentacles are many small parts: skip them when far away.
    if (sd3_sphere(p - v3(-11, 0, 0), 13.0f) > s.d) return s;
    for (int i = 0; i < 7; i++) {
        // Each tentacle stays within 3.2 units of the line from its root back.
        if (sd3_capsule(p, tentacle[i][0], V3{-21.2f, tentacle[i][0].y * 1.48f, 0.0f}, 3.2f) > s.d) continue;
        for (int k = 0; k < 4; k++) {
            merge(s, sd3_cone_capsule(p, tentacle[i][k], tentacle[i][k + 1], 0.75f - 0.1f * k, 0.65f - 0.1f * k), TENTACLE);
        }
    }
    for (int side = -1; side <= 1; side += 2) {
        V3 a = {0.0f, 1.6f * side, 0.6f}, b = {-7.0f, 2.8f * side, 0.9f}, c = {-13.0f, 1.5f * side, 0.7f};
        merge(s, sd3_cone_capsule(p, a, b, 1.6f, 1.3f), LIMB, 0.6f);
        merge(s, sd3_cone_capsule(p, b, c, 1.3f, 0.7f), LIMB, 0.6f);
    }
    return s;
}

Rgb JellyfishModel::albedo(int mat, V3 p) const
{
    if (mat == TENTACLE) return rgb(196, 118, 232);
    if (mat == LIMB) return rgb(244, 170, 220);
    if (mat == FIN) return rgb(250, 196, 236);
    V3 q = p - v3(4, 0, 0.2f);
    float stripe = 0.5f + 0.5f * cosf_d(8.0f * atan2f_d(q.y, q.x));
    return mix(rgb(214, 92, 190), rgb(248, 170, 226), stripe * 0.6f + smoothstepf(2.0f, 7.0f, q.z) * 0.4f);
}

Rgb JellyfishModel::glow(int mat, V3 p) const
{
    if (mat != BODY) return Rgb{0, 0, 0};
    V3 q = p - v3(4, 0, 0.2f);
    float core = 1.0f - smoothstepf(0.0f, 5.5f, hypotf_d(q.x, q.y));
    return Rgb{0.22f * core, 0.08f * core, 0.24f * core};
}

float JellyfishModel::shininess(int) const
{
    return 0.8f;
}

// --- Crab ------------------------------------------------------------------

CrabModel::CrabModel()
{
    bound = 24.0f;
    water = rgb(30, 90, 110);
    water_fade = 5.0f;
    cut_depth = 3.0f;
}

Sample CrabModel::sdf(V3 p) const
{
    V3 m = {p.x, fabsf(p.y), p.z};  // mirror the sides
    Sample s{sd3_ellipsoid(p - v3(0, 0, 1.6f), v3(8.6f, 11.0f, 4.4f)), BODY};
    merge(s, sd3_sphere(m - v3(2.5f, 4.5f, 4.2f), 2.2f), BODY, 1.6f);
    merge(s, sd3_capsule(m, v3(7, 3, 3.5f), v3(9.5f, 3.4f, 6.6f), 0.6f), LIMB);
    merge(s, sd3_sphere(m - v3(9.7f, 3.4f, 7.0f), 1.25f), EYE);
    merge(s, sd3_capsule(m, v3(4, 9, 1.4f), v3(10, 12, 2.4f), 1.6f), LIMB, 0.8f);
    merge(s, sd3_capsule(m, v3(10, 12, 2.4f), v3(14, 11, 2.7f), 1.8f), LIMB, 0.8f);
    merge(s, sd3_ellipsoid(m - v3(17, 10.5f, 2.8f), v3(4.6f, 2.9f, 2.3f)), CLAW, 0.8f);
    merge(s, sd3_capsule(m, v3(19, 9.2f, 3.0f), v3(23, 7.6f, 3.0f), 0.85f), CLAW, 0.5f);
    merge(s, sd3_capsule(m, v3(19.5f, 11.2f, 2.6f), v3(22.5f, 9.8f, 2.4f), 0.75f), CLAW, 0.5f);
    if (sd3_sphere(m - v3(-4.5f, 15.0f, 1.5f), 10.0f) > s.d) return s;
    for (int k = 0; k < 3; k++) {
        V3 hip = {1.0f - 4.2f * k, 9.5f, 1.2f}, knee = {-0.5f - 4.6f * k, 16.0f, 4.0f},
           foot = {-2.5f - 5.0f * k, 20.5f, -0.5f};
        merge(s, sd3_cone_capsule(m, hip, knee, 1.2f, 1.0f), LIMB, 0.4f);
        merge(s, sd3_cone_capsule(m, knee, foot, 1.0f, 0.55f), LIMB, 0.3f);
    }
    return s;
}

Rgb CrabModel::albedo(int mat, V3 p) const
{
    if (mat == EYE) return rgb(14, 12, 12);
    if (mat == CLAW) return mix(rgb(214, 78, 44), rgb(250, 214, 170), smoothstepf(16.0f, 22.0f, p.x));
    if (mat == LIMB) return rgb(200, 74, 44);
    Rgb c = mix(rgb(236, 140, 90), rgb(200, 62, 36), smoothstepf(0.0f, 4.5f, p.z));
    if (spots(p.x * 1.3f, p.y * 1.3f, 23) > 0.7f) c = mix(c, rgb(244, 180, 120), 0.6f);
    return c;
}

// --- Squid -----------------------------------------------------------------

SquidModel::SquidModel()
{
    bound = 28.0f;
    water = rgb(30, 70, 110);
    water_fade = 6.0f;
    cut_depth = 3.5f;
    for (int i = 0; i < 8; i++) {
        float y0 = -3.5f + i;
        arm[i][0] = V3{6.0f, y0, 0.7f};
        for (int k = 1; k <= 4; k++) {
            arm[i][k] = V3{6.0f + 3.6f * k, y0 * (1.0f + 0.38f * k) + 1.1f * sinf_d((k - 1) * 1.2f + i * 2.1f), 0.8f - 0.12f * k};
        }
    }
}

Sample SquidModel::sdf(V3 p) const
{
    Sample s{sd3_cone_capsule(p, v3(-4, 0, 1.1f), v3(-21, 0, 0.8f), 5.8f, 1.7f), BODY};
    static const std::vector<float> fin = {-12.0f, 0.0f, -18.5f, 8.5f, -25.0f, 0.0f};
    merge(s, plate(p.x, fabsf(p.y), p.z - 0.9f, 0.5f, fin), FIN, 0.8f);
    merge(s, sd3_ellipsoid(p - v3(3.0f, 0, 1.0f), v3(4.8f, 5.2f, 4.0f)), BODY, 1.5f);
    V3 eye = {3.6f, p.y > 0 ? 4.7f : -4.7f, 2.4f};
    merge(s, sd3_sphere(p - eye, 2.2f), EYE);
    if (sd3_sphere(p - v3(16, 0, 0.5f), 13.5f) > s.d) return s;
    for (int i = 0; i < 8; i++) {
        if (sd3_capsule(p, arm[i][0], V3{20.4f, arm[i][0].y * 2.52f, 0.3f}, 3.6f) > s.d) continue;
        for (int k = 0; k < 4; k++) {
            merge(s, sd3_cone_capsule(p, arm[i][k], arm[i][k + 1], 1.15f - 0.17f * k, 0.98f - 0.17f * k), TENTACLE);
        }
    }
    for (int side = -1; side <= 1; side += 2) {
        merge(s, sd3_cone_capsule(p, v3(6, 1.2f * side, 0.8f), v3(22, 4.5f * side, 0.7f), 0.8f, 0.5f), TENTACLE);
        merge(s, sd3_ellipsoid(p - v3(24.5f, 5.2f * side, 0.7f), v3(2.6f, 1.4f, 1.0f)), TENTACLE, 0.5f);
    }
    return s;
}

Rgb SquidModel::albedo(int mat, V3 p) const
{
    if (mat == EYE) {
        V3 eye = {3.6f, p.y > 0 ? 4.7f : -4.7f, 2.4f};
        V3 l = p - eye;
        return fabsf(l.x) < 0.45f && l.z > -1.0f ? rgb(12, 8, 10) : rgb(250, 210, 60);
    }
    if (mat == TENTACLE) return mix(rgb(184, 58, 96), rgb(236, 150, 170), smoothstepf(14.0f, 24.0f, p.x));
    if (mat == FIN) return rgb(170, 48, 88);
    Rgb c = mix(rgb(200, 80, 110), rgb(140, 28, 70), smoothstepf(0.0f, 5.0f, p.z));
    if (spots(p.x * 1.5f, p.y * 1.5f, 37) > 0.66f) c = mix(c, rgb(230, 130, 150), 0.55f);
    return c;
}

// --- Sea serpent -----------------------------------------------------------

namespace {

V3 serpent_spine(float x)
{
    return V3{x, 3.4f * sinf_d(0.22f * x + 0.6f), 3.8f * sinf_d(0.36f * x + 1.1f) - 1.0f};
}

float serpent_radius(float x)
{
    return 1.6f + 2.6f * smoothstepf(-27.0f, 8.0f, x);
}

}  // namespace

SerpentModel::SerpentModel()
{
    bound = 32.0f;
    water = rgb(24, 80, 100);
    water_fade = 3.5f;
    cut_depth = 1.2f;
    for (int i = 0; i <= 14; i++) {
        float x = -27.0f + 44.0f * i / 14;
        spine[i] = serpent_spine(x);
        girth[i] = serpent_radius(x);
    }
}

Sample SerpentModel::sdf(V3 p) const
{
    Sample s{1e9f, BODY};
    const int segments = 14;
    const float step = 44.0f / segments, widest = 4.5f;
    // Segments further along x than two steps are at least that far away
    // less the body's reach from its x axis: a safe bound for the rest.
    int near = (int)floorf((p.x + 27.0f) / step);
    int first = std::max(0, near - 2), last = std::min(segments - 1, near + 2);
    if (first > 0) s.d = std::min(s.d, p.x - (-27.0f + step * first) - widest);
    if (last < segments - 1) s.d = std::min(s.d, (-27.0f + step * (last + 1)) - p.x - widest);
    if (last < first) s.d = std::min(s.d, fabsf(p.x - 17.0f) - widest);
    for (int i = first; i <= last; i++) merge(s, sd3_cone_capsule(p, spine[i], spine[i + 1], girth[i], girth[i + 1]), BODY);
    V3 neck = spine[14];
    V3 head = {22.0f, neck.y * 0.5f, 5.5f};
    merge(s, sd3_cone_capsule(p, neck, head, 4.2f, 3.6f), BODY, 1.2f);
    merge(s, sd3_ellipsoid(p - head - v3(2.0f, 0, 0.3f), v3(6.2f, 3.8f, 2.8f)), BODY, 1.0f);
    merge(s, sd3_ellipsoid(p - head - v3(3.0f, 0, -2.0f), v3(5.0f, 3.0f, 1.3f)), CLAW, 0.6f);
    V3 m = {p.x, fabsf(p.y - head.y), p.z};
    merge(s, sd3_cone_capsule(m, v3(head.x - 0.5f, 2.2f, head.z + 2.0f), v3(head.x - 6.5f, 4.4f, head.z + 6.0f), 1.0f, 0.3f), FIN);
    merge(s, sd3_sphere(m - v3(head.x + 2.8f, 2.9f, head.z + 1.2f), 1.2f), EYE);
    return s;
}

Rgb SerpentModel::albedo(int mat, V3 p) const
{
    if (mat == EYE) return rgb(255, 226, 60);
    if (mat == FIN) return rgb(236, 220, 120);
    if (mat == CLAW) return rgb(200, 70, 60);
    V3 c = serpent_spine(clampf(p.x, -27.0f, 17.0f));
    float up = smoothstepf(c.z - 1.5f, c.z + 2.5f, p.z);
    Rgb back = (sinf_d(p.x * 0.9f) > 0.45f) ? rgb(30, 104, 70) : rgb(48, 150, 96);
    return mix(rgb(226, 214, 126), back, up);
}

// --- Planes ----------------------------------------------------------------

PlaneModel::PlaneModel(bool is_bomber) : bomber(is_bomber)
{
    bound = bomber ? 40.0f : 32.0f;
    in_water = false;
}

Sample PlaneModel::sdf(V3 p) const
{
    Sample s;
    if (bomber) {
        s = {sd3_cone_capsule(p, v3(-30, 0, 0.3f), v3(-8, 0, 0), 1.5f, 4.6f), AIRFRAME};
        merge(s, sd3_capsule(p, v3(-8, 0, 0), v3(14, 0, 0), 4.6f), AIRFRAME, 1.0f);
        merge(s, sd3_cone_capsule(p, v3(14, 0, 0), v3(23, 0, 0.3f), 4.6f, 2.6f), AIRFRAME, 1.0f);
        merge(s, sd3_ellipsoid(p - v3(22, 0, 0.5f), v3(4.6f, 3.3f, 3.3f)), GLASS, 0.6f);
        merge(s, sd3_ellipsoid(p - v3(8, 0, 3.8f), v3(4.2f, 2.4f, 2.0f)), GLASS, 0.6f);
        merge(s, wing(p - v3(0, 0, 0.7f), 2.0f, 34.0f, 7.2f, 3.6f, 2.5f, 0.7f), WINGS, 0.8f);
        V3 m = {p.x, fabsf(p.y), p.z};
        merge(s, sd3_cone_capsule(m, v3(-4, 12, -0.4f), v3(10.5f, 12, -0.2f), 2.5f, 2.3f), ENGINE, 0.6f);
        merge(s, sd3_cylinder_x(m - v3(13.2f, 12, -0.2f), 5.8f, 0.15f), PROP);
        merge(s, wing(p - v3(-26.5f, 0, 0.9f), 0.0f, 11.0f, 3.2f, 1.8f, 1.2f, 0.5f), WINGS, 0.5f);
        merge(s, sd3_box(p - v3(-27, 0, 4.8f), v3(3.0f, 0.5f, 4.2f), 0.4f), AIRFRAME, 0.5f);
    } else {
        s = {sd3_cone_capsule(p, v3(-21, 0, 0.6f), v3(-4, 0, 0.3f), 1.3f, 3.6f), AIRFRAME};
        merge(s, sd3_capsule(p, v3(-4, 0, 0.3f), v3(11, 0, 0.3f), 3.6f), AIRFRAME, 1.0f);
        merge(s, sd3_cylinder_x(p - v3(14, 0, 0.3f), 3.4f, 2.6f) - 0.2f, ENGINE, 0.8f);
        merge(s, sd3_ellipsoid(p - v3(17.5f, 0, 0.3f), v3(2.0f, 1.4f, 1.4f)), ENGINE, 0.4f);
        merge(s, sd3_ellipsoid(p - v3(1.0f, 0, 3.4f), v3(4.6f, 2.0f, 2.0f)), GLASS, 0.5f);
        merge(s, wing(p - v3(0, 0, 0.1f), 3.0f, 24.0f, 5.8f, 2.8f, 2.0f, 0.6f), WINGS, 0.8f);
        merge(s, wing(p - v3(-18.5f, 0, 0.6f), 0.0f, 8.5f, 2.6f, 1.5f, 1.0f, 0.4f), WINGS, 0.5f);
        merge(s, sd3_box(p - v3(-19, 0, 3.4f), v3(2.6f, 0.4f, 3.0f), 0.4f), AIRFRAME, 0.4f);
        merge(s, sd3_cylinder_x(p - v3(19.8f, 0, 0.3f), 5.5f, 0.15f), PROP);
    }
    return s;
}

Rgb PlaneModel::albedo(int mat, V3 p) const
{
    float ay = fabsf(p.y);
    if (mat == GLASS) return rgb(60, 96, 130);
    if (mat == PROP) return rgb(206, 206, 200);
    if (bomber) {
        Rgb olive = rgb(104, 108, 78);
        if (mat == ENGINE) return rgb(70, 72, 60);
        if (mat == WINGS) {
            float r = hypotf_d(p.x - 1.0f, ay - 24.0f);
            if (r < 2.0f) return rgb(236, 232, 220);
            if (r < 3.8f) return rgb(196, 40, 36);
            if (fmodf(ay + 100.0f, 6.0f) < 0.4f) return scale(olive, 0.82f);
        }
        if (mat == AIRFRAME && p.z > 5.0f && p.x < -24.0f) return rgb(196, 40, 36);
        return olive;
    }
    Rgb pale = rgb(176, 200, 224);
    if (mat == ENGINE) return rgb(240, 198, 56);
    if (mat == WINGS) {
        if (ay > 20.5f) return rgb(240, 198, 56);
        float r = hypotf_d(p.x - 2.0f, ay - 14.0f);
        if (r < 1.4f) return rgb(240, 198, 56);
        if (r < 2.6f) return rgb(250, 250, 250);
        if (r < 3.8f) return rgb(40, 80, 180);
    }
    if (mat == AIRFRAME && fabsf(p.x + 8.0f) < 1.0f) return rgb(240, 198, 56);
    return pale;
}

float PlaneModel::shininess(int mat) const
{
    return mat == GLASS ? 1.0f : 0.4f;
}

// --- Bombs and rockets -----------------------------------------------------

BombModel::BombModel(bool is_heavy) : heavy(is_heavy)
{
    bound = heavy ? 10.0f : 8.0f;
    in_water = false;
}

Sample BombModel::sdf(V3 p) const
{
    float k = heavy ? 1.3f : 1.0f;
    V3 q = p * (1.0f / k);
    Sample s{sd3_ellipsoid(q - v3(0.8f, 0, 0), v3(5.0f, 2.3f, 2.3f)), BODY};
    merge(s, sd3_cone_capsule(q, v3(-2, 0, 0), v3(-5.5f, 0, 0), 1.8f, 0.7f), BODY, 0.8f);
    merge(s, sd3_box(q - v3(-5.3f, 0, 0), v3(1.3f, 2.9f, 0.25f), 0.1f), FIN);
    merge(s, sd3_box(q - v3(-5.3f, 0, 0), v3(1.3f, 0.25f, 2.9f), 0.1f), FIN);
    s.d *= k;
    return s;
}

Rgb BombModel::albedo(int mat, V3 p) const
{
    float k = heavy ? 1.3f : 1.0f;
    float x = p.x / k;
    if (heavy) {
        if (x > 4.3f) return rgb(210, 40, 36);
        if (fabsf(x - 1.0f) < 0.6f) return rgb(40, 80, 190);
        return mat == FIN ? rgb(150, 156, 164) : rgb(196, 200, 206);
    }
    if (fabsf(x - 2.2f) < 0.6f) return rgb(228, 196, 40);
    return mat == FIN ? rgb(60, 66, 50) : rgb(82, 92, 66);
}

RocketModel::RocketModel()
{
    bound = 8.0f;
    in_water = false;
}

Sample RocketModel::sdf(V3 p) const
{
    Sample s{sd3_cylinder_x(p - v3(-0.5f, 0, 0), 1.1f, 3.8f), BODY};
    merge(s, sd3_cone_capsule(p, v3(3.3f, 0, 0), v3(6.2f, 0, 0), 1.1f, 0.2f), FIN, 0.3f);
    merge(s, sd3_box(p - v3(-3.8f, 0, 0), v3(0.9f, 2.3f, 0.2f), 0.05f), LIMB);
    merge(s, sd3_box(p - v3(-3.8f, 0, 0), v3(0.9f, 0.2f, 2.3f), 0.05f), LIMB);
    merge(s, sd3_ellipsoid(p - v3(-6.6f, 0, 0), v3(2.6f, 1.0f, 1.0f)), FLAME);
    return s;
}

Rgb RocketModel::albedo(int mat, V3) const
{
    if (mat == FIN) return rgb(214, 40, 36);
    if (mat == LIMB) return rgb(90, 96, 104);
    if (mat == FLAME) return rgb(255, 190, 70);
    return rgb(226, 226, 218);
}

Rgb RocketModel::glow(int mat, V3) const
{
    return mat == FLAME ? Rgb{0.8f, 0.5f, 0.1f} : Rgb{0, 0, 0};
}
