#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "font.h"
#include "media.h"
#include "platform.h"
#include "support.h"

namespace {

const int RUN = 2;  // marker run width of the generated fonts

// Glyph k of a generated font is painted in a colour of its own.
SDL_Color glyph_colour(int k)
{
    SDL_Color c;
    c.r = (Uint8)((k % 8) * 32);
    c.g = (Uint8)((k / 8) * 16);
    c.b = 128;
    c.unused = 0;
    return c;
}

// A font picture: a marker run, then each glyph's body (as wide as given,
// filled with its colour below the marker row), then a run, and so on. The
// marker runs' columns are black below the top row, and black is the
// bottom-left pixel, so black is transparent.
void write_font(const std::string& path, const std::vector<int>& widths, int height)
{
    int width = RUN;
    for (int w : widths) width += w + RUN;
    std::vector<Uint8> pixels((size_t)width * height, 0);
    int x = 0;
    for (size_t k = 0; k <= widths.size(); k++) {
        for (int i = 0; i < RUN; i++) pixels[x + i] = 1;
        x += RUN;
        if (k == widths.size()) break;
        for (int col = x; col < x + widths[k]; col++)
            for (int row = 1; row < height; row++) pixels[(size_t)row * width + col] = (Uint8)(3 + k % 200);
        x += widths[k];
    }
    std::vector<PaletteColour> palette = {{0, 0, 0, 0}, {1, 255, 0, 255}, {2, 255, 255, 255}};
    for (size_t k = 0; k < widths.size() && k < 200; k++) {
        SDL_Color c = glyph_colour((int)k);
        palette.push_back({(int)(3 + k), c.r, c.g, c.b});
    }
    write_bmp8(path, width, height, pixels, palette);
}

// 109 glyphs, glyph g with a body 3 + g mod 11 pixels wide, so that
// neighbours differ in width.
int full_width(int glyph)
{
    return 3 + glyph % 11;
}

std::vector<int> full_widths()
{
    std::vector<int> widths;
    for (int g = 0; g < 109; g++) widths.push_back(full_width(g));
    return widths;
}

bool shows_glyph(SDL_Surface* screen, int x, int y, int glyph)
{
    SDL_Color c = glyph_colour(glyph);
    return pixel_at(screen, x, y) == map_colour(screen, c.r, c.g, c.b);
}

class FontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        write_font("font.bmp", full_widths(), 12);
        picture = load_bitmap("font.bmp", 0);
        ASSERT_NE(picture, nullptr);
        set_current_font(picture);
        SDL_FillRect(screen.surface, NULL, 0);
    }
    void TearDown() override { SDL_FreeSurface(picture); }
    TempDir dir;
    TestScreen screen;
    SDL_Surface* picture = NULL;
};

}  // namespace

// The marker row of runs at columns 0-1, 8-9 and 15-16 of a 17-pixel-wide
// picture: glyph 0 ('!') spans 2..7, glyph 1 ('"') 10..14.
TEST(FontScan, GlyphBoundsComeFromTheMarkerRuns)
{
    TempDir dir;
    TestScreen screen;
    std::vector<Uint8> pixels(17 * 6, 0);
    for (int x : {0, 1, 8, 9, 15, 16}) pixels[x] = 1;
    // Glyph 0's picture from the middle of run 0 to the middle of run 1:
    // columns 1 (red, overhang) and 2 (green, the body's first column).
    for (int row = 1; row < 6; row++) {
        pixels[row * 17 + 1] = 2;
        pixels[row * 17 + 2] = 3;
    }
    write_bmp8("font.bmp", 17, 6, pixels, {{0, 0, 0, 0}, {1, 255, 0, 255}, {2, 255, 0, 0}, {3, 0, 255, 0}});
    // Keyed on its top-left pixel at loading, as the intro's font is: the
    // font's own key replaces that one.
    SDL_Surface* picture = load_bitmap("font.bmp", 1);
    ASSERT_NE(picture, nullptr);
    set_current_font(picture);

    EXPECT_EQ(current_font.mark_count, 6);
    EXPECT_EQ(current_font.marks[5], 16);  // a run reaching the last column ends there, not at the width
    EXPECT_EQ(current_font.height, 6);
    EXPECT_EQ(text_width(current_font, "!"), 6);
    EXPECT_EQ(text_width(current_font, "\""), 5);
    EXPECT_EQ(text_width(current_font, "! !"), 18);  // the space advances like glyph 0

    SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 0, 0, 255));
    print_text(screen.surface, 100, 50, "!");
    EXPECT_EQ(pixel_at(screen.surface, 99, 50), map_colour(screen.surface, 255, 0, 0));  // one to the left of the pen
    EXPECT_EQ(pixel_at(screen.surface, 100, 50), map_colour(screen.surface, 0, 255, 0));
    EXPECT_EQ(pixel_at(screen.surface, 100, 54), map_colour(screen.surface, 0, 255, 0));  // row 5, the last
    EXPECT_EQ(pixel_at(screen.surface, 100, 55), map_colour(screen.surface, 0, 0, 255));
    EXPECT_EQ(pixel_at(screen.surface, 101, 50), map_colour(screen.surface, 0, 0, 255));  // black is transparent
    EXPECT_EQ(pixel_at(screen.surface, 98, 50), map_colour(screen.surface, 0, 0, 255));
    SDL_FreeSurface(picture);
}

TEST(FontScan, RunsBeyondTheTableAreIgnored)
{
    TempDir dir;
    TestScreen screen;
    write_font("font.bmp", std::vector<int>(299, 1), 4);  // 300 runs
    SDL_Surface* picture = load_bitmap("font.bmp", 0);
    ASSERT_NE(picture, nullptr);
    struct {
        Font font;
        int guard[128];
    } guarded;
    memset(&guarded, 0, sizeof guarded);
    guarded.font.bitmap = picture;
    init_font(guarded.font);
    EXPECT_EQ(guarded.font.mark_count, FONT_MARKS);
    EXPECT_EQ(guarded.font.marks[FONT_MARKS - 2], 255 * 3);  // run 255 starts after 255 glyphs of 1 + 2 columns
    for (int i = 0; i < 128; i++) ASSERT_EQ(guarded.guard[i], 0) << i;
    SDL_FreeSurface(picture);
}

TEST(FontScan, AFontUsedBeforeItsPictureIsLoadedStopsTheProgram)
{
    EXPECT_EXIT(
        {
            dup2(2, 1);  // the message goes to standard output: show it where the check looks
            set_current_font(NULL);
        },
        ::testing::ExitedWithCode(1), "^The font has not been loaded!\n$");
}

TEST_F(FontTest, CzechLettersUseTheGlyphsAfterTheTilde)
{
    const unsigned char czech[15] = {236, 154, 232, 248, 158, 253, 225, 237, 233, 239, 242, 243, 157, 250, 249};
    for (int i = 0; i < 15; i++) {
        char text[2] = {(char)czech[i], 0};
        EXPECT_EQ(text_width(current_font, text), full_width(94 + i)) << "letter " << i;
        SDL_FillRect(screen.surface, NULL, 0);
        print_text(screen.surface, 200, 100, text);
        EXPECT_TRUE(shows_glyph(screen.surface, 200, 100, 94 + i)) << "letter " << i;
    }
    // "č" is glyph 96: 11 wide, drawn in its colour, not its neighbours'.
    EXPECT_EQ(text_width(current_font, "\xE8"), 11);
    EXPECT_EQ(text_width(current_font, "~"), full_width(93));
}

TEST_F(FontTest, TextIsLaidOutGlyphAfterGlyph)
{
    // "A" is glyph 32 (3 + 32 mod 11 = 13 wide), "b" glyph 65 (13), "c" glyph 66 (3).
    EXPECT_EQ(text_width(current_font, "Abc"), 13 + 13 + 3);
    print_text(screen.surface, 10, 20, "A c");
    EXPECT_TRUE(shows_glyph(screen.surface, 10, 20, 32));
    EXPECT_TRUE(shows_glyph(screen.surface, 22, 30, 32));  // last body column, last row (11 rows below the marker row)
    EXPECT_EQ(pixel_at(screen.surface, 23, 20), 0u);       // the space: 3 wide, nothing drawn
    EXPECT_EQ(pixel_at(screen.surface, 25, 20), 0u);
    EXPECT_TRUE(shows_glyph(screen.surface, 26, 20, 66));
}

TEST_F(FontTest, CentredTextSitsAroundTheMiddle)
{
    // "AA" is 26 wide: it starts at 320 - 13.
    print_text_centred(screen.surface, 40, "AA");
    EXPECT_EQ(pixel_at(screen.surface, 306, 40), 0u);
    EXPECT_TRUE(shows_glyph(screen.surface, 307, 40, 32));
    EXPECT_TRUE(shows_glyph(screen.surface, 332, 40, 32));
    EXPECT_EQ(pixel_at(screen.surface, 333, 40), 0u);
}

TEST_F(FontTest, BytesWithoutAGlyphDrawNothingAndTakeNoRoom)
{
    // The high-score lines end in a line feed; control bytes and bytes whose
    // glyph lies past the font's last have no glyph.
    EXPECT_EQ(text_width(current_font, "A\n"), 13);
    EXPECT_EQ(text_width(current_font, "\x01\x1f"), 0);
    EXPECT_EQ(text_width(current_font, "\xC8\xFF"), 0);  // glyphs 167 and 222
    print_text(screen.surface, 10, 20, "\n\xFF" "A");
    EXPECT_TRUE(shows_glyph(screen.surface, 10, 20, 32));
}

TEST_F(FontTest, ASmallerFontForgetsTheGlyphsOfTheLargerOne)
{
    write_font("small.bmp", {4, 5}, 12);
    SDL_Surface* small = load_bitmap("small.bmp", 0);
    ASSERT_NE(small, nullptr);
    set_current_font(small);
    EXPECT_EQ(text_width(current_font, "!\"A"), 4 + 5);
    print_text(screen.surface, 10, 20, "A");
    EXPECT_EQ(pixel_at(screen.surface, 10, 20), 0u);
    SDL_FreeSurface(small);
}

TEST(FontPixel, ReadsEachDepthAndReportsColumnsOutside)
{
    TestScreen screen;
    SDL_Surface* deep = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 2, 24, 0xff0000, 0xff00, 0xff, 0);
    ASSERT_NE(deep, nullptr);
    Uint8* pixel = (Uint8*)deep->pixels + deep->pitch + 3 * 3;
    pixel[deep->format->Rshift / 8] = 10;
    pixel[deep->format->Gshift / 8] = 20;
    pixel[deep->format->Bshift / 8] = 30;
    EXPECT_EQ(GetPixel(deep, 3, 1), SDL_MapRGB(deep->format, 10, 20, 30));
    Captured log = capture([&] {
        EXPECT_EQ(GetPixel(deep, -1, 0), 0u);
        EXPECT_EQ(GetPixel(deep, 4, 0), 0u);
    });
    EXPECT_EQ(log.out, "SFONT ERROR: x too small in GetPixel.\nSFONT ERROR: x too big in GetPixel.\n");
    SDL_FreeSurface(deep);

    SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 0, 255, 0));
    EXPECT_EQ(GetPixel(screen.surface, 639, 479), map_colour(screen.surface, 0, 255, 0));
}

namespace {

// Scripted typing: each character is a press and a release.
struct Typing : ScriptedSession {
    void type(Uint16 c, SDLKey key = SDLK_a)
    {
        scripted_push_key(input, key, 1, c);
        scripted_push_key(input, key, 0, 0);
    }
    void type(const char* text)
    {
        for (const char* p = text; *p; p++) type((Uint16)(unsigned char)*p);
    }
    void backspace() { type(8, SDLK_BACKSPACE); }
    void enter() { type(13, SDLK_RETURN); }
};

}  // namespace

TEST_F(FontTest, TypedTextIsEditedUntilReturn)
{
    Typing typing;
    char text[32] = "";
    typing.backspace();  // nothing to remove yet
    typing.type("ab");
    typing.backspace();
    typing.type("c");
    typing.enter();
    typing.type("zz");  // after Return: not read
    read_text(screen.surface, 50, 60, 400, text, sizeof text);
    EXPECT_STREQ(text, "ac");
    EXPECT_EQ(typing.input.count, 5);  // Return's release and the two letters after it are still queued
    EXPECT_EQ(typing.input.unicode, 1);
    // The line shows the text: "a" is glyph 64 (3 + 64 mod 11 = 12 wide), then "c".
    EXPECT_TRUE(shows_glyph(screen.surface, 50, 60, 64));
    EXPECT_TRUE(shows_glyph(screen.surface, 62, 60, 66));
    EXPECT_EQ(pixel_at(screen.surface, 65, 60), 0u);
}

// Each case types its keys (8 Backspace, 13 Return, 0 Shift, 9 Tab) into a
// buffer of its size and a line of its width.
TEST_F(FontTest, TypingKeepsToTheWidthTheBufferAndThePrintableBytes)
{
    const struct {
        const char* start;
        int buffer_size, width;
        std::u16string keys;
        const char* typed;
    } cases[] = {
        {"ab", 32, 400, u"\r", "ab"},                       // Return on the starting text keeps it
        {"", 32, 12, u"ccccc\bcc\r", "cccc"},               // "c" is 3 wide: four fit in 12 pixels
        {"", 4, 600, u"cdefgh\r", "cde"},                    // the buffer is full
        {"", 32, 600, std::u16string(u"\0\t\u010Dc\u007F\r", 6), "c"},  // outside the printable bytes, Delete
        {"", 32, 600, u"cd", "cd"},                           // no key can come any more
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Typing typing;
        for (char16_t key : c.keys)
            typing.type(key, key == 8 ? SDLK_BACKSPACE : key == 13 ? SDLK_RETURN : key == 9 ? SDLK_TAB
                                                                   : key == 0 ? SDLK_LSHIFT : SDLK_a);
        char text[32];
        strcpy(text, c.start);
        read_text(screen.surface, 50, 60, c.width, text, c.buffer_size);
        EXPECT_STREQ(c.typed, text);
    }
}

// Fast typing: each key is pressed before the one before it is let go.
TEST_F(FontTest, FastTypingKeepsEveryLetter)
{
    Typing typing;
    for (const char* keys = "cdef"; *keys; keys += 2) {
        typing.press(SDLK_a, keys[0]);
        typing.press(SDLK_b, keys[1]);
        typing.release(SDLK_a);
        typing.release(SDLK_b);
    }
    typing.enter();
    char text[32] = "";
    read_text(screen.surface, 50, 60, 600, text, sizeof text);
    EXPECT_STREQ("cdef", text);
}

TEST_F(FontTest, AClosedWindowEndsTheInputWithWhatWasTyped)
{
    Typing typing;
    char text[32] = "";
    typing.type("cd");
    scripted_push_quit(typing.input);
    typing.type("e");
    typing.enter();
    read_text(screen.surface, 50, 60, 600, text, sizeof text);
    EXPECT_STREQ(text, "cd");
    EXPECT_EQ(4, typing.input.count);  // the E and Return after the request are never read
    EXPECT_EQ(0, typing.input.dry_waits);
}

namespace {

// Keeps the input alive with mouse motion until the clock reaches a time,
// then presses Return.
struct Clocked {
    Uint32 until;
    bool done;
};

void motion_until(ScriptedInput& input, Uint32, void* user)
{
    Clocked* clocked = (Clocked*)user;
    if (clocked->done) return;
    if (input.clock_ms >= clocked->until) {
        scripted_push_key(input, SDLK_RETURN, 1, 13);
        clocked->done = true;
    } else {
        scripted_push_motion(input, 5, 5);
    }
}

bool cursor_shown_after(SDL_Surface* screen, Uint32 ms)
{
    Typing typing;
    Clocked clocked = {ms, false};
    typing.input.on_delay = motion_until;
    typing.input.user = &clocked;
    char text[32] = "c";  // 3 wide: the cursor ("|", glyph 91) at 53
    read_text(screen, 50, 60, 600, text, sizeof text);
    EXPECT_TRUE(clocked.done);
    return shows_glyph(screen, 53, 60, 91);
}

}  // namespace

TEST_F(FontTest, TheCursorBlinksEveryHalfSecond)
{
    EXPECT_TRUE(cursor_shown_after(screen.surface, 3));
    SDL_FillRect(screen.surface, NULL, 0);
    EXPECT_TRUE(cursor_shown_after(screen.surface, 300));
    SDL_FillRect(screen.surface, NULL, 0);
    EXPECT_FALSE(cursor_shown_after(screen.surface, 503));
    SDL_FillRect(screen.surface, NULL, 0);
    EXPECT_TRUE(cursor_shown_after(screen.surface, 1005));
}

// The game's own fonts: a glyph for every printable byte and every Czech
// letter, each with something to show.
TEST(FontData, TheGameFontsHaveAVisibleGlyphForEveryCharacter)
{
    TestScreen screen;
    for (const char* name : {"/GFX/menu/pismo.bmp", "/GFX/intro/titulky_pismo.bmp"}) {
        SDL_Surface* picture = load_bitmap((std::string(ABYSSOR_RUN_DIR) + name).c_str(), 0);
        ASSERT_NE(picture, nullptr) << name;
        set_current_font(picture);
        EXPECT_EQ(current_font.mark_count, 2 * 110) << name;  // 109 glyphs and the run after the last
        for (int byte = 33; byte < 256; byte++) {
            char text[2] = {(char)byte, 0};
            // Bytes 127 to 141 are their own codes, and those are the codes
            // the Czech letters are drawn with.
            int glyph_expected = byte <= 141 || strchr("\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xEF\xF2\xF3\x9D\xFA\xF9", byte) != NULL;
            if (!glyph_expected) {
                EXPECT_EQ(text_width(current_font, text), 0) << name << " byte " << byte;
                continue;
            }
            EXPECT_GT(text_width(current_font, text), 0) << name << " byte " << byte;
            SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 1, 2, 3));
            print_text(screen.surface, 100, 100, text);
            int shown = 0;
            for (int y = 100; y < 100 + picture->h; y++)
                for (int x = 80; x < 140; x++) shown += pixel_at(screen.surface, x, y) != map_colour(screen.surface, 1, 2, 3);
            EXPECT_GT(shown, 0) << name << " byte " << byte;
        }
        SDL_FreeSurface(picture);
    }
}
