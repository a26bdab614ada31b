// Bitmap fonts for the game's text: glyphs side by side, a marker row of
// (255, 0, 255) runs above them (one run before every glyph and one after
// the last), glyphs for the bytes 33 ... 126 followed by the fifteen Czech
// letters, and the transparent colour in the bottom-left pixel.

#include <string>

#include "art.h"
#include "output.h"
#include "text.h"

namespace {

const Rgb8 MARKER = {255, 0, 255};
const Rgb8 FONT_KEY = {0, 0, 0};
const int RUN = 4;  // width of a marker run; a glyph may spill into half of the run on either side

// The fifteen Czech letters after the printable ASCII glyphs, in the order
// the game maps them (windows-1250 bytes 236, 154, 232, 248, 158, 253, 225,
// 237, 233, 239, 242, 243, 157, 250, 249).
const unsigned CZECH[15] = {0x11B, 0x161, 0x10D, 0x159, 0x17E, 0xFD, 0xE1, 0xED, 0xE9, 0x10F, 0x148, 0xF3, 0x165, 0xFA, 0x16F};

std::string utf8(unsigned code)
{
    std::string s;
    if (code < 0x80) {
        s += (char)code;
    } else if (code < 0x800) {
        s += (char)(0xC0 | (code >> 6));
        s += (char)(0x80 | (code & 0x3F));
    } else {
        s += (char)(0xE0 | (code >> 12));
        s += (char)(0x80 | ((code >> 6) & 0x3F));
        s += (char)(0x80 | (code & 0x3F));
    }
    return s;
}

struct FontStyle {
    FontFace face;
    int size;
    TextStyle text;
    int pad;  // room around each glyph for its outline and shadow
};

void build_font(const std::string& path, const FontStyle& f)
{
    std::vector<unsigned> codes;
    for (unsigned c = 33; c <= 126; c++) codes.push_back(c);
    for (unsigned c : CZECH) codes.push_back(c);

    // Each glyph's body is as wide as its advance, so that text keeps the
    // font's own spacing; outline and overhang spill into the runs.
    std::vector<int> body;
    int width = RUN;
    for (unsigned c : codes) {
        int minx, maxx, advance;
        glyph_metrics(f.face, f.size, c, &minx, &maxx, &advance);
        body.push_back(std::max(2, advance + f.pad / 2));
        width += body.back() + RUN;
    }
    int height = 1 + font_line_height(f.face, f.size) + 2 * f.pad;

    Canvas canvas(width, height);
    const int spill = RUN / 2;
    int x = 0;
    for (size_t i = 0; i <= codes.size(); i++) {
        for (int k = 0; k < RUN; k++) canvas.at(x + k, 0) = Rgba{1, 0, 1, 1};
        x += RUN;
        if (i == codes.size()) break;
        Canvas cell(body[i] + 2 * spill, height - 1);
        draw_text(cell, f.face, f.size, utf8(codes[i]).c_str(), (float)spill, (float)f.pad, f.text);
        for (int yy = 0; yy < cell.h; yy++) {
            for (int xx = 0; xx < cell.w; xx++) canvas.at(x - spill + xx, yy + 1) = cell.at(xx, yy);
        }
        x += body[i];
    }
    QuantizeOptions o;
    o.keyed = true;
    o.key = FONT_KEY;
    o.exact.push_back(MARKER);
    save_indexed(path, quantize(canvas, o));
}

}  // namespace

void make_fonts()
{
    FontStyle menu;
    menu.face = SANS_BOLD;
    menu.size = 18;
    menu.text.top = rgb(255, 240, 170);
    menu.text.bottom = rgb(240, 160, 40);
    menu.text.outline = 1.6f;
    menu.text.outline_colour = rgb(40, 24, 12);
    menu.text.shadow = 0;
    menu.pad = 2;
    build_font("GFX/menu/pismo.bmp", menu);

    FontStyle credits;
    credits.face = SERIF_BOLD;
    credits.size = 22;
    credits.text.top = rgb(255, 255, 255);
    credits.text.bottom = rgb(120, 210, 240);
    credits.text.outline = 1.6f;
    credits.text.outline_colour = rgb(10, 30, 70);
    credits.pad = 2;
    build_font("GFX/intro/titulky_pismo.bmp", credits);
}
