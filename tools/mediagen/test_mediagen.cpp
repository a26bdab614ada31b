// Tests of the generator's building blocks: its arithmetic, its pictures
// and sounds as the game's loaders will see them, and its fonts' layout.

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "art.h"
#include "detmath.h"
#include "output.h"
#include "png.h"
#include "quantize.h"
#include "sound.h"
#include "text.h"

namespace {

// A fresh folder, removed again when the test ends.
struct Scratch {
    std::string path;
    Scratch()
    {
        char pattern[] = "/tmp/mediagen-test-XXXXXX";
        const char* dir = mkdtemp(pattern);
        path = dir != NULL ? dir : "";
    }
    ~Scratch()
    {
        if (!path.empty()) std::filesystem::remove_all(path);
    }
};

int index_at(SDL_Surface* s, int x, int y)
{
    return ((Uint8*)s->pixels)[y * s->pitch + x];
}

}  // namespace

TEST(DetMath, AgreesWithTheLibraryToTheLastBitsOfAFloat)
{
    for (int i = -4000; i <= 4000; i++) {
        double x = i * 0.0123;
        EXPECT_NEAR(det::sin(x), sin(x), 1e-14) << x;
        EXPECT_NEAR(det::cos(x), cos(x), 1e-14) << x;
        EXPECT_NEAR(det::atan2(x, 1.3 - x * 0.2), atan2(x, 1.3 - x * 0.2), 1e-14) << x;
        EXPECT_NEAR(det::tanh(x / 10), tanh(x / 10), 1e-14) << x;
        double y = fabs(x) + 0.01;
        EXPECT_NEAR(det::log(y), log(y), 1e-13) << y;
        EXPECT_NEAR(det::exp(x / 20) / exp(x / 20), 1.0, 1e-14) << x;
        EXPECT_NEAR(det::pow(y, 2.4) / pow(y, 2.4), 1.0, 1e-13) << y;
    }
}

TEST(Quantize, KeyedPictureKeepsTheKeyAtIndexZeroAndColoursExact)
{
    Canvas c(4, 2);
    c.at(1, 0) = rgba(10, 200, 30);
    c.at(2, 0) = rgba(250, 250, 250);
    c.at(3, 1) = rgba(10, 200, 30, 0.4f);  // mostly clear: transparent
    QuantizeOptions o;
    o.keyed = true;
    Indexed q = quantize(c, o);
    EXPECT_EQ(q.pix[0], 0);
    EXPECT_EQ(q.pix[7], 0);
    EXPECT_TRUE(q.palette[0] == KEY_MAGENTA);
    EXPECT_TRUE(q.palette[q.pix[1]] == (Rgb8{10, 200, 30}));
    EXPECT_TRUE(q.palette[q.pix[2]] == (Rgb8{250, 250, 250}));
}

TEST(Quantize, ColourNextToTheKeyIsMovedApartOnA16BitScreen)
{
    Canvas c(2, 1);
    c.at(1, 0) = rgba(251, 2, 252);  // same 5-6-5 value as (255, 0, 255)
    QuantizeOptions o;
    o.keyed = true;
    Indexed q = quantize(c, o);
    Rgb8 moved = q.palette[q.pix[1]];
    int key565 = (255 >> 3) << 11 | (0 >> 2) << 5 | (255 >> 3);
    int moved565 = (moved.r >> 3) << 11 | (moved.g >> 2) << 5 | (moved.b >> 3);
    EXPECT_NE(moved565, key565);
}

TEST(Quantize, ManyColoursAreReducedTo256)
{
    Canvas c(256, 64);
    for (int y = 0; y < 64; y++) {
        for (int x = 0; x < 256; x++) c.at(x, y) = Rgba{x / 255.0f, y / 63.0f, (x ^ y) / 255.0f, 1.0f};
    }
    QuantizeOptions o;
    o.dither = true;
    Indexed q = quantize(c, o);
    double error = 0;
    for (int y = 0; y < 64; y++) {
        for (int x = 0; x < 256; x++) {
            Rgb8 p = q.palette[q.pix[(size_t)y * 256 + x]];
            error += fabs(p.r - x) + fabs(p.g - y * 255.0 / 63);
        }
    }
    EXPECT_LT(error / (256 * 64 * 2), 12.0);
}

TEST(Bmp, ReadsBackAsAn8BitPictureWithItsPixelsAndPalette)
{
    Scratch scratch;
    const std::string& dir = scratch.path;
    Indexed p;
    p.w = 3;
    p.h = 2;
    p.pix = {0, 1, 2, 2, 1, 0};
    p.palette[1] = Rgb8{1, 2, 3};
    p.palette[2] = Rgb8{200, 100, 50};
    write_bmp(dir + "/p.bmp", p);
    SDL_Surface* s = SDL_LoadBMP((dir + "/p.bmp").c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->format->BitsPerPixel, 8);
    EXPECT_EQ(s->format->palette->ncolors, 256);
    EXPECT_EQ(index_at(s, 0, 0), 0);
    EXPECT_EQ(index_at(s, 2, 0), 2);
    EXPECT_EQ(index_at(s, 0, 1), 2);
    EXPECT_EQ(s->format->palette->colors[2].r, 200);
    EXPECT_EQ(s->format->palette->colors[2].b, 50);
    SDL_FreeSurface(s);
}

TEST(Wav, IsEightBitMonoAt11025Hz)
{
    Scratch scratch;
    const std::string& dir = scratch.path;
    Wave w = tone(0.1f, 440.0f, 440.0f, SINE);
    write_wav(dir + "/s.wav", w);
    SDL_AudioSpec format;
    Uint8* data = NULL;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV((dir + "/s.wav").c_str(), &format, &data, &length), nullptr);
    EXPECT_EQ(format.freq, 11025);
    EXPECT_EQ(format.format, AUDIO_U8);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(length, w.size());
    SDL_FreeWAV(data);
}

TEST(Sound, ToneGlidesBetweenItsFrequencies)
{
    // Zero crossings of a glide from 100 to 400 Hz over a second: between
    // the counts of the two steady tones.
    Wave w = tone(1.0f, 100.0f, 400.0f, SINE);
    int crossings = 0;
    for (size_t i = 1; i < w.size(); i++) crossings += (w[i - 1] < 0) != (w[i] < 0);
    EXPECT_GT(crossings, 2 * 100);
    EXPECT_LT(crossings, 2 * 400);
}

class Fonts : public testing::Test {
protected:
    void SetUp() override
    {
        dir = scratch.path;
        output_begin(dir);
        text_init(ABYSSOR_FONT_DIR);
        make_fonts();
        text_quit();
    }
    Scratch scratch;
    std::string dir;
};

// The scan the game makes of a font picture: marker runs in the top row.
static std::vector<int> marker_runs(SDL_Surface* s)
{
    int marker = SDL_MapRGB(s->format, 255, 0, 255);
    std::vector<int> marks;
    for (int x = 0; x < s->w; x++) {
        if (index_at(s, x, 0) != marker) continue;
        marks.push_back(x);
        while (x < s->w - 1 && index_at(s, x, 0) == marker) x++;
        marks.push_back(x);
    }
    return marks;
}

TEST_F(Fonts, HaveARunBeforeEveryGlyphAndOneAfterTheLast)
{
    for (const char* name : {"/GFX/menu/pismo.bmp", "/GFX/intro/titulky_pismo.bmp"}) {
        SDL_Surface* s = SDL_LoadBMP((dir + name).c_str());
        ASSERT_NE(s, nullptr) << name;
        std::vector<int> marks = marker_runs(s);
        EXPECT_EQ(marks.size(), 2u * (94 + 15 + 1)) << name;
        // The bottom-left pixel is the transparent colour, not the marker.
        int marker = SDL_MapRGB(s->format, 255, 0, 255);
        EXPECT_NE(index_at(s, 0, s->h - 1), marker) << name;
        SDL_Color key = s->format->palette->colors[index_at(s, 0, s->h - 1)];
        EXPECT_EQ(key.r + key.g + key.b, 0) << name;
        SDL_FreeSurface(s);
    }
}

TEST_F(Fonts, GlyphsAreInTheOrderTheGameMapsBytesTo)
{
    // Glyph 0 is the exclamation mark: narrow. Glyph 32 ('A') is wide.
    // Glyph 94 (the first Czech letter, e with caron) is about as wide as
    // glyph 68 ('e').
    SDL_Surface* s = SDL_LoadBMP((dir + "/GFX/menu/pismo.bmp").c_str());
    ASSERT_NE(s, nullptr);
    std::vector<int> m = marker_runs(s);
    auto advance = [&](int g) { return m[2 * g + 2] - m[2 * g + 1]; };
    EXPECT_LT(advance(0), advance(32));
    EXPECT_EQ(advance(94), advance('e' - 33));
    EXPECT_EQ(advance(96), advance('c' - 33));  // c with caron
    SDL_FreeSurface(s);
}

TEST(Output, KeyedPictureMustLeaveItsTopLeftPixelClear)
{
    Scratch scratch;
    output_begin(scratch.path);
    Canvas solid(4, 4, rgba(20, 40, 60));
    EXPECT_EXIT(save_keyed("solid.bmp", solid), testing::ExitedWithCode(1), "top-left pixel");
}

namespace {

uint32_t be32(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t)b[at] << 24 | (uint32_t)b[at + 1] << 16 | (uint32_t)b[at + 2] << 8 | b[at + 3];
}

std::vector<uint8_t> read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

// The file is read back chunk by chunk: signature, header, checksums, and
// the pixels inflated again, each row behind its filter byte.
TEST(Png, HoldsThePixelsRowByRowWithTheirAlpha)
{
    Scratch scratch;
    std::string path = scratch.path + "/two.png";
    std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_TRUE(write_png(path, 2, 2, 4, pixels));
    std::vector<uint8_t> png = read_bytes(path);
    ASSERT_GT(png.size(), 8u + 25 + 12 + 12);
    EXPECT_EQ(std::vector<uint8_t>({0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}), std::vector<uint8_t>(png.begin(), png.begin() + 8));
    std::vector<std::string> types;
    std::vector<uint8_t> packed;
    for (size_t at = 8; at + 12 <= png.size();) {
        uint32_t length = be32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types.push_back(type);
        EXPECT_EQ(crc32(0, &png[at + 4], length + 4), be32(png, at + 8 + length)) << type;
        if (type == "IHDR") {
            EXPECT_EQ(2u, be32(png, at + 8));
            EXPECT_EQ(2u, be32(png, at + 12));
            EXPECT_EQ(8, png[at + 16]);  // bits per sample
            EXPECT_EQ(6, png[at + 17]);  // RGBA
        }
        if (type == "IDAT") packed.insert(packed.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
    }
    EXPECT_EQ((std::vector<std::string>{"IHDR", "IDAT", "IEND"}), types);
    std::vector<uint8_t> raw(18);
    uLongf size = raw.size();
    ASSERT_EQ(Z_OK, uncompress(raw.data(), &size, packed.data(), packed.size()));
    EXPECT_EQ(18u, size);
    EXPECT_EQ(std::vector<uint8_t>({0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 10, 11, 12, 13, 14, 15, 16}), raw);
    EXPECT_FALSE(write_png(path, 2, 2, 4, std::vector<uint8_t>(15)));
    EXPECT_FALSE(write_png(scratch.path + "/no/such/folder.png", 2, 2, 4, pixels));
}

TEST(Icon, IsABadgeWithClearCornersAndTheCrosshairInGreen)
{
    Canvas icon = desktop_icon();
    ASSERT_EQ(128, icon.w);
    ASSERT_EQ(128, icon.h);
    for (int corner : {0, 127}) {
        EXPECT_EQ(0.0f, icon.at(corner, corner).a);
        EXPECT_EQ(0.0f, icon.at(corner, 127 - corner).a);
    }
    EXPECT_EQ(1.0f, icon.at(64, 10).a);
    EXPECT_EQ(1.0f, icon.at(64, 118).a);
    const Rgba& ring = icon.at(90, 23);  // the crosshair's ring, 13 above its centre
    EXPECT_GT(ring.g, 0.8f);
    EXPECT_LT(ring.r, 0.6f);
}
