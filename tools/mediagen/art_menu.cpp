// The front end's pictures: the main menu (plain and highlighted), help,
// the high-score table, level-code and name entry, the loading screen, the
// intro slides and the still screens between and inside levels.

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "art.h"
#include "models.h"
#include "output.h"
#include "text.h"
#include "words.h"

namespace {

const int W = 640, H = 480;

// Where the scripts expect things; menu.scr and the levels' images.scr give
// the same numbers.
const int BUTTON_X = 220, BUTTON_Y = 190, BUTTON_W = 200, BUTTON_H = 46, BUTTON_STEP = 56;
const int TABLE_X = 110, TABLE_Y = 124, TABLE_STEP = 30;
const int CODE_X = 230, CODE_Y = 246, CODE_W = 180;
const int NAME_X = 210, NAME_Y = 246;
const int ANNOUNCE_W = 480, ANNOUNCE_H = 300, ANNOUNCE_CODE_X = 200, ANNOUNCE_CODE_Y = 228;

// Height of the menu font's picture (made by art_fonts.cpp: marker row,
// the line and two pixels of outline above and below); the name field is
// eight times as wide.
int font_h()
{
    return 1 + font_line_height(SANS_BOLD, 18) + 4;
}

TextStyle heading_style(Rgb top, Rgb bottom)
{
    TextStyle s;
    s.top = top;
    s.bottom = bottom;
    s.outline = 2.0f;
    s.outline_colour = rgb(10, 16, 30);
    s.shadow = 3.0f;
    s.shadow_alpha = 0.7f;
    s.shadow_blur = 3;
    return s;
}

TextStyle body_style()
{
    TextStyle s;
    s.top = rgb(226, 238, 246);
    s.bottom = rgb(196, 216, 232);
    s.shadow = 1.5f;
    s.shadow_alpha = 0.8f;
    s.shadow_blur = 1;
    return s;
}

// Light shafts from the surface, drifting motes and a dark deep below.
Canvas ocean_backdrop(int seed, Rgb top, Rgb bottom)
{
    Canvas c(W, H);
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            float t = (float)y / H;
            Rgb col = mix(top, bottom, t * (1.2f - 0.2f * t));
            float shaft = 0;
            for (int k = 0; k < 5; k++) {
                float centre = 80.0f + k * 130.0f + hash01(k, 0, seed) * 60.0f + y * (0.25f + 0.1f * k - 0.3f);
                float width = 18.0f + 14.0f * hash01(k, 1, seed);
                float d = (x - centre) / width;
                if (d * d < 16.0f) shaft += expf_d(-d * d) * (0.5f + 0.5f * hash01(k, 2, seed));
            }
            shaft *= (1.0f - t) * 0.22f;
            float haze = fbm(x / 90.0f, y / 60.0f, seed, 4);
            col = add(col, Rgb{shaft * 0.7f, shaft * 0.95f, shaft});
            col = scale(col, 0.85f + 0.3f * haze);
            c.at(x, y) = with_alpha(col, 1.0f);
        }
    }
    Rng rng(seed);
    for (int i = 0; i < 90; i++) {
        float x = rng.range(0, W), y = rng.range(0, H), r = rng.range(0.6f, 2.2f);
        draw_ring(c, x, y, r, r, 0.6f, rgba(200, 236, 250, 0.35f + 0.3f * rng.uniform()));
    }
    return c;
}

// A silhouette of tentacles rising from the bottom edge.
void tentacles(Canvas& c, int seed, Rgb colour, float height)
{
    Rng rng(seed);
    for (int i = 0; i < 6; i++) {
        float base = rng.range(-40, W + 40), sway = rng.range(-1, 1), len = rng.range(0.5f, 1.0f) * height;
        float px = base, py = H + 10;
        for (int k = 1; k <= 24; k++) {
            float t = k / 24.0f;
            float nx = base + sinf_d(t * 3.0f + i) * 40.0f * sway + t * t * 60.0f * sway;
            float ny = H + 10 - t * len;
            float w = mixf(22.0f, 3.0f, t);
            draw_line(c, px, py, nx, ny, w, with_alpha(colour, 1.0f));
            if (k % 3 == 0 && k < 21) {
                fill_circle(c, nx + w * 0.35f, ny, w * 0.18f + 0.8f, with_alpha(mix(colour, rgb(200, 120, 160), 0.5f), 1.0f));
            }
            px = nx;
            py = ny;
        }
    }
}

void logo(Canvas& c, float cx, float y, int size)
{
    TextStyle s = heading_style(rgb(255, 244, 200), rgb(226, 150, 50));
    s.outline = 3.0f;
    s.outline_colour = rgb(30, 16, 8);
    s.glow = rgb(80, 200, 255);
    s.glow_alpha = 0.55f;
    s.glow_radius = 10;
    s.shadow = 5.0f;
    draw_text(c, SERIF_BOLD, size, "ABYSSOR", cx, y, s, ALIGN_CENTRE);
}

void frame_box(Canvas& c, float x, float y, float w, float h, Rgb edge, float alpha)
{
    fill_box(c, x, y, w, h, 10, rgba(4, 12, 24, alpha));
    fill_shape(c, x - 2, y - 2, x + w + 2, y + h + 2,
               [&](float px, float py) { return fabsf(sd_box(px, py, x + w / 2, y + h / 2, w / 2, h / 2, 10)) - 1.2f; },
               [&](float, float) { return with_alpha(edge, 0.9f); });
}

void input_box(Canvas& c, int x, int y, int w)
{
    fill_box(c, x - 10.0f, y - 7.0f, w + 20.0f, font_h() + 12.0f, 6, rgba(130, 170, 200));
    fill_box(c, x - 8.0f, y - 5.0f, w + 16.0f, font_h() + 8.0f, 5, rgba(6, 14, 26));
}

void press_any_key(Canvas& c, float y)
{
    TextStyle s = body_style();
    s.top = rgb(150, 200, 230);
    s.bottom = rgb(120, 170, 210);
    draw_text(c, SANS, 13, words().press_any_key, W / 2.0f, y, s, ALIGN_CENTRE);
}

Canvas render_sub_picture(float heading, float zoom, int size)
{
    SubmarineModel sub;
    View v;
    v.size = size;
    v.heading = heading;
    v.zoom = zoom;
    v.lift = 3.0f * zoom;
    v.samples = 3;
    return render_model(sub, v);
}

// --- Main menu ------------------------------------------------------------------

void button(Canvas& c, int i, bool lit)
{
    float x = BUTTON_X, y = BUTTON_Y + i * BUTTON_STEP;
    Rgb top = lit ? rgb(70, 150, 200) : rgb(40, 70, 100), bottom = lit ? rgb(20, 70, 120) : rgb(16, 30, 50);
    Rgb edge = lit ? rgb(255, 220, 120) : rgb(120, 160, 190);
    if (lit) {
        Canvas glow(W, H);
        fill_box(glow, x - 6, y - 6, BUTTON_W + 12.0f, BUTTON_H + 12.0f, 14, rgba(255, 200, 90, 0.8f));
        paste(c, blur(crop(glow, (int)x - 20, (int)y - 20, BUTTON_W + 40, BUTTON_H + 40), 8), (int)x - 20, (int)y - 20, 0.8f);
    }
    fill_box(c, x, y, BUTTON_W, BUTTON_H, 10, with_alpha(edge, 1.0f));
    fill_shape(c, x, y, x + BUTTON_W, y + BUTTON_H,
               [&](float px, float py) { return sd_box(px, py, x + BUTTON_W / 2.0f, y + BUTTON_H / 2.0f, BUTTON_W / 2.0f - 2, BUTTON_H / 2.0f - 2, 8); },
               [&](float, float py) { return with_alpha(mix(top, bottom, (py - y) / BUTTON_H), 1.0f); });
    fill_box(c, x + 6, y + 4, BUTTON_W - 12.0f, 8, 4, rgba(255, 255, 255, lit ? 0.22f : 0.1f));
    TextStyle s = heading_style(lit ? rgb(255, 250, 210) : rgb(226, 236, 244), lit ? rgb(255, 200, 80) : rgb(170, 196, 216));
    s.shadow = 2.0f;
    int line = font_line_height(SANS_BOLD, 20);
    draw_text(c, SANS_BOLD, 20, words().menu_items[i], x + BUTTON_W / 2.0f, y + (BUTTON_H - line) / 2.0f, s, ALIGN_CENTRE);
}

Canvas menu_background()
{
    Canvas c = ocean_backdrop(7, rgb(30, 120, 160), rgb(2, 10, 28));
    tentacles(c, 3, rgb(10, 18, 30), 200);
    Canvas sub = render_sub_picture(200.0f, 2.6f, 180);
    paste(c, sub, 24, 230);
    logo(c, W / 2.0f, 28, 76);
    TextStyle s = body_style();
    s.top = rgb(160, 220, 240);
    s.bottom = rgb(120, 190, 220);
    draw_text(c, SERIF_BOLD, 16, words().subtitle, W / 2.0f, 132, s, ALIGN_CENTRE);
    TextStyle small = body_style();
    small.top = small.bottom = rgb(110, 150, 180);
    draw_text(c, SANS, 11, "© Tarvik software", W - 12.0f, H - 20.0f, small, ALIGN_RIGHT);
    return c;
}

// --- Help ---------------------------------------------------------------------

Canvas help_picture()
{
    Canvas c = ocean_backdrop(11, rgb(20, 80, 120), rgb(2, 8, 22));
    draw_text(c, SERIF_BOLD, 34, words().help_title, W / 2.0f, 10, heading_style(rgb(255, 240, 190), rgb(230, 160, 60)), ALIGN_CENTRE);
    frame_box(c, 18, 58, 604, 390, rgb(110, 170, 210), 0.72f);
    TextStyle s = body_style();
    TextStyle key = heading_style(rgb(255, 230, 140), rgb(240, 180, 70));
    key.outline = 1.2f;
    key.shadow = 1.0f;
    float y = 70;
    for (const HelpLine& l : words().help) {
        draw_text(c, SANS_BOLD, 15, l.key, 34, y, key);
        y = draw_paragraph(c, SANS, 14, l.text, 112, y + 1, 494, 18, s) + 7;
    }
    const char* bonus_names[WORD_BONUSES] = {"dostrel", "rychlopalba", "trojstrel", "oprava", "motor"};
    for (int i = 0; i < WORD_BONUSES; i++) {
        float x = 112 + i * 100.0f;
        paste(c, bonus_icon(bonus_names[i]), (int)x, (int)y);
        draw_paragraph(c, SANS, 11, words().bonus_effects[i], x + 29, y + 1, 66, 13, s);
    }
    y += 40;
    draw_text(c, SANS_BOLD, 15, "P", 34, y, key);
    draw_text(c, SANS, 14, words().pause_key_text, 112, y + 1, s);
    draw_text(c, SANS_BOLD, 15, "ESC", 250, y, key);
    draw_text(c, SANS, 14, words().escape_key_text, 300, y + 1, s);
    press_any_key(c, 455);
    return c;
}

// --- High scores, level code, name entry -------------------------------------------

Canvas topten_picture()
{
    Canvas c = ocean_backdrop(13, rgb(24, 90, 130), rgb(2, 8, 24));
    draw_text(c, SERIF_BOLD, 34, words().table_title, W / 2.0f, 22, heading_style(rgb(255, 240, 190), rgb(230, 160, 60)), ALIGN_CENTRE);
    frame_box(c, 80, 92, 480, 340, rgb(110, 170, 210), 0.75f);
    TextStyle head = heading_style(rgb(150, 210, 240), rgb(110, 170, 210));
    head.outline = 1.0f;
    head.shadow = 1.0f;
    draw_text(c, CONDENSED_BOLD, 13, words().table_name, TABLE_X, 100, head);
    draw_text(c, CONDENSED_BOLD, 13, words().table_score, W / 2.0f + 40, 100, head, ALIGN_CENTRE);
    // Right-aligned over the level numbers, inside the table's frame.
    draw_text(c, CONDENSED_BOLD, 13, words().table_level, W - 10.0f - TABLE_X + 30, 100, head, ALIGN_RIGHT);
    for (int i = 0; i < 10; i++) {
        float y = TABLE_Y + i * TABLE_STEP - 2.0f;
        if (i % 2 == 0) fill_box(c, 90, y, 460, TABLE_STEP - 2.0f, 4, rgba(60, 120, 170, 0.22f));
        TextStyle rank = body_style();
        rank.top = rank.bottom = rgb(120, 160, 190);
        char text[8];
        snprintf(text, sizeof text, "%d.", i + 1);
        draw_text(c, SANS_BOLD, 12, text, TABLE_X - 6.0f, y + 7, rank, ALIGN_RIGHT);
    }
    press_any_key(c, 448);
    return c;
}

Canvas code_picture()
{
    Canvas c = ocean_backdrop(17, rgb(26, 100, 140), rgb(2, 8, 24));
    tentacles(c, 9, rgb(8, 14, 26), 140);
    draw_text(c, SERIF_BOLD, 36, words().code_title, W / 2.0f, 90, heading_style(rgb(255, 240, 190), rgb(230, 160, 60)), ALIGN_CENTRE);
    draw_paragraph(c, SANS, 15, words().code_prompt, 150, 160, 340, 20, body_style());
    input_box(c, CODE_X, CODE_Y, CODE_W);
    TextStyle hint = body_style();
    hint.top = hint.bottom = rgb(130, 170, 200);
    draw_text(c, SANS, 12, words().code_hint, W / 2.0f, 300, hint, ALIGN_CENTRE);
    return c;
}

Canvas name_picture()
{
    Canvas c = ocean_backdrop(19, rgb(30, 110, 150), rgb(2, 8, 24));
    logo(c, W / 2.0f, 40, 48);
    draw_text(c, SERIF_BOLD, 38, words().record_title, W / 2.0f, 110, heading_style(rgb(255, 250, 210), rgb(250, 190, 60)), ALIGN_CENTRE);
    draw_text(c, SANS, 16, words().record_line1, W / 2.0f, 170, body_style(), ALIGN_CENTRE);
    draw_text(c, SANS, 16, words().record_line2, W / 2.0f, 196, body_style(), ALIGN_CENTRE);
    input_box(c, NAME_X, NAME_Y, 8 * font_h());
    return c;
}

Canvas loading_picture()
{
    Canvas c(360, 110);
    fill_box(c, 0.5f, 0.5f, 359, 109, 12, rgba(110, 170, 210));
    fill_box(c, 2.5f, 2.5f, 355, 105, 10, rgba(8, 22, 40));
    TextStyle s = heading_style(rgb(255, 240, 190), rgb(230, 160, 60));
    s.shadow = 2.0f;
    draw_text(c, SERIF_BOLD, 24, words().loading, 180, 16, s, ALIGN_CENTRE);
    fill_box(c, 17, 63, 326, 24, 6, rgba(100, 140, 170));
    fill_box(c, 19, 65, 322, 20, 5, rgba(4, 10, 18));
    return c;
}

Canvas loading_bar()
{
    Canvas c(320, 18);
    fill_shape(c, 0, 0, 320, 18, [](float x, float y) { return sd_box(x, y, 160, 9, 160, 9, 5); },
               [](float, float y) {
                   float t = y / 18.0f;
                   return with_alpha(mix(rgb(160, 250, 255), rgb(20, 120, 200), t), 1.0f);
               });
    fill_box(c, 4, 3, 312, 4, 2, rgba(255, 255, 255, 0.45f));
    return c;
}

// --- Intro ------------------------------------------------------------------------

Canvas intro_studio()
{
    Canvas c(W, H, rgba(2, 6, 16));
    for (int i = 0; i < 5; i++) {
        float y = 250 + i * 9.0f;
        Canvas wave(W, H);
        fill_shape(wave, 150, y - 10, 490, y + 10,
                   [&](float x, float py) { return fabsf(py - (y + sinf_d((x - 150) / 340.0f * 12.566f + i) * 5.0f)) - 1.6f; },
                   [&](float x, float) { return with_alpha(mix(rgb(40, 160, 220), rgb(120, 230, 255), (x - 150) / 340.0f), 1.0f - i * 0.16f); });
        paste(c, wave, 0, 0);
    }
    TextStyle s = heading_style(rgb(240, 250, 255), rgb(140, 210, 240));
    s.glow = rgb(60, 160, 255);
    s.glow_alpha = 0.5f;
    draw_text(c, SANS_BOLD, 40, "TARVIK SOFTWARE", W / 2.0f, 170, s, ALIGN_CENTRE);
    TextStyle small = body_style();
    small.top = small.bottom = rgb(140, 180, 210);
    draw_text(c, SERIF_BOLD, 20, words().presents, W / 2.0f, 310, small, ALIGN_CENTRE);
    return c;
}

Canvas intro_story(int part)
{
    Canvas c = part == 0 ? ocean_backdrop(23, rgb(16, 40, 80), rgb(0, 2, 10)) : ocean_backdrop(29, rgb(30, 70, 110), rgb(2, 4, 14));
    if (part == 0) {
        fill_circle(c, 520, 70, 34, rgba(240, 240, 220, 0.9f));
        fill_circle(c, 508, 62, 8, rgba(210, 210, 190, 0.8f));
        Canvas sub = render_sub_picture(180.0f, 2.2f, 150);
        paste(c, sub, 245, 110);
        tentacles(c, 41, rgb(6, 10, 20), 300);
        draw_paragraph(c, SERIF_BOLD, 20, words().story[0], 60, 380, 520, 28,
                       heading_style(rgb(240, 240, 230), rgb(200, 210, 220)));
    } else {
        tentacles(c, 57, rgb(60, 20, 50), 420);
        Canvas sub = render_sub_picture(330.0f, 2.8f, 200);
        paste(c, sub, 220, 90);
        PlaneModel plane(false);
        View v;
        v.size = 160;
        v.heading = 200.0f;
        v.zoom = 2.2f;
        v.samples = 3;
        paste(c, render_model(plane, v), 430, 10);
        draw_paragraph(c, SERIF_BOLD, 20, words().story[1], 60, 380, 520, 28,
                       heading_style(rgb(255, 240, 200), rgb(240, 190, 110)));
    }
    return c;
}

Canvas intro_title()
{
    Canvas c = ocean_backdrop(31, rgb(36, 140, 180), rgb(2, 10, 30));
    tentacles(c, 77, rgb(12, 20, 34), 260);
    logo(c, W / 2.0f, 150, 96);
    TextStyle s = body_style();
    s.top = rgb(180, 230, 250);
    s.bottom = rgb(140, 200, 230);
    draw_text(c, SERIF_BOLD, 22, words().subtitle, W / 2.0f, 270, s, ALIGN_CENTRE);
    return c;
}

// --- Screens between and inside levels ------------------------------------------------

Canvas message_box(int w, int h, const char* title, Rgb top, Rgb bottom, const char* line)
{
    Canvas c(w, h);
    fill_box(c, 0.5f, 0.5f, w - 1.0f, h - 1.0f, 14, rgba(150, 200, 230));
    fill_shape(c, 0, 0, (float)w, (float)h, [&](float x, float y) { return sd_box(x, y, w / 2.0f, h / 2.0f, w / 2.0f - 3, h / 2.0f - 3, 11); },
               [&](float, float y) { return with_alpha(mix(rgb(20, 50, 84), rgb(6, 14, 30), y / h), 1.0f); });
    // A title too long for the box is set smaller.
    int size = 36;
    while (size > 18 && text_width(SERIF_BOLD, size, title) > w - 8) size--;
    int line_h = font_line_height(SERIF_BOLD, size);
    draw_text(c, SERIF_BOLD, size, title, w / 2.0f, h * 0.42f - line_h / 2.0f, heading_style(top, bottom), ALIGN_CENTRE);
    TextStyle s = body_style();
    s.top = s.bottom = rgb(150, 200, 230);
    draw_text(c, SANS, 14, line, w / 2.0f, h - 34.0f, s, ALIGN_CENTRE);
    return c;
}

struct Kind {
    std::string bitmap;
    int count;
};

// Reads the creature kinds of a level: each section's picture and count.
std::vector<Kind> read_kinds(const std::string& path)
{
    std::vector<Kind> kinds;
    std::ifstream in(path);
    std::string word;
    while (in >> word) {
        if (word.find("[*") != std::string::npos) kinds.push_back(Kind{"", 0});
        if (kinds.empty()) continue;
        if (word == "bitmap") in >> kinds.back().bitmap;
        if (word == "pocet") in >> kinds.back().count;
    }
    if (kinds.empty()) {
        fprintf(stderr, "mediagen: no creatures found in %s\n", path.c_str());
        exit(1);
    }
    return kinds;
}

Canvas announcement(int level, const std::vector<Kind>& kinds)
{
    Canvas c(ANNOUNCE_W, ANNOUNCE_H);
    fill_box(c, 0.5f, 0.5f, ANNOUNCE_W - 1.0f, ANNOUNCE_H - 1.0f, 16, rgba(150, 200, 230));
    fill_shape(c, 0, 0, ANNOUNCE_W, ANNOUNCE_H,
               [&](float x, float y) { return sd_box(x, y, ANNOUNCE_W / 2.0f, ANNOUNCE_H / 2.0f, ANNOUNCE_W / 2.0f - 3, ANNOUNCE_H / 2.0f - 3, 13); },
               [&](float, float y) { return with_alpha(mix(rgb(24, 60, 96), rgb(4, 12, 28), y / ANNOUNCE_H), 1.0f); });
    char title[32];
    snprintf(title, sizeof title, words().level_number, level + 1);
    draw_text(c, SERIF_BOLD, 34, title, ANNOUNCE_W / 2.0f, 14, heading_style(rgb(255, 240, 190), rgb(230, 160, 60)), ALIGN_CENTRE);
    TextStyle name = heading_style(rgb(170, 230, 250), rgb(110, 190, 230));
    name.outline = 1.2f;
    draw_text(c, SANS_BOLD, 20, words().level_names[level], ANNOUNCE_W / 2.0f, 62, name, ALIGN_CENTRE);
    TextStyle s = body_style();
    draw_text(c, SANS, 14, words().level_mottos[level], ANNOUNCE_W / 2.0f, 92, s, ALIGN_CENTRE);
    draw_text(c, SANS_BOLD, 14, words().destroy, 40, 136, s);
    // The creatures follow the word, however long.
    float x = std::max(100.0f, 50.0f + text_width(SANS_BOLD, 14, words().destroy));
    for (const Kind& k : kinds) {
        std::string base = k.bitmap.substr(k.bitmap.rfind('/') + 1);
        base = base.substr(0, base.find('.'));
        paste(c, creature_icon(base), (int)x, 130);
        char count[16];
        snprintf(count, sizeof count, "× %d", k.count);
        draw_text(c, SANS_BOLD, 15, count, x + 30, 134, s);
        x += 74;
    }
    draw_text(c, SANS, 13, words().escape_costs, 40, 176, s);
    TextStyle label = heading_style(rgb(220, 236, 246), rgb(180, 210, 230));
    label.outline = 1.0f;
    label.shadow = 1.0f;
    draw_text(c, SANS_BOLD, 16, words().level_code, 40, ANNOUNCE_CODE_Y + 2.0f, label);
    fill_box(c, ANNOUNCE_CODE_X - 10.0f, ANNOUNCE_CODE_Y - 6.0f, 260, font_h() + 10.0f, 6, rgba(120, 160, 190));
    fill_box(c, ANNOUNCE_CODE_X - 8.0f, ANNOUNCE_CODE_Y - 4.0f, 256, font_h() + 6.0f, 5, rgba(4, 10, 20));
    TextStyle hint = body_style();
    hint.top = hint.bottom = rgb(130, 180, 210);
    draw_text(c, SANS, 13, words().press_any_key, ANNOUNCE_W / 2.0f, ANNOUNCE_H - 30.0f, hint, ALIGN_CENTRE);
    return c;
}

}  // namespace

void make_menus()
{
    Canvas plain = menu_background();
    Canvas lit = plain;
    for (int i = 0; i < 5; i++) {
        button(plain, i, false);
        button(lit, i, true);
    }
    save_opaque("GFX/menu/main1.bmp", plain, true);
    save_opaque("GFX/menu/main2.bmp", lit, true);
    save_opaque("GFX/menu/napoveda.bmp", help_picture(), true);
    save_opaque("GFX/menu/nejlepsi.bmp", topten_picture(), true);
    save_opaque("GFX/menu/kod.bmp", code_picture(), true);
    save_opaque("GFX/menu/rekord.bmp", name_picture(), true);
    save_keyed("GFX/menu/nahravani.bmp", loading_picture());
}

void make_loading_bar()
{
    save_keyed("GFX/menu/nahravani_pruh.bmp", loading_bar());
}

void make_intro()
{
    save_opaque("GFX/intro/uvod1.bmp", intro_studio(), true);
    save_opaque("GFX/intro/uvod2.bmp", intro_story(0), true);
    save_opaque("GFX/intro/uvod3.bmp", intro_story(1), true);
    save_opaque("GFX/intro/uvod4.bmp", intro_title(), true);
}

void make_screens(const std::string& scripts_dir)
{
    const Words& w = words();
    save_keyed("GFX/screens/hotovo.bmp", message_box(420, 160, w.level_completed, rgb(220, 255, 200), rgb(110, 220, 110), w.press_any_key));
    save_keyed("GFX/screens/konec.bmp", message_box(420, 160, w.game_over, rgb(255, 210, 190), rgb(230, 70, 50), w.press_any_key));
    save_keyed("GFX/screens/pauza.bmp", message_box(300, 120, w.paused, rgb(255, 240, 190), rgb(230, 160, 60), w.pause_hint));
    for (int level = 0; level < WORD_LEVELS; level++) {
        char path[64], script[64];
        snprintf(path, sizeof path, "GFX/LEVEL%d/uvod.bmp", level + 1);
        snprintf(script, sizeof script, "/LEVEL%d/potvory.scr", level + 1);
        save_keyed(path, announcement(level, read_kinds(scripts_dir + script)));
    }
}
