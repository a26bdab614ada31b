#ifndef MEDIAGEN_QUANTIZE_H
#define MEDIAGEN_QUANTIZE_H

// Turns painted canvases into 8-bit palettised pictures and writes them as
// BMP files the game loads.

#include <stdint.h>

#include <string>
#include <vector>

#include "gfx.h"

struct Rgb8 {
    uint8_t r, g, b;
    bool operator==(const Rgb8& o) const { return r == o.r && g == o.g && b == o.b; }
};

const Rgb8 KEY_MAGENTA = {255, 0, 255};

struct Indexed {
    int w = 0, h = 0;
    std::vector<uint8_t> pix;  // row by row, top row first
    Rgb8 palette[256] = {};
};

struct QuantizeOptions {
    // Pixels with alpha below one half take index 0, which holds this colour.
    bool keyed = false;
    Rgb8 key = KEY_MAGENTA;
    // Colours that keep their own exact index right after the key, for
    // markers that a loader looks for by value.
    std::vector<Rgb8> exact;
    // Ordered dithering for smooth gradients.
    bool dither = false;
};

Indexed quantize(const Canvas& canvas, const QuantizeOptions& options);

// Writes an uncompressed 8-bit BMP with a full 256-entry palette.
void write_bmp(const std::string& path, const Indexed& picture);

#endif
