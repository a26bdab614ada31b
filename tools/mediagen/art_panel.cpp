// The instrument panel along the top of the screen, the bonus buoys and the
// weapon cards shown in the panel's top-right corner.

#include <stdio.h>

#include <string>

#include "art.h"
#include "output.h"
#include "text.h"
#include "words.h"

namespace {

const int SS = 3;

// A bevelled steel plate.
void plate(Canvas& c, float x, float y, float w, float h, float r, Rgb top, Rgb bottom, Rgb edge)
{
    fill_box(c, x, y, w, h, r, with_alpha(edge, 1.0f));
    fill_shape(c, x, y, x + w, y + h, [&](float px, float py) { return sd_box(px, py, x + w / 2, y + h / 2, w / 2 - 1.5f, h / 2 - 1.5f, std::max(0.0f, r - 1.5f)); },
               [&](float, float py) { return with_alpha(mix(top, bottom, (py - y) / h), 1.0f); });
}

void rivet(Canvas& c, float x, float y, float r)
{
    fill_circle(c, x + 0.5f, y + 0.5f, r, rgba(20, 24, 30));
    fill_circle(c, x, y, r, rgba(150, 160, 170));
    fill_circle(c, x - r * 0.3f, y - r * 0.3f, r * 0.4f, rgba(230, 236, 240));
}

TextStyle engraved(Rgb colour)
{
    TextStyle s;
    s.top = colour;
    s.bottom = scale(colour, 0.8f);
    s.shadow = 1.0f;
    s.shadow_alpha = 0.8f;
    s.shadow_blur = 0;
    return s;
}

// A strip of the ten digits, each centred in a frame of fw x fh.
Canvas digit_strip(int fw, int fh, FontFace face, int size, Rgb top, Rgb bottom, Rgb outline)
{
    Canvas strip(fw * 10, fh);
    TextStyle s;
    s.top = top;
    s.bottom = bottom;
    s.outline = 1.2f;
    s.outline_colour = outline;
    s.glow = top;
    s.glow_alpha = 0.0f;
    int line = font_line_height(face, size);
    for (int d = 0; d < 10; d++) {
        char text[2] = {(char)('0' + d), 0};
        draw_text(strip, face, size, text, d * fw + fw / 2.0f, (fh - line) / 2.0f, s, ALIGN_CENTRE);
    }
    return strip;
}

Canvas life_bar(bool wrecked)
{
    Canvas big(16 * SS, 32 * SS);
    if (wrecked) {
        fill_box(big, 0.5f * SS, 0.5f * SS, 15 * SS, 31 * SS, 3 * SS, rgba(30, 30, 34));
        fill_box(big, 2 * SS, 2 * SS, 12 * SS, 28 * SS, 2 * SS, rgba(70, 60, 60));
        draw_line(big, 3 * SS, 5 * SS, 13 * SS, 27 * SS, 2.5f * SS, rgba(230, 50, 40));
        draw_line(big, 13 * SS, 5 * SS, 3 * SS, 27 * SS, 2.5f * SS, rgba(230, 50, 40));
    } else {
        fill_shape(big, 0, 0, big.w, big.h, [&](float x, float y) { return sd_box(x, y, 8 * SS, 16 * SS, 7.5f * SS, 15.5f * SS, 3 * SS); },
                   [&](float x, float y) {
                       float t = y / big.h;
                       Rgb c = t < 0.5f ? mix(rgb(90, 240, 110), rgb(240, 230, 70), t * 2) : mix(rgb(240, 230, 70), rgb(240, 70, 50), t * 2 - 1);
                       float shine = 1.0f - fabsf(x / big.w - 0.35f) * 1.6f;
                       return with_alpha(mix(c, rgb(255, 255, 255), clampf(shine, 0, 1) * 0.35f), 1.0f);
                   });
        for (int k = 1; k < 8; k++) draw_line(big, 2 * SS, k * 4 * SS, 14 * SS, k * 4 * SS, 0.6f * SS, rgba(30, 60, 40, 0.8f));
    }
    return downsample(big, SS);
}

Canvas thermometer()
{
    Canvas big(20 * SS, 36 * SS);
    fill_box(big, 5 * SS, 0.5f * SS, 10 * SS, 30 * SS, 5 * SS, rgba(200, 210, 220));
    fill_circle(big, 10 * SS, 29 * SS, 6.5f * SS, rgba(200, 210, 220));
    fill_box(big, 6.5f * SS, 2 * SS, 7 * SS, 28 * SS, 3.5f * SS, rgba(24, 28, 36));
    fill_circle(big, 10 * SS, 29 * SS, 5 * SS, rgba(200, 40, 30));
    fill_circle(big, 8.6f * SS, 27.6f * SS, 1.6f * SS, rgba(255, 160, 140));
    for (int k = 0; k < 6; k++) draw_line(big, 15 * SS, (4 + k * 4) * SS, 18 * SS, (4 + k * 4) * SS, 0.8f * SS, rgba(220, 230, 240));
    return downsample(big, SS);
}

Canvas heat_fill()
{
    Canvas c(5, 26);
    for (int y = 1; y < 26; y++) {
        for (int x = 0; x < 5; x++) {
            Rgb col = mix(rgb(255, 230, 80), rgb(230, 40, 24), (float)y / 25);
            if (x == 1) col = mix(col, rgb(255, 255, 255), 0.4f);
            c.at(x, y) = with_alpha(col, 1.0f);
        }
    }
    for (int x = 1; x < 5; x++) c.at(x, 0) = with_alpha(rgb(255, 230, 80), 1.0f);
    return c;
}

Canvas lamp()
{
    Canvas big(16 * SS, 16 * SS);
    fill_circle(big, 8 * SS, 8 * SS, 7.5f * SS, rgba(40, 120, 40));
    fill_shape(big, 0, 0, big.w, big.h, [&](float x, float y) { return sd_circle(x, y, 8 * SS, 8 * SS, 6 * SS); },
               [&](float x, float y) {
                   float d = hypotf_d(x - 6.5f * SS, y - 6.5f * SS) / (7 * SS);
                   return with_alpha(mix(rgb(230, 255, 200), rgb(60, 220, 60), clampf(d, 0, 1)), 1.0f);
               });
    return downsample(big, SS);
}

// A small plane seen from above, for the remaining air strikes.
Canvas strike_icon(Rgb colour)
{
    Canvas big(20 * SS, 14 * SS);
    float cx = 10 * SS, cy = 7 * SS;
    fill_box(big, cx - 1.5f * SS, 1 * SS, 3 * SS, 12 * SS, 1.5f * SS, with_alpha(colour, 1.0f));
    fill_polygon(big, {cx - 9 * SS, cy + 0.5f * SS, cx + 9 * SS, cy + 0.5f * SS, cx + 8 * SS, cy - 2 * SS, cx - 8 * SS, cy - 2 * SS}, with_alpha(colour, 1.0f));
    fill_polygon(big, {cx - 4 * SS, 12.5f * SS, cx + 4 * SS, 12.5f * SS, cx + 3.5f * SS, 11 * SS, cx - 3.5f * SS, 11 * SS}, with_alpha(colour, 1.0f));
    fill_circle(big, cx, 3.5f * SS, 1.2f * SS, rgba(60, 100, 160));
    return downsample(big, SS);
}

Canvas tally(int w, int bar_w, int bar_h, Rgb colour)
{
    Canvas big(w * SS, 26 * SS);
    float x = (w - bar_w) / 2.0f * SS, y = (26 - bar_h) / 2.0f * SS;
    fill_box(big, x - 0.8f * SS, y - 0.8f * SS, (bar_w + 1.6f) * SS, (bar_h + 1.6f) * SS, 1.5f * SS, rgba(10, 20, 30));
    fill_box(big, x, y, bar_w * (float)SS, bar_h * (float)SS, 1.0f * SS, with_alpha(colour, 1.0f));
    fill_box(big, x + 0.6f * SS, y + 0.6f * SS, bar_w * 0.35f * SS, (bar_h - 1.2f) * SS, 0.5f * SS, rgba(255, 255, 255, 0.6f));
    return downsample(big, SS);
}

// The mark for ten creatures: a badge reading "10", so that it cannot be
// taken for a single unit's bar.
Canvas tally_ten()
{
    Canvas c(15, 26);
    fill_box(c, 0.5f, 5.5f, 14, 15, 3, rgba(10, 20, 30));
    fill_box(c, 1.5f, 6.5f, 12, 13, 2.5f, rgba(250, 200, 70));
    TextStyle s;
    s.top = s.bottom = rgb(40, 22, 0);
    draw_text(c, CONDENSED_BOLD, 10, "10", 7.5f, 13.0f - font_line_height(CONDENSED_BOLD, 10) / 2.0f, s, ALIGN_CENTRE);
    return c;
}

Canvas panel_background(int level)
{
    Canvas c(640, 56);
    // The bar along the top, and the bay of the weapon card at the right.
    plate(c, 0, 0, 546, 48, 6, rgb(74, 86, 98), rgb(36, 42, 52), rgb(14, 16, 20));
    plate(c, 536, 0, 104, 56, 6, rgb(60, 70, 82), rgb(30, 36, 44), rgb(14, 16, 20));
    fill_box(c, 543, 0, 97, 49, 0, rgba(10, 14, 20));
    for (int x : {8, 180, 520}) {
        rivet(c, (float)x, 40, 2.0f);
    }
    TextStyle label = engraved(rgb(196, 210, 222));
    const Words& w = words();
    draw_text(c, CONDENSED_BOLD, 9, w.panel_hull, 18, 0, label, ALIGN_CENTRE);
    draw_text(c, CONDENSED_BOLD, 9, w.panel_heat, 48, 0, label, ALIGN_CENTRE);
    draw_text(c, CONDENSED_BOLD, 9, w.panel_fire, 76, 0, label, ALIGN_CENTRE);
    draw_text(c, CONDENSED_BOLD, 9, w.panel_strikes, 127, 0, label, ALIGN_CENTRE);
    draw_text(c, CONDENSED_BOLD, 9, w.panel_score, 330, -1, label, ALIGN_CENTRE);
    draw_text(c, CONDENSED_BOLD, 9, w.panel_weapon, 590, 46, label, ALIGN_CENTRE);
    // Sockets under the gauges and the lamp, seen when they are empty.
    fill_box(c, 9, 11, 18, 34, 3, rgba(12, 16, 20));
    fill_box(c, 67, 19, 18, 18, 9, rgba(14, 30, 16));
    fill_circle(c, 76, 28, 6, rgba(24, 60, 28));
    for (int i = 0; i < 3; i++) fill_box(c, 96.5f + i * 21, 21.5f, 19, 13, 2, rgba(28, 34, 42));
    fill_box(c, 248, 9, 164, 36, 5, rgba(8, 10, 14));
    draw_text(c, SERIF_BOLD, 14, "ABYSSOR", 206, 14, engraved(rgb(226, 196, 110)), ALIGN_CENTRE);
    // The level's number and name engraved between the score and the bay.
    TextStyle title = engraved(rgb(150, 190, 210));
    char number[32];
    snprintf(number, sizeof number, w.level_number, level + 1);
    draw_text(c, CONDENSED_BOLD, 11, number, 474, 8, title, ALIGN_CENTRE);
    draw_text(c, CONDENSED_BOLD, 11, w.level_names[level], 474, 23, title, ALIGN_CENTRE);
    return c;
}

Canvas score_frame()
{
    Canvas c(164, 36);
    fill_box(c, 0.5f, 0.5f, 163, 35, 5, rgba(110, 124, 136));
    fill_box(c, 2, 2, 160, 32, 4, rgba(16, 22, 18));
    for (int y = 4; y < 32; y += 3) draw_line(c, 6, (float)y, 158, (float)y, 0.6f, rgba(30, 44, 34));
    return c;
}

}  // namespace

void make_panel_plates()
{
    for (int level = 0; level < WORD_LEVELS; level++) {
        char path[64];
        snprintf(path, sizeof path, "GFX/LEVEL%d/panel.bmp", level + 1);
        Canvas bg = panel_background(level);
        save_keyed(path, bg);
    }
}

void make_panel()
{
    save_keyed("GFX/panel/teplomer.bmp", thermometer());
    save_keyed("GFX/panel/skore.bmp", score_frame());
    save_keyed("GFX/panel/teplota.bmp", heat_fill());
    save_keyed("GFX/panel/kontrolka.bmp", lamp());
    save_keyed("GFX/panel/trup.bmp", life_bar(false));
    save_keyed("GFX/panel/vrak.bmp", life_bar(true));
    save_keyed("GFX/panel/letadlo.bmp", strike_icon(rgb(250, 210, 70)));
    save_keyed("GFX/panel/cislice.bmp", digit_strip(15, 26, MONO_BOLD, 22, rgb(140, 255, 150), rgb(40, 200, 80), rgb(0, 40, 10)));
    save_keyed("GFX/panel/cislice_male.bmp", digit_strip(9, 26, MONO_BOLD, 13, rgb(255, 255, 255), rgb(160, 230, 255), rgb(0, 20, 40)));
    save_keyed("GFX/panel/carka.bmp", tally(5, 3, 14, rgb(120, 230, 250)));
    save_keyed("GFX/panel/desitka.bmp", tally_ten());
}

// --- Bonuses ------------------------------------------------------------------

namespace {

struct BonusArt {
    const char* name;
    Rgb colour;
};

const BonusArt BONUSES[] = {{"dostrel", {0.25f, 0.55f, 1.0f}}, {"rychlopalba", {1.0f, 0.8f, 0.15f}},
                            {"trojstrel", {1.0f, 0.5f, 0.15f}}, {"oprava", {0.3f, 0.85f, 0.35f}},
                            {"motor", {0.2f, 0.85f, 0.9f}}};

void bonus_symbol(Canvas& big, const std::string& name, float c, float u)
{
    Rgba white = rgba(255, 255, 255);
    if (name == "dostrel") {
        draw_ring(big, c, c, 4.5f * u, 4.5f * u, 1.4f * u, white);
        for (int i = 0; i < 4; i++) {
            float a = i * 1.5708f;
            draw_line(big, c + cosf_d(a) * 6 * u, c + sinf_d(a) * 6 * u, c + cosf_d(a) * 8.5f * u, c + sinf_d(a) * 8.5f * u, 1.6f * u, white);
        }
        fill_circle(big, c, c, 1.3f * u, white);
    } else if (name == "rychlopalba") {
        fill_polygon(big, {c + 1.5f * u, c - 8 * u, c - 4.5f * u, c + 1 * u, c - 0.5f * u, c + 1 * u, c - 2 * u, c + 8 * u,
                           c + 4.5f * u, c - 1.5f * u, c + 0.5f * u, c - 1.5f * u},
                     white);
    } else if (name == "trojstrel") {
        for (int i = -1; i <= 1; i++) {
            float a = -1.5708f + i * 0.55f;
            float ex = c + cosf_d(a) * 7.5f * u, ey = c + 4 * u + sinf_d(a) * 7.5f * u;
            draw_line(big, c, c + 4 * u, ex, ey, 1.4f * u, white);
            fill_circle(big, ex, ey, 1.9f * u, white);
        }
    } else if (name == "oprava") {
        fill_box(big, c - 1.8f * u, c - 6.5f * u, 3.6f * u, 13 * u, 0.6f * u, white);
        fill_box(big, c - 6.5f * u, c - 1.8f * u, 13 * u, 3.6f * u, 0.6f * u, white);
    } else {
        for (int i = 0; i < 2; i++) {
            float x = c - 4 * u + i * 5 * u;
            draw_line(big, x, c - 5 * u, x + 4 * u, c, 2.0f * u, white);
            draw_line(big, x + 4 * u, c, x, c + 5 * u, 2.0f * u, white);
        }
    }
}

}  // namespace

Canvas bonus_icon(const std::string& name)
{
    const float u = SS;
    Canvas big(26 * SS, 26 * SS);
    Rgb colour = rgb(200, 200, 200);
    for (const BonusArt& b : BONUSES) {
        if (name == b.name) colour = b.colour;
    }
    float c = 13 * u;
    fill_circle(big, c, c, 12.5f * u, rgba(16, 20, 28));
    fill_shape(big, 0, 0, big.w, big.h, [&](float x, float y) { return sd_circle(x, y, c, c, 11.2f * u); },
               [&](float x, float y) {
                   float d = hypotf_d(x - c + 3 * u, y - c + 3 * u) / (14 * u);
                   return with_alpha(mix(mix(colour, rgb(255, 255, 255), 0.45f), scale(colour, 0.55f), clampf(d, 0, 1)), 1.0f);
               });
    draw_ring(big, c, c, 9.6f * u, 9.6f * u, 1.0f * u, rgba(255, 255, 255, 0.7f));
    Canvas symbol_shadow(big.w, big.h);
    bonus_symbol(symbol_shadow, name, c + 0.8f * u, u);
    for (Rgba& p : symbol_shadow.px) p = Rgba{0, 0, 0, p.a * 0.6f};
    paste(big, symbol_shadow, 0, 0);
    bonus_symbol(big, name, c, u);
    return downsample(big, SS);
}

void make_bonuses()
{
    for (const BonusArt& b : BONUSES) save_keyed(std::string("GFX/bonus/") + b.name + ".bmp", bonus_icon(b.name));
}

// --- Weapon cards -------------------------------------------------------------

namespace {

void card_base(Canvas& c, const char* name, Rgb accent)
{
    plate(c, 0, 0, 96, 48, 6, rgb(58, 68, 82), rgb(26, 30, 38), rgb(8, 10, 12));
    fill_box(c, 4, 35, 88, 11, 3, with_alpha(scale(accent, 0.35f), 1.0f));
    TextStyle s = engraved(mix(accent, rgb(255, 255, 255), 0.5f));
    draw_text(c, CONDENSED_BOLD, 10, name, 48, 34, s, ALIGN_CENTRE);
}

Canvas card_cannon()
{
    Canvas c(96, 48);
    card_base(c, words().cannon, rgb(90, 220, 120));
    fill_box(c, 20, 18, 52, 7, 3, rgba(160, 170, 180));
    fill_box(c, 20, 18, 52, 3, 2, rgba(220, 226, 232));
    fill_box(c, 12, 14, 18, 15, 4, rgba(90, 100, 112));
    fill_box(c, 70, 16.5f, 6, 10, 1.5f, rgba(120, 130, 140));
    fill_circle(c, 82, 21.5f, 3.2f, rgba(255, 200, 70));
    fill_circle(c, 82, 21.5f, 1.6f, rgba(255, 255, 220));
    return c;
}

Canvas card_mortar()
{
    Canvas c(96, 48);
    card_base(c, words().mortar, rgb(250, 180, 60));
    fill_polygon(c, {30, 30, 40, 30, 62, 8, 54, 4}, rgba(150, 160, 170));
    fill_polygon(c, {30, 30, 36, 30, 58, 6, 54, 4}, rgba(210, 216, 222));
    fill_box(c, 20, 28, 34, 5, 2, rgba(90, 100, 112));
    fill_circle(c, 72, 12, 5, rgba(60, 66, 76));
    fill_circle(c, 70.5f, 10.5f, 1.8f, rgba(200, 206, 214));
    draw_line(c, 62, 16, 67, 14, 1.2f, rgba(250, 200, 90, 0.8f));
    return c;
}

Canvas card_rockets()
{
    Canvas c(96, 48);
    card_base(c, words().rockets, rgb(250, 90, 70));
    for (int i = 0; i < 3; i++) {
        float y = 9 + i * 8.0f, x = 22 + (i == 1 ? 10 : 0);
        fill_box(c, x, y - 2, 34, 4.5f, 2, rgba(226, 226, 218));
        fill_polygon(c, {x + 34, y - 2, x + 34, y + 2.5f, x + 41, y + 0.25f}, rgba(214, 40, 36));
        fill_polygon(c, {x, y - 4, x + 6, y - 2, x, y - 2}, rgba(90, 96, 104));
        fill_polygon(c, {x, y + 4.5f, x + 6, y + 2.5f, x, y + 2.5f}, rgba(90, 96, 104));
        fill_ellipse(c, x - 4, y + 0.25f, 4, 1.8f, rgba(255, 180, 60));
    }
    return c;
}

Canvas card_bomb(const char* name, bool heavy)
{
    Canvas c(96, 48);
    card_base(c, name, heavy ? rgb(120, 160, 255) : rgb(180, 190, 120));
    Rgba body = heavy ? rgba(196, 200, 206) : rgba(90, 100, 72);
    fill_ellipse(c, 48, 17, 20, 8, body);
    fill_polygon(c, {24, 17, 30, 9, 30, 25}, body);
    fill_box(c, 20, 8, 6, 18, 1, heavy ? rgba(150, 156, 164) : rgba(60, 66, 50));
    fill_box(c, 54, 9.5f, 4, 15, 1, heavy ? rgba(40, 80, 190) : rgba(228, 196, 40));
    if (heavy) fill_ellipse(c, 66, 17, 3, 6, rgba(210, 40, 36));
    fill_ellipse(c, 44, 13, 9, 2, rgba(255, 255, 255, 0.35f));
    return c;
}

Canvas card_runner(const char* name, Rgb glow, Rgb core)
{
    Canvas c(96, 48);
    card_base(c, name, glow);
    for (int i = 0; i < 6; i++) fill_circle(c, 24 + i * 6.0f, 17, 1.5f + i * 0.7f, with_alpha(scale(glow, 0.5f + i * 0.1f), 1.0f));
    fill_circle(c, 64, 17, 8, with_alpha(glow, 1.0f));
    fill_circle(c, 64, 17, 4.5f, with_alpha(core, 1.0f));
    return c;
}

}  // namespace

void make_weapon_cards()
{
    save_keyed("GFX/weapons/kanon.bmp", card_cannon());
    save_keyed("GFX/weapons/minomet.bmp", card_mortar());
    save_keyed("GFX/weapons/rakety.bmp", card_rockets());
    const Words& w = words();
    save_keyed("GFX/weapons/puma.bmp", card_bomb(w.bomb, false));
    save_keyed("GFX/weapons/letecka_puma.bmp", card_bomb(w.air_bomb, true));
    save_keyed("GFX/weapons/zahavy.bmp", card_runner(w.sting, rgb(220, 90, 230), rgb(255, 230, 255)));
    save_keyed("GFX/weapons/inkoust.bmp", card_runner(w.ink, rgb(90, 70, 120), rgb(20, 10, 30)));
    save_keyed("GFX/weapons/vyboj.bmp", card_runner(w.shock, rgb(90, 220, 255), rgb(240, 255, 255)));
}
