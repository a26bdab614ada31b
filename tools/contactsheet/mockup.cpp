// Mock-ups of what the player will see, assembled from the generated
// pictures at the places the scripts give: a moment of play in each level
// with the panel over it, the announcement with its code word, the
// high-score table and a stretch of the credits in their bitmap fonts.

#include "mockup.h"

#include <SDL/SDL.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Image {
    SDL_Surface* s = NULL;
    int key = -1;
};

std::string run;
std::map<std::string, Image> cache;

Image load(const std::string& path, bool keyed, bool font = false)
{
    std::string id = path + (keyed ? "#k" : "") + (font ? "#f" : "");
    auto found = cache.find(id);
    if (found != cache.end()) return found->second;
    Image img;
    img.s = SDL_LoadBMP((run + "/" + path).c_str());
    if (img.s != NULL && img.s->format->BitsPerPixel == 8) {
        const Uint8* px = (const Uint8*)img.s->pixels;
        if (font) img.key = px[(img.s->h - 1) * img.s->pitch];
        else if (keyed) img.key = px[0];
    } else if (img.s == NULL) {
        fprintf(stderr, "mockup: cannot load %s\n", path.c_str());
    }
    cache[id] = img;
    return img;
}

void blit(Frame& f, const Image& img, int sx, int sy, int sw, int sh, int dx, int dy)
{
    if (img.s == NULL) return;
    SDL_Surface* s = img.s;
    for (int y = 0; y < sh; y++) {
        for (int x = 0; x < sw; x++) {
            int px = sx + x, py = sy + y;
            if (px < 0 || py < 0 || px >= s->w || py >= s->h) continue;
            int index = ((const Uint8*)s->pixels)[py * s->pitch + px];
            if (index == img.key) continue;
            SDL_Color c = s->format->palette->colors[index];
            f.set(dx + x, dy + y, (uint32_t)c.r << 16 | c.g << 8 | c.b);
        }
    }
}

void whole(Frame& f, const Image& img, int x, int y)
{
    if (img.s != NULL) blit(f, img, 0, 0, img.s->w, img.s->h, x, y);
}

// Frame k of a strip of n frames, centred on (x, y).
void frame_at(Frame& f, const Image& img, int k, int n, int x, int y)
{
    if (img.s == NULL) return;
    int w = img.s->w / n, h = img.s->h;
    blit(f, img, k * w, 0, w, h, x - w / 2, y - h / 2);
}

std::vector<std::string> words(const std::string& path)
{
    std::ifstream in(run + "/" + path);
    std::vector<std::string> out;
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

std::string after(const std::vector<std::string>& w, const std::string& key, int nth = 0)
{
    for (size_t i = 0; i + 1 < w.size(); i++) {
        if (w[i] == key && nth-- == 0) return w[i + 1];
    }
    return "";
}

// Text in a bitmap font, by the game's rules: marker runs in row 0, glyph g
// between runs g and g + 1, Czech letters after the ASCII ones.
struct BitmapFont {
    Image img;
    std::vector<int> marks;
    explicit BitmapFont(const std::string& path)
    {
        img = load(path, false, true);
        if (img.s == NULL) return;
        int marker = SDL_MapRGB(img.s->format, 255, 0, 255);
        const Uint8* row = (const Uint8*)img.s->pixels;
        for (int x = 0; x < img.s->w; x++) {
            if (row[x] != marker) continue;
            marks.push_back(x);
            while (x < img.s->w - 1 && row[x] == marker) x++;
            marks.push_back(x);
        }
    }
    int glyph(unsigned char c) const
    {
        static const unsigned char czech[15] = {236, 154, 232, 248, 158, 253, 225, 237, 233, 239, 242, 243, 157, 250, 249};
        for (int i = 0; i < 15; i++) {
            if (czech[i] == c) return 94 + i;
        }
        return c - 33;
    }
    int width(const std::string& text) const
    {
        int w = 0;
        for (unsigned char c : text) {
            int g = c == ' ' ? 0 : glyph(c);
            if (g < 0 || 2 * g + 3 >= (int)marks.size()) continue;
            w += marks[2 * g + 2] - marks[2 * g + 1];
        }
        return w;
    }
    void draw(Frame& f, int x, int y, const std::string& text) const
    {
        int pen = x;
        for (unsigned char c : text) {
            int g = c == ' ' ? 0 : glyph(c);
            if (g < 0 || 2 * g + 3 >= (int)marks.size()) continue;
            int s = marks[2 * g], e = marks[2 * g + 1], s2 = marks[2 * g + 2], e2 = marks[2 * g + 3];
            if (c != ' ') blit(f, img, (s + e) / 2, 1, (s2 + e2) / 2 - (s + e) / 2, img.s->h - 1, pen - (e - s) / 2, y);
            pen += s2 - e;
        }
    }
};

void reach_ring(Frame& f, int x, int y, int r)
{
    for (int i = 0; i < 360; i++) {
        int px = x + (int)(cos(i * 0.0174) * r), py = y + (int)(sin(i * 0.0174) * r * 0.623);
        int g = (int)(230 - 100 * sin((i + 40) * 0.0174)) & 255;
        f.set(px, py, (uint32_t)g << 8);
    }
}

void play_scene(Frame& f, int level)
{
    std::string dir = "SCRIPT/LEVEL" + std::to_string(level) + "/";
    std::vector<std::string> images = words(dir + "images.scr"), sub = words(dir + "delo.scr");
    std::vector<std::string> creatures = words(dir + "potvory.scr"), weapons = words(dir + "weapons.scr");
    std::vector<std::string> panel = words(dir + "panel.scr"), planes = words(dir + "plane.scr"), bonus = words(dir + "bonusy.scr");
    whole(f, load(images[2], false), 0, 0);

    int cx = atoi(after(sub, "stred_x").c_str()), cy = atoi(after(sub, "stred_y").c_str()), r = atoi(after(sub, "radius").c_str());
    int frames = atoi(after(sub, "pocet_snimku").c_str());
    // Bubbles of a creature still rising, and one surfacing.
    std::string bubbles, blast, splash;
    for (size_t i = 0; i < images.size(); i++) {
        if (images[i] == "[*VYBUCH]") {
            blast = images[i + 1];
            bubbles = images[i + 6];
        }
        if (images[i] == "[*ZBLUNK]") splash = images[i + 1];
    }
    frame_at(f, load(bubbles, true), 3, 12, cx + 20, cy - 10);
    frame_at(f, load(bubbles, true), 9, 12, cx - 40, cy + 12);
    // Creatures of every kind swimming outward.
    int kinds = 0;
    for (size_t i = 0; i < creatures.size(); i++) {
        if (creatures[i] != "bitmap") continue;
        Image c = load(creatures[i + 1], true);
        int heading = (kinds * 97 + 30) % 360, dist = 60 + kinds * 28;
        int k = heading / 10;
        frame_at(f, c, k, 36, cx + (int)(cos(heading * 0.0174) * dist), cy + (int)(sin(heading * 0.0174) * dist * 0.623));
        kinds++;
    }
    // The submarine on its ellipse with its reach ring, a shell in flight.
    float angle = 130.0f;
    int sx = cx + (int)(r * cos(angle * 0.0174)), sy = cy + (int)(r * 0.623 * sin(angle * 0.0174));
    reach_ring(f, sx, sy, atoi(after(weapons, "dostrel").c_str()));
    frame_at(f, load(after(sub, "image"), true), (int)(angle / (360 / frames)), frames, sx, sy);
    frame_at(f, load(after(weapons, "stin"), true), 0, 1, sx + 90, sy - 40);
    frame_at(f, load(after(weapons, "strela"), true), 0, 1, sx + 90, sy - 40 - 45);
    // A splash where a shell missed, a creature blowing up.
    Image sp = load(splash, true);
    if (sp.s != NULL) blit(f, sp, 3 * (sp.s->w / 8), 0, sp.s->w / 8, sp.s->h, cx + 150 - sp.s->w / 16, cy + 60 - (sp.s->h - sp.s->w / 16));
    frame_at(f, load(blast, true), 5, 16, cx + 120, cy - 90);
    // The enemy plane and its shadow.
    Image plane = load(after(planes, "bitmap"), true), shadow = load(after(planes, "shadow"), true);
    frame_at(f, shadow, 1, 8, 470, 330);
    frame_at(f, plane, 1, 8, 470, 330 - 70);
    // Crosshair at the pointer.
    frame_at(f, load(after(images, "zamerovac"), true), 0, 1, cx + 40, cy + 30);

    // The panel.
    auto pos = [&](int i) {
        std::string p = panel[13 + i];
        return std::make_pair(atoi(p.c_str()), atoi(p.substr(p.find(',') + 1).c_str()));
    };
    whole(f, load(panel[0], true), pos(0).first, pos(0).second);
    Image card = load(after(weapons, "menu"), true);
    if (card.s != NULL) whole(f, card, 640 - card.s->w, 0);
    Image life = load(panel[6], true);
    if (life.s != NULL) {
        int b = life.s->h, fill = b * 70 / 100;
        blit(f, life, 0, b - fill, life.s->w, fill, pos(1).first, pos(1).second + b - fill);
    }
    whole(f, load(panel[1], true), pos(3).first, pos(3).second);
    Image heat = load(panel[4], true);
    if (heat.s != NULL) {
        int b = heat.s->h, fill = b * 45 / 100;
        blit(f, heat, 0, b - fill, heat.s->w, fill, pos(5).first, pos(5).second + b - fill);
    }
    whole(f, load(panel[5], true), pos(6).first, pos(6).second);
    Image icon = load(panel[8], true);
    for (int i = 0; i < 2 && icon.s != NULL; i++) whole(f, icon, pos(2).first + i * (icon.s->w + 1), pos(2).second);
    whole(f, load(panel[3], true), pos(7).first, pos(7).second);
    Image digits = load(panel[9], true);
    const char* score = "12450";
    for (int i = 0; score[i] && digits.s != NULL; i++) {
        int w = digits.s->w / 10;
        blit(f, digits, (score[i] - '0') * w, 0, w, digits.s->h, pos(8).first + i * w, pos(8).second);
    }
    // Creature counters down the left edge.
    int t = 0, h0 = 0;
    Image one = load(panel[11], true), ten = load(panel[12], true);
    for (size_t i = 0; i < creatures.size(); i++) {
        if (creatures[i] != "skore_b") continue;
        Image ic = load(creatures[i + 1], true);
        if (ic.s == NULL) continue;
        if (t == 0) h0 = ic.s->h;
        int y = 480 / 2 - (h0 * (kinds - 1)) / 2 + ic.s->h * t;
        whole(f, ic, 1, y);
        int left = 13 - t * 3, x = 1 + ic.s->w + 1;
        for (int k = 0; k < left / 10 && ten.s; k++) whole(f, ten, x + k * ten.s->w, y);
        x += (left / 10) * (ten.s ? ten.s->w : 0) + 1;
        for (int k = 0; k < left % 10 && one.s; k++) whole(f, one, x + k * one.s->w, y);
        t++;
    }
    // Two collected bonuses at the bottom left with their timers.
    Image small = load(panel[10], true);
    int n = 0;
    for (size_t i = 0; i < bonus.size() && n < 2; i++) {
        if (bonus[i] != "bitmap") continue;
        Image b = load(bonus[i + 1], true);
        if (b.s == NULL) continue;
        n++;
        int y = 480 - b.s->h * n - 1;
        whole(f, b, 1, y);
        const char* left = n == 1 ? "387" : "95";
        for (int k = 0; left[k] && small.s; k++) {
            int w = small.s->w / 10;
            blit(f, small, (left[k] - '0') * w, 0, w, small.s->h, 1 + b.s->w + 1 + k * w, y);
        }
    }
}

}  // namespace

void Frame::set(int x, int y, uint32_t c)
{
    if (x >= 0 && y >= 0 && x < w && y < h) px[(size_t)y * w + x] = c;
}

std::vector<Frame> make_mockups(const std::string& run_dir)
{
    run = run_dir;
    std::vector<Frame> out;
    for (int level = 1; level <= 4; level++) {
        Frame f;
        play_scene(f, level);
        out.push_back(f);
    }
    std::vector<std::string> menu = words("SCRIPT/menu.scr"), levels = words("SCRIPT/levels.scr");
    BitmapFont font(after(menu, "font"));
    // The announcement of level 2 with its code word.
    {
        Frame f;
        std::vector<std::string> images = words("SCRIPT/LEVEL2/images.scr");
        Image pic = load(after(images, "misc", 1), true);
        if (pic.s != NULL) whole(f, pic, 320 - pic.s->w / 2, 240 - pic.s->h / 2);
        std::string p = images[0];
        for (size_t i = 0; i + 2 < images.size(); i++) {
            if (images[i] == "misc" && after(images, "misc", 1) == images[i + 1]) p = images[i + 2];
        }
        font.draw(f, atoi(p.c_str()), atoi(p.substr(p.find(',') + 1).c_str()), levels[4]);
        out.push_back(f);
    }
    // The high-score table as the game lays it out.
    {
        Frame f;
        whole(f, load(after(menu, "top_ten"), false), 0, 0);
        std::string t = after(menu, "ten_souradnice");
        int tx = atoi(t.c_str()), ty = atoi(t.substr(t.find(',') + 1).c_str()), step = atoi(t.substr(t.rfind(',') + 1).c_str());
        std::vector<std::string> top = words("SCRIPT/topten.scr");
        for (int i = 0; i < 10 && (size_t)(3 * i + 2) < top.size(); i++) {
            char level[16], score[16];
            snprintf(level, sizeof level, "%3d", atoi(top[3 * i + 2].c_str()));
            snprintf(score, sizeof score, "%11d", atoi(top[3 * i + 1].c_str()));
            font.draw(f, tx, ty + i * step, top[3 * i]);
            font.draw(f, 640 - 10 - tx, ty + i * step, level);
            font.draw(f, 320 - font.width(score) / 2, ty + i * step, score);
        }
        out.push_back(f);
    }
    // A stretch of the credits, centred as the outro draws them.
    {
        Frame f;
        std::vector<std::string> intro = words("SCRIPT/in.scr");
        BitmapFont credits(after(intro, "font"));
        int spacing = atoi(after(intro, "krok3").c_str()), line = 0;
        for (size_t i = 0; i + 1 < intro.size(); i++) {
            if (intro[i] != "outro") continue;
            credits.draw(f, 320 - credits.width(intro[i + 1]) / 2, 20 + line * spacing, intro[i + 1]);
            line++;
        }
        out.push_back(f);
    }
    for (auto& image : cache) {
        if (image.second.s != NULL) SDL_FreeSurface(image.second.s);
    }
    cache.clear();
    return out;
}
