// Lays every generated picture of the run folder out on contact sheets
// (PNG files), so that the art can be looked at as a whole: frame strips are
// cut into their frames, transparent pixels show as a checkerboard, and each
// picture is labelled with its path.
//
// Usage: abyssor_contactsheet <run folder> <output folder> <font file> [extra zoom]

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <dirent.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "mockup.h"
#include "png.h"

namespace {

const int SHEET_WIDTH = 1280;
const int MARGIN = 8;

struct Sheet {
    int w, h;
    std::vector<uint32_t> px;  // 0xRRGGBB
    Sheet(int width, int height) : w(width), h(height), px((size_t)width * height, 0x202428) {}
    void set(int x, int y, uint32_t c)
    {
        if (x >= 0 && y >= 0 && x < w && y < h) px[(size_t)y * w + x] = c;
    }
};

void list_bitmaps(const std::string& root, const std::string& rel, std::vector<std::string>& out)
{
    DIR* dir = opendir((root + "/" + rel).c_str());
    if (dir == NULL) return;
    std::vector<std::string> names;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] != '.') names.push_back(e->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) {
        std::string path = rel + "/" + n;
        struct stat st;
        if (stat((root + "/" + path).c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            list_bitmaps(root, path, out);
        } else if (n.size() > 4 && n.substr(n.size() - 4) == ".bmp") {
            out.push_back(path);
        }
    }
}

// Frame counts named next to picture paths in the scripts: "path 8",
// "path 8 2" or "path pocet_snimku 8".
void read_frame_hints(const std::string& root, const std::string& rel, std::map<std::string, int>& hints)
{
    DIR* dir = opendir((root + "/" + rel).c_str());
    if (dir == NULL) return;
    std::vector<std::string> names;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] != '.') names.push_back(e->d_name);
    }
    closedir(dir);
    for (const std::string& n : names) {
        std::string path = root + "/" + rel + "/" + n;
        struct stat st;
        if (stat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            read_frame_hints(root, rel + "/" + n, hints);
            continue;
        }
        std::ifstream in(path);
        std::vector<std::string> words;
        std::string w;
        while (in >> w) words.push_back(w);
        for (size_t i = 0; i + 1 < words.size(); i++) {
            if (words[i].find(".bmp") == std::string::npos) continue;
            size_t j = i + 1;
            if (words[j] == "pocet_snimku" && j + 1 < words.size()) j++;
            int frames = atoi(words[j].c_str());
            if (frames > 0) hints[words[i]] = frames;
        }
    }
}

uint32_t checker(int x, int y)
{
    return ((x / 6 + y / 6) & 1) ? 0x5a5a64 : 0x787884;
}

TTF_Font* label_font = NULL;

void draw_label(Sheet& s, int x, int y, const std::string& text)
{
    if (label_font == NULL) return;
    SDL_Color white = {230, 230, 230, 0};
    SDL_Surface* t = TTF_RenderUTF8_Blended(label_font, text.c_str(), white);
    if (t == NULL) return;
    SDL_LockSurface(t);
    for (int j = 0; j < t->h; j++) {
        const Uint32* row = (const Uint32*)((const Uint8*)t->pixels + j * t->pitch);
        for (int i = 0; i < t->w; i++) {
            Uint32 a = (row[i] & t->format->Amask) >> t->format->Ashift;
            if (a < 100) continue;
            s.set(x + i, y + j, 0xe6e6e6);
        }
    }
    SDL_UnlockSurface(t);
    SDL_FreeSurface(t);
}

struct Item {
    std::string path;
    SDL_Surface* bitmap;
    int frames, zoom, key;  // key: palette index drawn as transparent, -1 none
};

uint32_t colour_of(SDL_Surface* b, int x, int y, int key, int cx, int cy)
{
    Uint8* row = (Uint8*)b->pixels + y * b->pitch;
    if (b->format->BitsPerPixel == 8) {
        int index = row[x];
        if (index == key) return checker(cx, cy);
        SDL_Color c = b->format->palette->colors[index];
        return (uint32_t)c.r << 16 | c.g << 8 | c.b;
    }
    Uint8 r, g, bl;
    Uint32 v = 0;
    memcpy(&v, row + x * b->format->BytesPerPixel, b->format->BytesPerPixel);
    SDL_GetRGB(v, b->format, &r, &g, &bl);
    return (uint32_t)r << 16 | g << 8 | bl;
}

// Places the frames of an item in rows; returns the height used.
int place(Sheet* s, const Item& it, int y0)
{
    int fw = it.bitmap->w / it.frames, fh = it.bitmap->h;
    int zw = fw * it.zoom, zh = fh * it.zoom;
    int per_row = std::max(1, (SHEET_WIDTH - 2 * MARGIN) / (zw + 2));
    int rows = (it.frames + per_row - 1) / per_row;
    int label = 16;
    if (s != NULL) {
        draw_label(*s, MARGIN, y0, it.path + "  (" + std::to_string(it.bitmap->w) + "x" + std::to_string(it.bitmap->h) +
                                       ", " + std::to_string(it.frames) + " frames)");
        SDL_LockSurface(it.bitmap);
        for (int f = 0; f < it.frames; f++) {
            int ox = MARGIN + (f % per_row) * (zw + 2), oy = y0 + label + (f / per_row) * (zh + 2);
            for (int y = 0; y < zh; y++) {
                for (int x = 0; x < zw; x++) {
                    s->set(ox + x, oy + y, colour_of(it.bitmap, f * fw + x / it.zoom, y / it.zoom, it.key, x, y));
                }
            }
        }
        SDL_UnlockSurface(it.bitmap);
    }
    return label + rows * (zh + 2) + MARGIN;
}

bool write_png(const std::string& path, const Sheet& s)
{
    std::vector<uint8_t> rgb;
    rgb.reserve(s.px.size() * 3);
    for (uint32_t c : s.px) {
        rgb.push_back(c >> 16);
        rgb.push_back((c >> 8) & 255);
        rgb.push_back(c & 255);
    }
    return ::write_png(path, s.w, s.h, 3, rgb);
}

int transparent_index(SDL_Surface* b, const std::string& path)
{
    if (b->format->BitsPerPixel != 8) return -1;
    Uint8* pixels = (Uint8*)b->pixels;
    if (path.find("pismo") != std::string::npos) return pixels[(b->h - 1) * b->pitch];
    SDL_Color c = b->format->palette->colors[pixels[0]];
    return (c.r == 255 && c.g == 0 && c.b == 255) ? pixels[0] : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: %s <run folder> <output folder> <font file>\n", argv[0]);
        return 2;
    }
    std::string run = argv[1], out = argv[2];
    mkdir(out.c_str(), 0755);
    if (TTF_Init() == 0) label_font = TTF_OpenFont(argv[3], 11);

    std::vector<std::string> paths;
    list_bitmaps(run, "GFX", paths);
    std::map<std::string, int> hints;
    read_frame_hints(run, "SCRIPT", hints);
    if (paths.empty()) {
        fprintf(stderr, "no pictures under %s/GFX\n", run.c_str());
        return 1;
    }

    std::map<std::string, std::vector<Item>> groups;
    int failures = 0;
    for (const std::string& p : paths) {
        SDL_Surface* b = SDL_LoadBMP((run + "/" + p).c_str());
        if (b == NULL) {
            fprintf(stderr, "cannot load %s: %s\n", p.c_str(), SDL_GetError());
            failures++;
            continue;
        }
        Item it{p, b, 1, 1, transparent_index(b, p)};
        auto hint = hints.find(p);
        if (hint != hints.end() && b->w % hint->second == 0) {
            it.frames = hint->second;
        } else if (b->w >= 3 * b->h && b->w % b->h == 0 && p.find("pismo") == std::string::npos) {
            it.frames = b->w / b->h;  // square frames side by side
        }
        int fw = b->w / it.frames;
        it.zoom = fw <= 40 && b->h <= 40 ? 3 : (fw <= 100 && b->h <= 100 ? 2 : 1);
        if (fw >= 320) it.zoom = 1;
        if (argc > 4) it.zoom *= atoi(argv[4]);
        std::string group = p.substr(4, p.find('/', 4) - 4);
        groups[group].push_back(it);
    }

    for (auto& g : groups) {
        int height = MARGIN;
        for (const Item& it : g.second) height += place(NULL, it, height);
        Sheet sheet(SHEET_WIDTH, height);
        int y = MARGIN;
        for (const Item& it : g.second) y += place(&sheet, it, y);
        std::string file = out + "/" + g.first + ".png";
        if (!write_png(file, sheet)) {
            fprintf(stderr, "cannot write %s\n", file.c_str());
            failures++;
        } else {
            printf("%s: %zu pictures\n", file.c_str(), g.second.size());
        }
        for (Item& it : g.second) SDL_FreeSurface(it.bitmap);
    }
    // Mock-ups of the screens the player sees, two by two on one sheet.
    std::vector<Frame> frames = make_mockups(run);
    int rows = ((int)frames.size() + 1) / 2;
    Sheet scenes(2 * 640 + 3 * MARGIN, rows * (480 + MARGIN) + MARGIN);
    for (size_t i = 0; i < frames.size(); i++) {
        int ox = MARGIN + (int)(i % 2) * (640 + MARGIN), oy = MARGIN + (int)(i / 2) * (480 + MARGIN);
        for (int y = 0; y < 480; y++) {
            for (int x = 0; x < 640; x++) scenes.set(ox + x, oy + y, frames[i].px[(size_t)y * 640 + x]);
        }
    }
    std::string file = out + "/mockups.png";
    if (!write_png(file, scenes)) {
        fprintf(stderr, "cannot write %s\n", file.c_str());
        failures++;
    } else {
        printf("%s: %zu mock-ups\n", file.c_str(), frames.size());
    }
    if (label_font != NULL) TTF_CloseFont(label_font);
    TTF_Quit();
    return failures == 0 ? 0 : 1;
}
