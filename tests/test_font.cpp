#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "font.h"
#include "media.h"
#include "support.h"

namespace {

// Glyph k of a generated font is painted in a colour of its own.
SDL_Color glyph_colour(int k) { return SDL_Color{(Uint8)((k % 8) * 32), (Uint8)((k / 8) * 16), 128, 0}; }

// A font picture: a marker run two wide, each glyph's body (as wide as
// given, in its colour below the marker row), a run, and so on; black is
// the bottom-left pixel, so black is transparent.
void write_font(const std::string& path, const std::vector<int>& widths, int height)
{
    int width = 2;
    for (int w : widths) width += w + 2;
    std::vector<Uint8> pixels((size_t)width * height, 0);
    std::vector<PaletteColour> palette = {{0, 0, 0, 0}, {1, 255, 0, 255}};
    for (size_t k = 0, x = 0; k <= widths.size(); k++, x += 2) {
        pixels[x] = pixels[x + 1] = 1;
        if (k == widths.size()) break;
        for (int col = 0; col < widths[k]; col++)
            for (int row = 1; row < height; row++) pixels[(size_t)row * width + x + 2 + col] = (Uint8)(2 + k % 200);
        x += widths[k];
        if (k < 200) palette.push_back({(int)(2 + k), glyph_colour((int)k).r, glyph_colour((int)k).g, 128});
    }
    write_bmp8(path, width, height, pixels, palette);
}

// 109 glyphs, glyph g 3 + g mod 11 wide, so that neighbours differ.
int full_width(int glyph) { return 3 + glyph % 11; }

bool shows_glyph(SDL_Surface* screen, int x, int y, int glyph)
{
    return pixel_at(screen, x, y) == map_colour(screen, glyph_colour(glyph).r, glyph_colour(glyph).g, 128);
}

class FontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<int> widths;
        for (int g = 0; g < 109; g++) widths.push_back(full_width(g));
        write_font("font.bmp", widths, 12);
        picture = load_bitmap("font.bmp", 0);
        set_current_font(picture);
        SDL_FillRect(screen.surface, NULL, 0);
    }
    void TearDown() override { SDL_FreeSurface(picture); }
    TempDir dir;
    TestScreen screen;
    SDL_Surface* picture = NULL;
};

}  // namespace

// Marker runs at columns 0-1, 8-9 and 15-16 of a 17-pixel-wide picture: a
// glyph spans from the middle of its run to the middle of the next, a run
// reaching the last column ends there, and the space advances like glyph 0.
TEST(FontScan, GlyphBoundsComeFromTheMarkerRunsWhileTheTableHasRoom)
{
    TempDir dir;
    TestScreen screen;
    std::vector<Uint8> pixels(17 * 6, 0);
    for (int x : {0, 1, 8, 9, 15, 16}) pixels[x] = 1;
    write_bmp8("font.bmp", 17, 6, pixels, {{0, 0, 0, 0}, {1, 255, 0, 255}});
    SDL_Surface* picture = load_bitmap("font.bmp", 1);
    set_current_font(picture);
    EXPECT_FIELDS({"mark_count", 6, current_font.mark_count}, {"marks[5]", 16, current_font.marks[5]},
                  {"height", 6, current_font.height}, {"width of !", 6, text_width(current_font, "!")},
                  {"width of \"", 5, text_width(current_font, "\"")}, {"width of ! !", 18, text_width(current_font, "! !")});
    SDL_FreeSurface(picture);
    // Runs beyond the table's room are ignored, and nothing past it is
    // written; a font without a picture stops the program.
    write_font("font.bmp", std::vector<int>(299, 1), 4);  // 300 runs
    struct {
        Font font;
        int guard[128];
    } guarded;
    memset(&guarded, 0, sizeof guarded);
    guarded.font.bitmap = load_bitmap("font.bmp", 0);
    init_font(guarded.font);
    EXPECT_EQ(FONT_MARKS, guarded.font.mark_count);
    EXPECT_EQ(255 * 3, guarded.font.marks[FONT_MARKS - 2]);  // run 255 starts after 255 glyphs of 1 + 2 columns
    EXPECT_EQ(std::vector<int>(128, 0), std::vector<int>(guarded.guard, guarded.guard + 128));
    SDL_FreeSurface(guarded.font.bitmap);
    EXPECT_EXIT((dup2(2, 1), set_current_font(NULL)), ::testing::ExitedWithCode(1), "^The font has not been loaded!\n$");
}

// Text is laid out glyph after glyph from the pen ('A' is glyph 32, 'c'
// glyph 66); the space is as wide as glyph 0 and draws nothing; control
// bytes and bytes past the last glyph take no room; the Czech letters use
// the glyphs after the tilde; a smaller font forgets the glyphs of the
// larger one. Each case: the text and the glyphs drawn (-1 the space).
TEST_F(FontTest, TextIsLaidOutGlyphAfterGlyph)
{
    const struct {
        std::string text;
        std::vector<int> glyphs;
    } cases[] = {
        {"A c", {32, -1, 66}}, {"\n\x01\x1f\xC8\xFF" "A", {32}}, {"\xE8", {96}}, {"~", {93}},
        {"\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xEF\xF2\xF3\x9D\xFA\xF9", {94, 95, 96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SDL_FillRect(screen.surface, NULL, 0);
        print_text(screen.surface, 10, 20, c.text.c_str());
        int x = 10;
        for (int g : c.glyphs) {
            int w = full_width(g < 0 ? 0 : g);
            EXPECT_TRUE(g < 0 ? pixel_at(screen.surface, x, 20) == 0 : shows_glyph(screen.surface, x, 20, g) && shows_glyph(screen.surface, x + w - 1, 20, g)) << "glyph " << g << " at " << x;
            x += w;
        }
        EXPECT_EQ(0u, pixel_at(screen.surface, x, 20));
        EXPECT_EQ(x - 10, text_width(current_font, c.text.c_str()));
    }
    write_font("small.bmp", {4, 5}, 12);
    SDL_Surface* small = load_bitmap("small.bmp", 0);
    set_current_font(small);
    SDL_FillRect(screen.surface, NULL, 0);
    print_text(screen.surface, 10, 20, "A");
    EXPECT_EQ(9, text_width(current_font, "!\"A"));
    EXPECT_EQ(0u, pixel_at(screen.surface, 10, 20)) << "the A the small font has no glyph for";
    SDL_FreeSurface(small);
}

// Each case types its keys (a press and a release each; 8 Backspace, 13
// Return, 0 Shift, 9 Tab, 127 Delete, 1 a close request) into a buffer of
// its size and a line of its width, from a starting text. Only printable
// bytes are typed; Return ends the typing and leaves what follows queued.
TEST_F(FontTest, TypedTextIsEditedUntilReturn)
{
    const struct {
        const char* start;
        int buffer_size, width;
        std::u16string keys;
        const char* typed;
        int left;                 // events left unread
        bool overlapped = false;  // each key pressed before the one before it is let go
    } cases[] = {
        {"ab", 32, 400, u"\r", "ab", 1},
        {"", 32, 12, u"ccccc\bcc\r", "cccc", 1},  // four of "c" fit in 12 pixels
        {"", 4, 600, u"cdefgh\r", "cde", 1},
        {"", 32, 600, std::u16string(u"\0\t\u010D~c\u007F\r", 7), "~c", 1},
        {"", 32, 600, u"cd", "cd", 0},  // no key can come any more
        {"", 32, 600, u"cdef\r", "cdef", 1, true},
        {"", 32, 600, u"cd\001e\r", "cd", 4},
        {"", 32, 400, u"\bab\bc\rzz", "ac", 5},
    };
    for (const auto& c : cases) {
        std::string keys;  // control keys by name
        for (char16_t key : c.keys)
            keys += key == 8 ? "<Backspace>" : key == 13 ? "<Return>" : key == 1 ? "<close>" : key < 32 || key > 126 ? "<" + std::to_string(key) + ">" : std::string(1, (char)key);
        SCOPED_TRACE(keys + (c.overlapped ? " overlapped" : "") + " into \"" + c.start + "\"");
        ScriptedSession typing;
        for (size_t i = 0; i < c.keys.size(); i++) {
            char16_t key = c.keys[i];
            if (key == 1) {
                scripted_push_quit(typing.input);
                continue;
            }
            SDLKey sym = key == 8 ? SDLK_BACKSPACE : key == 13 ? SDLK_RETURN : key == 9 ? SDLK_TAB : key == 0 ? SDLK_LSHIFT : SDLK_a;
            scripted_push_key(typing.input, sym, 1, key);
            bool both = c.overlapped && key != '\r';
            if (both) scripted_push_key(typing.input, SDLK_b, 1, c.keys[++i]);
            scripted_push_key(typing.input, sym, 0, 0);
            if (both) scripted_push_key(typing.input, SDLK_b, 0, 0);
        }
        char text[32];
        strcpy(text, c.start);
        SDL_FillRect(screen.surface, NULL, 0);
        read_text(screen.surface, 50, 60, c.width, text, c.buffer_size);
        EXPECT_STREQ(c.typed, text);
        EXPECT_EQ(c.left, typing.input.count);
        EXPECT_EQ(1, typing.input.unicode);
    }
    // The line shows the last text: "a" is glyph 64, 12 wide, then "c"; "b" is wiped.
    EXPECT_TRUE(shows_glyph(screen.surface, 50, 60, 64)) << "a";
    EXPECT_TRUE(shows_glyph(screen.surface, 62, 60, 66)) << "c";
    EXPECT_EQ(0u, pixel_at(screen.surface, 65, 60)) << "b wiped";
}

// Kept alive with mouse motion until the clock reaches a time, then ended
// with Return, the typing shows the cursor ("|", glyph 91) after "c" in the
// first half of each second (and only then: 450 and 950 ms tell a blink of
// half a second from a shorter one).
TEST_F(FontTest, TheCursorBlinksEveryHalfSecond)
{
    static Uint32 until;
    for (auto [ms, shown] : {std::pair{3u, true}, {450u, true}, {503u, false}, {950u, false}, {1005u, true}}) {
        ScriptedSession typing;
        until = ms;
        typing.input.on_delay = [](ScriptedInput& input, Uint32, void*) {
            if (until != 0 && input.clock_ms >= until) {
                scripted_push_key(input, SDLK_RETURN, 1, 13);
                until = 0;
            } else if (until != 0) {
                scripted_push_motion(input, 5, 5);
            }
        };
        char text[32] = "c";
        SDL_FillRect(screen.surface, NULL, 0);
        read_text(screen.surface, 50, 60, 600, text, sizeof text);
        EXPECT_EQ(0u, until) << "the typing kept alive until " << ms << " ms";
        EXPECT_EQ(shown, shows_glyph(screen.surface, 53, 60, 91)) << "the cursor at " << ms << " ms";
    }
}
