#include "media_check.h"

#include <dirent.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

void Report::fail(const std::string& where, const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    fprintf(stderr, "%s: %s\n", where.c_str(), text);
    errors++;
}

void Report::warn(const std::string& where, const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    printf("%s: warning: %s\n", where.c_str(), text);
    warnings++;
}

namespace {

std::map<std::string, Picture*> loaded;

int index_at(const Picture* p, int x, int y)
{
    return ((const Uint8*)p->surface->pixels)[y * p->surface->pitch + x];
}

int rgb565(const SDL_Color& c)
{
    return (c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3);
}

bool frame_shows_something(const Picture* p, int x0, int w)
{
    for (int y = 0; y < p->h; y++) {
        for (int x = x0; x < x0 + w; x++) {
            if (index_at(p, x, y) != p->key) return true;
        }
    }
    return false;
}

void list_files(const std::string& dir, std::vector<std::string>& out)
{
    DIR* d = opendir(dir.c_str());
    if (d == NULL) return;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.') continue;
        std::string path = dir + "/" + e->d_name;
        struct stat st;
        if (stat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            list_files(path, out);
        } else {
            out.push_back(path);
        }
    }
    closedir(d);
}

}  // namespace

const Picture* picture(Report& report, const std::string& where, const std::string& path)
{
    report.named.insert(path);
    auto found = loaded.find(path);
    if (found != loaded.end()) return found->second;
    Picture* p = NULL;
    SDL_Surface* s = SDL_LoadBMP(path.c_str());
    if (s == NULL) {
        report.fail(where, "picture %s cannot be loaded: %s", path.c_str(), SDL_GetError());
    } else if (s->format->BitsPerPixel != 8 || s->format->palette == NULL || s->format->palette->ncolors != 256) {
        report.fail(where, "picture %s is not 8-bit with a 256-colour palette", path.c_str());
        SDL_FreeSurface(s);
    } else {
        p = new Picture;
        p->surface = s;
        p->w = s->w;
        p->h = s->h;
        p->palettised = true;
        p->key = index_at(p, 0, 0);
    }
    loaded[path] = p;
    return p;
}

const Picture* keyed_picture(Report& report, const std::string& where, const std::string& path)
{
    const Picture* p = picture(report, where, path);
    if (p == NULL) return NULL;
    const SDL_Color* colours = p->surface->format->palette->colors;
    std::vector<bool> used(256, false);
    for (int y = 0; y < p->h; y++) {
        for (int x = 0; x < p->w; x++) used[index_at(p, x, y)] = true;
    }
    bool shows = false;
    for (int i = 0; i < 256; i++) {
        if (!used[i] || i == p->key) continue;
        shows = true;
        if (rgb565(colours[i]) == rgb565(colours[p->key])) {
            report.fail(where, "picture %s: colour %d (%d,%d,%d) turns transparent like its key on a 16-bit screen",
                        path.c_str(), i, colours[i].r, colours[i].g, colours[i].b);
            break;
        }
    }
    if (!shows) report.fail(where, "picture %s is transparent all over", path.c_str());
    return p;
}

const Picture* strip_picture(Report& report, const std::string& where, const std::string& path, int frames,
                             bool keyed, bool square)
{
    const Picture* p = keyed ? keyed_picture(report, where, path) : picture(report, where, path);
    if (p == NULL) return NULL;
    if (frames < 1) {
        report.fail(where, "picture %s has a frame count of %d", path.c_str(), frames);
        return p;
    }
    if (p->w % frames != 0) {
        report.fail(where, "picture %s is %d wide, not a whole number of %d frames", path.c_str(), p->w, frames);
        return p;
    }
    int fw = p->w / frames;
    if (square && fw != p->h) {
        report.fail(where, "picture %s: %d frames of %dx%d are not square", path.c_str(), frames, fw, p->h);
    }
    if (keyed) {
        for (int k = 0; k < frames; k++) {
            if (!frame_shows_something(p, k * fw, fw)) {
                report.fail(where, "picture %s: frame %d shows nothing", path.c_str(), k);
                break;
            }
        }
    }
    return p;
}

std::vector<int> font_picture(Report& report, const std::string& where, const std::string& path)
{
    std::vector<int> advances;
    const Picture* p = picture(report, where, path);
    if (p == NULL) return advances;
    SDL_Surface* s = p->surface;
    // The marker colour is what (255, 0, 255) maps to in the picture's palette.
    int marker = SDL_MapRGB(s->format, 255, 0, 255);
    const SDL_Color& mc = s->format->palette->colors[marker];
    if (mc.r != 255 || mc.g != 0 || mc.b != 255) {
        report.fail(where, "font %s has no (255,0,255) in its palette", path.c_str());
        return advances;
    }
    std::vector<int> marks;
    for (int x = 0; x < p->w; x++) {
        if (index_at(p, x, 0) != marker) continue;
        marks.push_back(x);
        while (x < p->w - 1 && index_at(p, x, 0) == marker) x++;
        marks.push_back(x);
    }
    const int glyphs = 94 + 15;
    if ((int)marks.size() / 2 != glyphs + 1) {
        report.fail(where, "font %s has %zu marker runs, %d expected (one before every glyph and one after the last)",
                    path.c_str(), marks.size() / 2, glyphs + 1);
        return advances;
    }
    int transparent = index_at(p, 0, p->h - 1);
    if (transparent == marker) {
        report.fail(where, "font %s: the bottom-left pixel has the marker colour", path.c_str());
    }
    if (p->h < 8) report.fail(where, "font %s is only %d pixels high", path.c_str(), p->h);
    for (int g = 0; g < glyphs; g++) {
        int e = marks[2 * g + 1], s2 = marks[2 * g + 2];
        int advance = s2 - e;
        if (advance <= 0) {
            report.fail(where, "font %s: glyph %d has no width", path.c_str(), g);
            return std::vector<int>();
        }
        bool ink = false;
        for (int y = 1; y < p->h && !ink; y++) {
            for (int x = e; x < s2 && !ink; x++) ink = index_at(p, x, y) != transparent;
        }
        if (!ink) report.fail(where, "font %s: glyph %d is empty", path.c_str(), g);
        advances.push_back(advance);
    }
    return advances;
}

int font_text_width(const std::vector<int>& advances, const std::string& text)
{
    static const unsigned char czech[15] = {236, 154, 232, 248, 158, 253, 225, 237, 233, 239, 242, 243, 157, 250, 249};
    if (advances.empty()) return -1;
    int width = 0;
    for (unsigned char c : text) {
        int glyph = -1;
        if (c == ' ') {
            glyph = 0;
        } else if (c >= 33 && c <= 126) {
            glyph = c - 33;
        } else {
            for (int i = 0; i < 15; i++) {
                if (czech[i] == c) glyph = 94 + i;
            }
        }
        if (glyph < 0) return -1;
        width += advances[glyph];
    }
    return width;
}

static uint32_t le32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24;
}

void sound_file(Report& report, const std::string& where, const std::string& path)
{
    report.named.insert(path);
    FILE* f = fopen(path.c_str(), "rb");
    if (f == NULL) {
        report.fail(where, "sound %s is missing", path.c_str());
        return;
    }
    std::vector<unsigned char> data;
    unsigned char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, f)) > 0) data.insert(data.end(), buffer, buffer + got);
    fclose(f);
    if (data.size() < 12 || memcmp(&data[0], "RIFF", 4) != 0 || memcmp(&data[8], "WAVE", 4) != 0) {
        report.fail(where, "sound %s is not a WAV file", path.c_str());
        return;
    }
    bool format_ok = false;
    uint32_t samples = 0;
    for (size_t pos = 12; pos + 8 <= data.size();) {
        uint32_t size = le32(&data[pos + 4]);
        const unsigned char* body = &data[pos + 8];
        if (memcmp(&data[pos], "fmt ", 4) == 0 && size >= 16 && pos + 8 + 16 <= data.size()) {
            int tag = body[0] | body[1] << 8, channels = body[2] | body[3] << 8, bits = body[14] | body[15] << 8;
            uint32_t rate = le32(body + 4);
            format_ok = tag == 1 && channels == 1 && bits == 8 && rate == 11025;
            if (!format_ok) {
                report.fail(where, "sound %s is %d-bit, %d channel(s), %u Hz (format %d); 8-bit mono 11025 Hz PCM wanted",
                            path.c_str(), bits, channels, rate, tag);
                return;
            }
        }
        if (memcmp(&data[pos], "data", 4) == 0) samples = std::min<uint32_t>(size, (uint32_t)(data.size() - pos - 8));
        pos += 8 + size + (size & 1);
    }
    if (!format_ok) {
        report.fail(where, "sound %s has no format chunk", path.c_str());
    } else if (samples < 100) {
        report.fail(where, "sound %s holds only %u samples", path.c_str(), samples);
    } else {
    }
}

std::vector<std::string> media_files()
{
    std::vector<std::string> files;
    list_files("GFX", files);
    list_files("SFX", files);
    std::sort(files.begin(), files.end());
    return files;
}

void free_pictures()
{
    for (auto& p : loaded) {
        if (p.second != NULL) {
            SDL_FreeSurface(p.second->surface);
            delete p.second;
        }
    }
    loaded.clear();
}
