#include "quantize.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <map>

namespace {

struct Cell {
    int key;  // 5 bits per channel
    double count, r, g, b;
};

struct Box {
    std::vector<int> cells;  // indices into the cell list
    double error;
    int axis;
};

uint8_t to8(float v)
{
    return (uint8_t)clampf(floorf(v * 255.0f + 0.5f), 0.0f, 255.0f);
}

double channel(const Cell& c, int axis)
{
    return axis == 0 ? c.r / c.count : (axis == 1 ? c.g / c.count : c.b / c.count);
}

// Sum of squared deviations of a box on each axis; remembers the worst axis.
void measure(Box& box, const std::vector<Cell>& cells)
{
    double n = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
    for (int i : box.cells) {
        const Cell& c = cells[i];
        for (int a = 0; a < 3; a++) {
            double v = channel(c, a);
            s[a] += v * c.count;
            q[a] += v * v * c.count;
        }
        n += c.count;
    }
    box.error = 0;
    double worst = -1;
    for (int a = 0; a < 3; a++) {
        double var = n > 0 ? q[a] - s[a] * s[a] / n : 0;
        box.error += var;
        if (var > worst) {
            worst = var;
            box.axis = a;
        }
    }
}

std::vector<Rgb8> median_cut(std::vector<Cell>& cells, int wanted)
{
    std::vector<Box> boxes(1);
    for (size_t i = 0; i < cells.size(); i++) boxes[0].cells.push_back((int)i);
    measure(boxes[0], cells);
    while ((int)boxes.size() < wanted) {
        int pick = -1;
        for (size_t i = 0; i < boxes.size(); i++) {
            if (boxes[i].cells.size() < 2) continue;
            if (pick < 0 || boxes[i].error > boxes[pick].error) pick = (int)i;
        }
        if (pick < 0 || boxes[pick].error <= 0) break;
        Box& box = boxes[pick];
        int axis = box.axis;
        std::stable_sort(box.cells.begin(), box.cells.end(), [&](int a, int b) {
            return channel(cells[a], axis) < channel(cells[b], axis);
        });
        double total = 0;
        for (int i : box.cells) total += cells[i].count;
        double run = 0;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.cells.size(); i++) {
            run += cells[box.cells[i]].count;
            cut = i + 1;
            if (run >= total / 2) break;
        }
        Box upper;
        upper.cells.assign(box.cells.begin() + cut, box.cells.end());
        box.cells.resize(cut);
        measure(box, cells);
        measure(upper, cells);
        boxes.push_back(upper);
    }
    std::vector<Rgb8> palette;
    for (const Box& box : boxes) {
        double n = 0, r = 0, g = 0, b = 0;
        for (int i : box.cells) {
            n += cells[i].count;
            r += cells[i].r;
            g += cells[i].g;
            b += cells[i].b;
        }
        palette.push_back(Rgb8{(uint8_t)(r / n + 0.5), (uint8_t)(g / n + 0.5), (uint8_t)(b / n + 0.5)});
    }
    return palette;
}

int rgb565(const Rgb8& c)
{
    return (c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3);
}

// A colour that becomes equal to a reserved one on a 16-bit screen would be
// drawn transparent (or taken for a marker): move it one visible step away.
Rgb8 keep_apart(Rgb8 c, const std::vector<Rgb8>& reserved)
{
    for (int tries = 0; tries < 8; tries++) {
        bool clash = false;
        for (const Rgb8& r : reserved) clash = clash || rgb565(r) == rgb565(c);
        if (!clash) return c;
        c.g = c.g < 128 ? c.g + 8 : c.g - 8;
    }
    return c;
}

const int BAYER8[64] = {0,  32, 8,  40, 2,  34, 10, 42, 48, 16, 56, 24, 50, 18, 58, 26,
                        12, 44, 4,  36, 14, 46, 6,  38, 60, 28, 52, 20, 62, 30, 54, 22,
                        3,  35, 11, 43, 1,  33, 9,  41, 51, 19, 59, 27, 49, 17, 57, 25,
                        15, 47, 7,  39, 13, 45, 5,  37, 63, 31, 55, 23, 61, 29, 53, 21};

}  // namespace

Indexed quantize(const Canvas& canvas, const QuantizeOptions& options)
{
    Indexed out;
    out.w = canvas.w;
    out.h = canvas.h;
    out.pix.assign((size_t)canvas.w * canvas.h, 0);

    std::vector<Rgb8> reserved;
    if (options.keyed) reserved.push_back(options.key);
    for (const Rgb8& e : options.exact) reserved.push_back(e);
    int first_free = (int)reserved.size();
    int wanted = 256 - first_free;

    auto is_clear = [&](const Rgba& p) { return options.keyed && p.a < 0.5f; };
    auto exact_index = [&](const Rgb8& c) {
        for (size_t i = 0; i < options.exact.size(); i++) {
            if (options.exact[i] == c) return (int)(i + (options.keyed ? 1 : 0));
        }
        return -1;
    };

    // Gather the colours to approximate.
    std::map<int, int> distinct;  // 24-bit colour -> count
    for (const Rgba& p : canvas.px) {
        if (is_clear(p)) continue;
        Rgb8 c{to8(p.r), to8(p.g), to8(p.b)};
        if (exact_index(c) >= 0) continue;
        distinct[c.r << 16 | c.g << 8 | c.b]++;
    }
    std::vector<Rgb8> colours;
    if ((int)distinct.size() <= wanted) {
        for (const auto& d : distinct) colours.push_back(Rgb8{(uint8_t)(d.first >> 16), (uint8_t)(d.first >> 8), (uint8_t)d.first});
    } else {
        std::map<int, Cell> bins;
        for (const auto& d : distinct) {
            int r = d.first >> 16, g = (d.first >> 8) & 255, b = d.first & 255;
            int key = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
            Cell& cell = bins[key];
            cell.key = key;
            cell.count += d.second;
            cell.r += (double)r * d.second;
            cell.g += (double)g * d.second;
            cell.b += (double)b * d.second;
        }
        std::vector<Cell> cells;
        for (const auto& b : bins) cells.push_back(b.second);
        colours = median_cut(cells, wanted);
    }

    for (size_t i = 0; i < reserved.size(); i++) out.palette[i] = reserved[i];
    for (size_t i = 0; i < colours.size(); i++) out.palette[first_free + i] = keep_apart(colours[i], reserved);
    int palette_end = first_free + (int)colours.size();

    // Nearest colour by 6-bit cell, computed once per cell.
    std::vector<int16_t> cache(1 << 18, -1);
    auto nearest = [&](int r, int g, int b) {
        int key = (r >> 2) << 12 | (g >> 2) << 6 | (b >> 2);
        if (cache[key] >= 0) return (int)cache[key];
        int best = first_free;
        long best_d = -1;
        for (int i = first_free; i < palette_end; i++) {
            long dr = r - out.palette[i].r, dg = g - out.palette[i].g, db = b - out.palette[i].b;
            long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
            if (best_d < 0 || d < best_d) {
                best_d = d;
                best = i;
            }
        }
        cache[key] = (int16_t)best;
        return best;
    };

    for (int y = 0; y < canvas.h; y++) {
        for (int x = 0; x < canvas.w; x++) {
            const Rgba& p = canvas.at(x, y);
            uint8_t& o = out.pix[(size_t)y * canvas.w + x];
            if (is_clear(p)) {
                o = 0;
                continue;
            }
            Rgb8 c{to8(p.r), to8(p.g), to8(p.b)};
            int e = exact_index(c);
            if (e >= 0) {
                o = (uint8_t)e;
                continue;
            }
            if (palette_end == first_free) {
                o = 0;
                continue;
            }
            float offset = options.dither ? (BAYER8[(y & 7) * 8 + (x & 7)] / 64.0f - 0.5f) * 6.0f : 0.0f;
            int r = (int)clampf(c.r + offset, 0, 255), g = (int)clampf(c.g + offset, 0, 255),
                b = (int)clampf(c.b + offset, 0, 255);
            if (!options.dither && (int)distinct.size() <= wanted) {
                // Few colours: every one has its own entry, find it exactly.
                for (int i = first_free; i < palette_end; i++) {
                    if (out.palette[i] == keep_apart(c, reserved)) {
                        o = (uint8_t)i;
                        break;
                    }
                }
                continue;
            }
            o = (uint8_t)nearest(r, g, b);
        }
    }
    return out;
}

static void put16(std::vector<uint8_t>& v, unsigned x)
{
    v.push_back(x & 255);
    v.push_back((x >> 8) & 255);
}

static void put32(std::vector<uint8_t>& v, unsigned x)
{
    put16(v, x & 0xffff);
    put16(v, x >> 16);
}

void write_bmp(const std::string& path, const Indexed& picture)
{
    int row = (picture.w + 3) & ~3;
    unsigned header = 14 + 40 + 256 * 4;
    unsigned size = header + (unsigned)row * picture.h;
    std::vector<uint8_t> v;
    v.reserve(size);
    v.push_back('B');
    v.push_back('M');
    put32(v, size);
    put32(v, 0);
    put32(v, header);
    put32(v, 40);
    put32(v, (unsigned)picture.w);
    put32(v, (unsigned)picture.h);
    put16(v, 1);
    put16(v, 8);
    put32(v, 0);  // no compression
    put32(v, (unsigned)row * picture.h);
    put32(v, 2835);  // 72 dpi
    put32(v, 2835);
    put32(v, 256);
    put32(v, 0);
    for (int i = 0; i < 256; i++) {
        v.push_back(picture.palette[i].b);
        v.push_back(picture.palette[i].g);
        v.push_back(picture.palette[i].r);
        v.push_back(0);
    }
    for (int y = picture.h - 1; y >= 0; y--) {
        for (int x = 0; x < picture.w; x++) v.push_back(picture.pix[(size_t)y * picture.w + x]);
        for (int x = picture.w; x < row; x++) v.push_back(0);
    }
    FILE* f = fopen(path.c_str(), "wb");
    if (f == NULL || fwrite(v.data(), 1, v.size(), f) != v.size()) {
        fprintf(stderr, "mediagen: cannot write %s\n", path.c_str());
        exit(1);
    }
    fclose(f);
}
