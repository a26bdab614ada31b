#include "text.h"

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <stdio.h>
#include <stdlib.h>

#include <map>

namespace {

std::string font_dir;
std::map<std::pair<int, int>, TTF_Font*> open_fonts;

const char* face_file(FontFace face)
{
    switch (face) {
    case SANS: return "DejaVuSans.ttf";
    case SANS_BOLD: return "DejaVuSans-Bold.ttf";
    case SERIF_BOLD: return "DejaVuSerif-Bold.ttf";
    case CONDENSED_BOLD: return "DejaVuSansCondensed-Bold.ttf";
    case MONO_BOLD: return "DejaVuSansMono-Bold.ttf";
    }
    return "DejaVuSans.ttf";
}

TTF_Font* font(FontFace face, int size)
{
    auto key = std::make_pair((int)face, size);
    auto found = open_fonts.find(key);
    if (found != open_fonts.end()) return found->second;
    std::string path = font_dir + "/" + face_file(face);
    TTF_Font* f = TTF_OpenFont(path.c_str(), size);
    if (f == NULL) {
        fprintf(stderr, "mediagen: cannot open font %s: %s\n", path.c_str(), TTF_GetError());
        exit(1);
    }
    TTF_SetFontHinting(f, TTF_HINTING_LIGHT);
    open_fonts[key] = f;
    return f;
}

// Grows a mask by r pixels (a round maximum filter).
std::vector<float> dilate(const TextMask& m, int pad, float r)
{
    int w = m.w + 2 * pad, h = m.h + 2 * pad;
    std::vector<float> out((size_t)w * h, 0.0f);
    int ir = (int)ceilf(r);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            float best = 0;
            for (int dy = -ir; dy <= ir; dy++) {
                for (int dx = -ir; dx <= ir; dx++) {
                    float d = sqrtf((float)(dx * dx + dy * dy));
                    if (d > r + 0.5f) continue;
                    float weight = r > 0 ? clampf(r + 0.5f - d, 0.0f, 1.0f) : 1.0f;
                    float a = m.at(x - pad + dx, y - pad + dy) * weight;
                    best = std::max(best, a);
                }
            }
            out[(size_t)y * w + x] = best;
        }
    }
    return out;
}

Canvas layer(const std::vector<float>& mask, int w, int h, Rgb colour, float alpha)
{
    Canvas c(w, h);
    for (size_t i = 0; i < mask.size(); i++) c.px[i] = with_alpha(colour, mask[i] * alpha);
    return c;
}

}  // namespace

void text_init(const std::string& dir)
{
    font_dir = dir;
    if (TTF_Init() != 0) {
        fprintf(stderr, "mediagen: cannot start the font library: %s\n", TTF_GetError());
        exit(1);
    }
}

void text_quit()
{
    for (auto& f : open_fonts) TTF_CloseFont(f.second);
    open_fonts.clear();
    TTF_Quit();
}

int font_line_height(FontFace face, int size)
{
    return TTF_FontHeight(font(face, size));
}

int font_ascent(FontFace face, int size)
{
    return TTF_FontAscent(font(face, size));
}

void glyph_metrics(FontFace face, int size, unsigned code, int* minx, int* maxx, int* advance)
{
    int miny, maxy;
    if (TTF_GlyphMetrics(font(face, size), (Uint16)code, minx, maxx, &miny, &maxy, advance) != 0) {
        *minx = *maxx = *advance = 0;
    }
}

int text_width(FontFace face, int size, const char* utf8)
{
    int w = 0, h = 0;
    if (utf8[0] == '\0') return 0;
    TTF_SizeUTF8(font(face, size), utf8, &w, &h);
    return w;
}

TextMask text_mask(FontFace face, int size, const char* utf8)
{
    TextMask m;
    m.ascent = font_ascent(face, size);
    if (utf8[0] == '\0') return m;
    SDL_Color white = {255, 255, 255, 0};
    SDL_Surface* s = TTF_RenderUTF8_Blended(font(face, size), utf8, white);
    if (s == NULL) {
        fprintf(stderr, "mediagen: cannot render text: %s\n", TTF_GetError());
        exit(1);
    }
    m.w = s->w;
    m.h = s->h;
    m.alpha.resize((size_t)m.w * m.h);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        const Uint32* row = (const Uint32*)((const Uint8*)s->pixels + y * s->pitch);
        for (int x = 0; x < s->w; x++) {
            Uint32 a = (row[x] & s->format->Amask) >> s->format->Ashift;
            m.alpha[(size_t)y * m.w + x] = a / 255.0f;
        }
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return m;
}

void draw_text(Canvas& c, FontFace face, int size, const char* utf8, float x, float y,
               const TextStyle& style, TextAlign align)
{
    TextMask m = text_mask(face, size, utf8);
    if (m.w == 0) return;
    if (align == ALIGN_CENTRE) x -= m.w / 2.0f;
    if (align == ALIGN_RIGHT) x -= m.w;
    int pad = (int)ceilf(style.outline) + (int)ceilf(style.shadow) + style.shadow_blur + 2;
    if (style.glow_alpha > 0) pad += style.glow_radius * 2;
    int w = m.w + 2 * pad, h = m.h + 2 * pad;
    int ox = (int)floorf(x) - pad, oy = (int)floorf(y) - pad;

    std::vector<float> grown = dilate(m, pad, style.outline);
    if (style.glow_alpha > 0) {
        Canvas glow = blur(layer(grown, w, h, style.glow, 1.0f), style.glow_radius);
        paste(c, glow, ox, oy, style.glow_alpha);
    }
    if (style.shadow > 0) {
        Canvas shadow = layer(grown, w, h, rgb(0, 0, 0), style.shadow_alpha);
        if (style.shadow_blur > 0) shadow = blur(shadow, style.shadow_blur);
        int s = (int)roundf(style.shadow);
        paste(c, shadow, ox + s, oy + s);
    }
    if (style.outline > 0) paste(c, layer(grown, w, h, style.outline_colour, 1.0f), ox, oy);

    Canvas fill(w, h);
    for (int j = 0; j < m.h; j++) {
        float t = clampf((j - m.ascent * 0.15f) / std::max(1.0f, m.ascent * 1.0f), 0.0f, 1.0f);
        Rgb col = mix(style.top, style.bottom, t);
        for (int i = 0; i < m.w; i++) fill.at(i + pad, j + pad) = with_alpha(col, m.at(i, j));
    }
    paste(c, fill, ox, oy);
}

float draw_paragraph(Canvas& c, FontFace face, int size, const char* utf8, float x, float y,
                     float max_width, float line_step, const TextStyle& style)
{
    std::string text(utf8), line, word;
    std::vector<std::string> words;
    for (size_t i = 0; i <= text.size(); i++) {
        if (i == text.size() || text[i] == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += text[i];
        }
    }
    for (size_t i = 0; i < words.size(); i++) {
        std::string attempt = line.empty() ? words[i] : line + " " + words[i];
        if (!line.empty() && text_width(face, size, attempt.c_str()) > max_width) {
            draw_text(c, face, size, line.c_str(), x, y, style);
            y += line_step;
            line = words[i];
        } else {
            line = attempt;
        }
    }
    if (!line.empty()) {
        draw_text(c, face, size, line.c_str(), x, y, style);
        y += line_step;
    }
    return y;
}
