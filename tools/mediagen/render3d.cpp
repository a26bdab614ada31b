#include "render3d.h"

namespace {

const float FLAT_SIN = 0.623f;                 // sine of the camera's elevation
const float FLAT_COS = 0.78222f;               // its cosine
const V3 VIEW_TO_CAMERA = {0.0f, FLAT_COS, FLAT_SIN};
const V3 LIGHT = {-0.48f, 0.18f, 0.86f};       // the sun: high, from the left

struct Posed {
    const Model& model;
    float c, s;
    V3 to_object(V3 p) const { return V3{p.x * c + p.y * s, -p.x * s + p.y * c, p.z}; }
    Sample at(V3 world) const { return model.sdf(to_object(world)); }
    float d(V3 world) const { return at(world).d; }
};

V3 normal_at(const Posed& m, V3 p)
{
    const float e = 0.03f;
    V3 k1 = {1, -1, -1}, k2 = {-1, -1, 1}, k3 = {-1, 1, -1}, k4 = {1, 1, 1};
    V3 n = k1 * m.d(p + k1 * e) + k2 * m.d(p + k2 * e) + k3 * m.d(p + k3 * e) + k4 * m.d(p + k4 * e);
    return normalize(n);
}

float occlusion(const Posed& m, V3 p, V3 n)
{
    float occ = 0, weight = 1;
    for (int i = 1; i <= 4; i++) {
        float h = 0.7f * i;
        occ += (h - m.d(p + n * h)) * weight;
        weight *= 0.55f;
    }
    return clampf(1.0f - 0.22f * occ, 0.35f, 1.0f);
}

// Intersection of the ray o + t d with the sphere around the origin.
bool sphere_span(V3 o, V3 d, float r, float* t0, float* t1)
{
    float b = dot(o, d), c = dot(o, o) - r * r;
    float disc = b * b - c;
    if (disc < 0) return false;
    float q = sqrtf(disc);
    *t0 = std::max(0.0f, -b - q);
    *t1 = -b + q;
    return *t1 > 0;
}

// Sphere tracing; on a miss, clearance is how close the ray came.
bool march(const Posed& m, V3 o, V3 d, float t0, float t1, V3* hit, float* clearance)
{
    float t = t0, closest = 1e9f;
    for (int i = 0; i < 120 && t < t1; i++) {
        V3 p = o + d * t;
        float h = m.d(p);
        if (h < 0.004f) {
            *hit = p;
            return true;
        }
        closest = std::min(closest, h);
        t += std::max(h * 0.85f, 0.01f);
    }
    if (clearance != NULL) *clearance = closest;
    return false;
}

Rgb shade(const Posed& m, V3 p)
{
    Sample s = m.at(p);
    V3 obj = m.to_object(p);
    V3 n = normal_at(m, p);
    Rgb base = m.model.albedo(s.mat, obj);
    V3 light = normalize(LIGHT);
    float diffuse = std::max(0.0f, dot(n, light));
    float ambient = (0.40f + 0.16f * n.z) * occlusion(m, p, n);
    V3 half = normalize(light + VIEW_TO_CAMERA);
    float specular = powf_d(std::max(0.0f, dot(n, half)), 28.0f) * m.model.shininess(s.mat);
    float edge = 1.0f - std::max(0.0f, dot(n, VIEW_TO_CAMERA));
    float rim = edge * edge * edge * 0.22f;
    Rgb col = scale(base, ambient + diffuse * 0.82f);
    col = add(col, Rgb{specular, specular, specular * 0.95f});
    col = add(col, Rgb{rim * 0.7f, rim * 0.85f, rim});
    col = add(col, m.model.glow(s.mat, obj));
    if (m.model.in_water && p.z < 0) {
        float k = clampf(-p.z / m.model.water_fade, 0.0f, 1.0f);
        col = mix(col, m.model.water, k * 0.75f);
    }
    return Rgb{clampf(col.r, 0, 1), clampf(col.g, 0, 1), clampf(col.b, 0, 1)};
}

void darken_rim(Canvas& c)
{
    Canvas copy = c;
    for (int y = 0; y < c.h; y++) {
        for (int x = 0; x < c.w; x++) {
            if (copy.at(x, y).a < 0.5f) continue;
            bool edge = false;
            const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
            for (int k = 0; k < 4; k++) {
                int nx = x + dx[k], ny = y + dy[k];
                edge = edge || !copy.inside(nx, ny) || copy.at(nx, ny).a < 0.5f;
            }
            if (edge) {
                Rgba& p = c.at(x, y);
                p.r *= 0.72f;
                p.g *= 0.72f;
                p.b *= 0.76f;
            }
        }
    }
}

}  // namespace

V3 rot_z(V3 p, float a)
{
    float c = cosf_d(a), s = sinf_d(a);
    return V3{p.x * c - p.y * s, p.x * s + p.y * c, p.z};
}

V3 rot_y(V3 p, float a)
{
    float c = cosf_d(a), s = sinf_d(a);
    return V3{p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
}

V3 rot_x(V3 p, float a)
{
    float c = cosf_d(a), s = sinf_d(a);
    return V3{p.x, p.y * c - p.z * s, p.y * s + p.z * c};
}

float sd3_sphere(V3 p, float r)
{
    return length(p) - r;
}

float sd3_ellipsoid(V3 p, V3 r)
{
    float k0 = length(V3{p.x / r.x, p.y / r.y, p.z / r.z});
    float k1 = length(V3{p.x / (r.x * r.x), p.y / (r.y * r.y), p.z / (r.z * r.z)});
    if (k1 <= 0) return -std::min(r.x, std::min(r.y, r.z));
    return k0 * (k0 - 1.0f) / k1;
}

float sd3_capsule(V3 p, V3 a, V3 b, float r)
{
    V3 pa = p - a, ba = b - a;
    float h = clampf(dot(pa, ba) / dot(ba, ba), 0.0f, 1.0f);
    return length(pa - ba * h) - r;
}

float sd3_cone_capsule(V3 p, V3 a, V3 b, float ra, float rb)
{
    V3 pa = p - a, ba = b - a;
    float h = clampf(dot(pa, ba) / dot(ba, ba), 0.0f, 1.0f);
    return length(pa - ba * h) - mixf(ra, rb, h);
}

float sd3_box(V3 p, V3 half, float round)
{
    V3 q = vabs(p) - (half - V3{round, round, round});
    return length(vmax(q, 0.0f)) + std::min(std::max(q.x, std::max(q.y, q.z)), 0.0f) - round;
}

float sd3_cylinder_z(V3 p, float r, float half_h)
{
    float dx = hypotf_d(p.x, p.y) - r, dz = fabsf(p.z) - half_h;
    return std::min(std::max(dx, dz), 0.0f) + hypotf_d(std::max(dx, 0.0f), std::max(dz, 0.0f));
}

float sd3_cylinder_x(V3 p, float r, float half_len)
{
    return sd3_cylinder_z(V3{p.y, p.z, p.x}, r, half_len);
}

float sd3_torus_z(V3 p, float major, float minor)
{
    return hypotf_d(hypotf_d(p.x, p.y) - major, p.z) - minor;
}

float smin(float a, float b, float k)
{
    float h = clampf(0.5f + 0.5f * (b - a) / k, 0.0f, 1.0f);
    return mixf(b, a, h) - k * h * (1.0f - h);
}

namespace {

struct Camera {
    const Model& model;
    Posed posed;
    const View& view;
    V3 dir;

    // The colour seen through the point (x, y) of the frame, if any; on a
    // miss, how close the ray passed the model, in pixels.
    bool trace(float x, float y, Rgb* colour, float* clearance = NULL) const
    {
        float sx = (x - view.size / 2.0f) / view.zoom;
        float sy = (y - view.size / 2.0f + view.lift) / view.zoom;
        V3 ground = {sx, sy / FLAT_SIN, 0.0f};
        V3 origin = ground + VIEW_TO_CAMERA * (model.bound * 3.0f);
        float t0, t1;
        V3 hit;
        if (clearance != NULL) *clearance = 1e9f;
        if (!sphere_span(origin, dir, model.bound, &t0, &t1)) return false;
        float pass = 1e9f;
        if (!march(posed, origin, dir, t0, t1, &hit, &pass)) {
            if (clearance != NULL) *clearance = pass * view.zoom;
            return false;
        }
        // Below the cut the model is hidden by the water; it is not empty,
        // so report no clearance.
        if (hit.z < -model.cut_depth) {
            if (clearance != NULL) *clearance = 0.0f;
            return false;
        }
        if (colour != NULL) *colour = shade(posed, hit);
        return true;
    }
};

}  // namespace

Canvas render_model(const Model& model, const View& view)
{
    float rad = view.heading * 3.14159265f / 180.0f;
    Camera cam{model, Posed{model, cosf_d(rad), sinf_d(rad)}, view, VIEW_TO_CAMERA * -1.0f};
    int size = view.size, n = view.samples;
    // A first look through every pixel centre; only pixels where the model's
    // outline passes (some neighbour differs) get the full set of samples.
    // Pixels are looked at in blocks of 2 x 2: a ray through the block's
    // middle that passes the model by more than the block's half diagonal
    // leaves all four empty.
    std::vector<char> hit((size_t)size * size, 0);
    std::vector<Rgb> centre((size_t)size * size, Rgb{0, 0, 0});
    for (int by = 0; by < size; by += 2) {
        for (int bx = 0; bx < size; bx += 2) {
            float clearance = 0;
            if (!cam.trace(bx + 1.0f, by + 1.0f, NULL, &clearance) && clearance > 1.2f) continue;
            for (int y = by; y < std::min(size, by + 2); y++) {
                for (int x = bx; x < std::min(size, bx + 2); x++) hit[(size_t)y * size + x] = cam.trace(x + 0.5f, y + 0.5f, &centre[(size_t)y * size + x]);
            }
        }
    }
    auto at = [&](int x, int y) { return x >= 0 && y >= 0 && x < size && y < size && hit[(size_t)y * size + x]; };
    Canvas out(size, size);
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            bool self = at(x, y), edge = false;
            for (int j = -1; j <= 1; j++) {
                for (int i = -1; i <= 1; i++) edge = edge || at(x + i, y + j) != self;
            }
            if (!edge) {
                if (self) out.at(x, y) = with_alpha(centre[(size_t)y * size + x], 1.0f);
                continue;
            }
            float r = 0, g = 0, b = 0;
            int hits = 0;
            for (int j = 0; j < n; j++) {
                for (int i = 0; i < n; i++) {
                    Rgb c;
                    if (!cam.trace(x + (i + 0.5f) / n, y + (j + 0.5f) / n, &c)) continue;
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    hits++;
                }
            }
            if (hits > 0) out.at(x, y) = Rgba{r / hits, g / hits, b / hits, (float)hits / (n * n)};
        }
    }
    if (view.rim_dark) darken_rim(out);
    return out;
}

Canvas render_shadow(const Model& model, const View& view, Rgb colour, bool stipple)
{
    float rad = view.heading * 3.14159265f / 180.0f;
    Posed posed{model, cosf_d(rad), sinf_d(rad)};
    Canvas out(view.size, view.size);
    V3 down = {0, 0, -1};
    int n = view.samples;
    for (int y = 0; y < view.size; y++) {
        for (int x = 0; x < view.size; x++) {
            if (stipple && ((x + y) & 1)) continue;
            int hits = 0;
            for (int j = 0; j < n; j++) {
                for (int i = 0; i < n; i++) {
                    float sx = (x + (i + 0.5f) / n - view.size / 2.0f) / view.zoom;
                    float sy = (y + (j + 0.5f) / n - view.size / 2.0f) / view.zoom;
                    V3 origin = {sx, sy / FLAT_SIN, model.bound * 2.0f};
                    float t0, t1;
                    V3 hit;
                    if (sphere_span(origin, down, model.bound, &t0, &t1) && march(posed, origin, down, t0, t1, &hit, NULL)) hits++;
                }
            }
            if (hits * 2 >= n * n) out.at(x, y) = with_alpha(colour, 1.0f);
        }
    }
    return out;
}
