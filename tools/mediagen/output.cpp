#include "output.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <set>

#include "png.h"

namespace {

std::string root_dir;
std::set<std::string> written;

void make_dirs(const std::string& path)
{
    for (size_t i = 1; i < path.size(); i++) {
        if (path[i] != '/') continue;
        std::string dir = path.substr(0, i);
        if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
            fprintf(stderr, "mediagen: cannot create %s\n", dir.c_str());
            exit(1);
        }
    }
}

std::string claim(const std::string& path)
{
    if (!written.insert(path).second) {
        fprintf(stderr, "mediagen: %s is generated twice\n", path.c_str());
        exit(1);
    }
    std::string full = root_dir + "/" + path;
    make_dirs(full);
    return full;
}

}  // namespace

void output_begin(const std::string& root)
{
    root_dir = root;
    make_dirs(root_dir + "/");
}

int output_count()
{
    return (int)written.size();
}

void save_indexed(const std::string& path, const Indexed& picture)
{
    write_bmp(claim(path), picture);
}

void save_keyed(const std::string& path, const Canvas& c)
{
    if (c.w > 0 && c.at(0, 0).a >= 0.5f) {
        fprintf(stderr, "mediagen: %s must leave its top-left pixel transparent\n", path.c_str());
        exit(1);
    }
    QuantizeOptions o;
    o.keyed = true;
    save_indexed(path, quantize(c, o));
}

void save_opaque(const std::string& path, const Canvas& c, bool dither)
{
    QuantizeOptions o;
    o.dither = dither;
    Canvas solid = c;
    for (Rgba& p : solid.px) p.a = 1.0f;
    save_indexed(path, quantize(solid, o));
}

void save_sound(const std::string& path, const Wave& w)
{
    write_wav(claim(path), w);
}

void save_png(const std::string& path, const Canvas& c)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(c.px.size() * 4);
    auto byte = [](float v) { return (uint8_t)(clampf(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    for (const Rgba& p : c.px) {
        bytes.push_back(byte(p.r));
        bytes.push_back(byte(p.g));
        bytes.push_back(byte(p.b));
        bytes.push_back(byte(p.a));
    }
    std::string full = claim(path);
    if (!write_png(full, c.w, c.h, 4, bytes)) {
        fprintf(stderr, "mediagen: cannot write %s\n", full.c_str());
        exit(1);
    }
}
