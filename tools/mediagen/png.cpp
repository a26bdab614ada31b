#include "png.h"

#include <stdio.h>
#include <zlib.h>

namespace {

void put32be(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(x >> 24);
    v.push_back((x >> 16) & 255);
    v.push_back((x >> 8) & 255);
    v.push_back(x & 255);
}

// Length, type, data and the CRC of type and data.
void chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data)
{
    put32be(png, (uint32_t)data.size());
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    put32be(png, (uint32_t)crc32(0, body.data(), (uInt)body.size()));
}

}  // namespace

bool write_png(const std::string& path, int w, int h, int channels, const std::vector<uint8_t>& pixels)
{
    if (w <= 0 || h <= 0 || (channels != 3 && channels != 4)) return false;
    size_t row = (size_t)w * channels;
    if (pixels.size() != row * h) return false;
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * h);
    for (int y = 0; y < h; y++) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), pixels.begin() + y * row, pixels.begin() + (y + 1) * row);
    }
    uLongf size = compressBound(raw.size());
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, raw.data(), raw.size(), 6) != Z_OK) return false;
    packed.resize(size);
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> ihdr;
    put32be(ihdr, (uint32_t)w);
    put32be(ihdr, (uint32_t)h);
    ihdr.insert(ihdr.end(), {8, (uint8_t)(channels == 4 ? 6 : 2), 0, 0, 0});
    chunk(png, "IHDR", ihdr);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", {});
    FILE* f = fopen(path.c_str(), "wb");
    if (f == NULL) return false;
    bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
    return fclose(f) == 0 && ok;
}
