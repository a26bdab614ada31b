#ifndef MEDIAGEN_RENDER3D_H
#define MEDIAGEN_RENDER3D_H

// Sprites of the scene's solid things (the submarine, the creatures, the
// planes, bombs and rockets) are modelled as signed distance fields and
// ray-marched from the game's camera: orthographic, looking down so that a
// circle on the water appears 0.623 times as high as it is wide.

#include "detmath.h"
#include "gfx.h"

struct V3 {
    float x, y, z;
};

inline V3 v3(float x, float y, float z) { return V3{x, y, z}; }
inline V3 operator+(V3 a, V3 b) { return V3{a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return V3{a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, float k) { return V3{a.x * k, a.y * k, a.z * k}; }
inline float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float length(V3 a) { return sqrtf(dot(a, a)); }
inline V3 normalize(V3 a)
{
    float l = length(a);
    return l > 0 ? a * (1.0f / l) : a;
}
inline V3 vabs(V3 a) { return V3{fabsf(a.x), fabsf(a.y), fabsf(a.z)}; }
inline V3 vmax(V3 a, float m) { return V3{std::max(a.x, m), std::max(a.y, m), std::max(a.z, m)}; }

// Rotations about the axes, by an angle in radians.
V3 rot_z(V3 p, float a);
V3 rot_y(V3 p, float a);
V3 rot_x(V3 p, float a);

float sd3_sphere(V3 p, float r);
float sd3_ellipsoid(V3 p, V3 r);
float sd3_capsule(V3 p, V3 a, V3 b, float r);
// A capsule whose radius changes linearly from ra at a to rb at b.
float sd3_cone_capsule(V3 p, V3 a, V3 b, float ra, float rb);
float sd3_box(V3 p, V3 half, float round);
float sd3_cylinder_z(V3 p, float r, float half_h);
float sd3_cylinder_x(V3 p, float r, float half_len);
float sd3_torus_z(V3 p, float major, float minor);
float smin(float a, float b, float k);

struct Sample {
    float d;
    int mat;
};

inline Sample closer(Sample a, Sample b) { return a.d < b.d ? a : b; }

// A solid in object space: x forward, y to the side, z up; the water surface
// is z = 0 and the model's ground point is the origin.
struct Model {
    float bound = 30.0f;          // radius of a sphere around the origin holding the model
    bool in_water = true;         // surfaces below z = 0 are tinted by the water
    Rgb water = {0.08f, 0.30f, 0.42f};
    float water_fade = 7.0f;      // depth at which the tint is strongest
    float cut_depth = 1e9f;       // nothing is drawn below -cut_depth
    virtual ~Model() {}
    virtual Sample sdf(V3 p) const = 0;
    virtual Rgb albedo(int mat, V3 p) const = 0;
    virtual float shininess(int) const { return 0.35f; }
    virtual Rgb glow(int, V3) const { return Rgb{0, 0, 0}; }
};

struct View {
    int size = 48;            // square frame, pixels
    float heading = 0.0f;     // degrees, 0 right, growing clockwise on screen
    float lift = 0.0f;        // pixels the model is moved up inside its frame
    float zoom = 1.0f;        // model units per pixel are 1 / zoom
    int samples = 3;          // samples per pixel along each axis
    bool rim_dark = true;     // darken the outermost pixels for a crisp silhouette
};

Canvas render_model(const Model& model, const View& view);

// The model's shadow straight below it on the water, as a flat silhouette.
// With stipple only every other pixel is set, which reads as a translucent
// shadow once the picture is colour-keyed.
Canvas render_shadow(const Model& model, const View& view, Rgb colour, bool stipple);

#endif
