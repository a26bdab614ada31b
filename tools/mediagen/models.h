#ifndef MEDIAGEN_MODELS_H
#define MEDIAGEN_MODELS_H

// The solid things of the scene as distance-field models (see render3d.h).

#include "render3d.h"

struct SubmarineModel : Model {
    SubmarineModel();
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
    float shininess(int mat) const override;
};

struct FishModel : Model {
    FishModel();
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
};

struct JellyfishModel : Model {
    V3 tentacle[7][5];  // joints of the trailing tentacles
    JellyfishModel();
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
    Rgb glow(int mat, V3 p) const override;
    float shininess(int mat) const override;
};

struct CrabModel : Model {
    CrabModel();
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
};

struct SquidModel : Model {
    V3 arm[8][5];  // joints of the eight arms
    SquidModel();
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
};

struct SerpentModel : Model {
    V3 spine[15];   // the body's centre line, joint by joint
    float girth[15];
    SerpentModel();
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
};

// The enemy bomber (two engines, olive) and the player's support plane
// (one engine, pale blue with yellow markings).
struct PlaneModel : Model {
    bool bomber;
    explicit PlaneModel(bool is_bomber);
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
    float shininess(int mat) const override;
};

struct BombModel : Model {
    bool heavy;
    explicit BombModel(bool is_heavy);
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
};

struct RocketModel : Model {
    RocketModel();
    Sample sdf(V3 p) const override;
    Rgb albedo(int mat, V3 p) const override;
    Rgb glow(int mat, V3 p) const override;
};

#endif
