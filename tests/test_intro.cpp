#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font.h"
#include "intro.h"
#include "media.h"
#include "menu.h"
#include "platform.h"
#include "random.h"
#include "support.h"

namespace {

const char* INTRO = "SCRIPT/in.scr";

Captured load(const std::string& text)
{
    return load_script(INTRO, text, load_intro);
}

// A full-screen picture in colour A where x < 100 (split_rows: y < 100) and
// colour B elsewhere, so that a test can tell which of its columns or rows
// lies where on the screen.
void write_split_bmp(const std::string& path, bool split_rows, Uint8 a_r, Uint8 a_g, Uint8 a_b, Uint8 b_r,
                     Uint8 b_g, Uint8 b_b)
{
    std::vector<Uint8> pixels(640 * 480);
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) pixels[y * 640 + x] = (split_rows ? y : x) < 100 ? 1 : 2;
    write_bmp8(path, 640, 480, pixels, {{1, a_r, a_g, a_b}, {2, b_r, b_g, b_b}});
}

bool is_colour(SDL_Surface* screen, int x, int y, Uint8 r, Uint8 g, Uint8 b)
{
    return pixel_at(screen, x, y) == map_colour(screen, r, g, b);
}

// Red and yellow slides with their times, a blue main menu picture.
class IntroTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        write_solid_bmp("GFX/red.bmp", 640, 480, 200, 0, 0);
        write_solid_bmp("GFX/yellow.bmp", 640, 480, 200, 200, 0);
        write_solid_bmp("GFX/blue.bmp", 640, 480, 0, 0, 200);
        menu_script.main_picture = load_bitmap("GFX/blue.bmp", 0);
        input.on_delay = record_delay;
        input.user = this;
        random_reset();
    }
    void TearDown() override
    {
        free_intro();
        SDL_FreeSurface(menu_script.main_picture);
        menu_script.main_picture = NULL;
    }
    // What the screen showed in its middle while each slide was held; the
    // waits of 25 ms pace the frames of the slides.
public:
    static void record_delay(ScriptedInput&, Uint32 ms, void* user)
    {
        IntroTest* test = (IntroTest*)user;
        if (ms == 25) {
            test->frame_waits++;
            return;
        }
        test->delays.push_back(ms);
        test->held_colours.push_back(pixel_at(test->screen.surface, 320, 240));
    }
    TempDir dir;
    TestScreen screen;
    ScriptedSession session;
    ScriptedInput& input = session.input;
    std::vector<Uint32> delays;
    std::vector<Uint32> held_colours;
    int frame_waits = 0;
};

}  // namespace

TEST(IntroScript, ReadsSlidesCreditsStepsAndFont)
{
    TempDir dir;
    write_solid_bmp("GFX/intro/a.bmp", 64, 48, 200, 0, 0);
    write_solid_bmp("GFX/intro/font.bmp", 30, 12, 255, 255, 255);
    Captured log = load("font GFX/intro/font.bmp\nkrok1 32\nkrok2 3\nkrok3 40\n"
                        "intro GFX/intro/a.bmp 2000\nintro GFX/intro/a.bmp 70000\n"
                        "outro ABYSSOR\noutro N\xe1m\xec" "t\noutro ~\n");
    EXPECT_EQ("", log.out);
    EXPECT_EQ("", log.err);
    EXPECT_EQ(32, intro_script.transition_step);
    EXPECT_EQ(3, intro_script.scroll_step);
    EXPECT_EQ(40, intro_script.line_spacing);
    ASSERT_EQ(2, intro_script.picture_count);
    EXPECT_EQ(2000, intro_script.pictures[0].hold_ms);
    EXPECT_EQ(70000 - 65536, intro_script.pictures[1].hold_ms);  // the low 16 bits
    ASSERT_NE(nullptr, intro_script.pictures[1].bitmap);
    EXPECT_EQ(64, intro_script.pictures[1].bitmap->w);
    EXPECT_EQ(0u, intro_script.pictures[0].bitmap->flags & SDL_SRCCOLORKEY);
    ASSERT_EQ(3, intro_script.line_count);
    EXPECT_STREQ("ABYSSOR", intro_script.lines[0]);
    EXPECT_STREQ("N\xe1m\xect", intro_script.lines[1]);
    EXPECT_STREQ("~", intro_script.lines[2]);
    ASSERT_NE(nullptr, intro_script.font);
    EXPECT_NE(0u, intro_script.font->flags & SDL_SRCCOLORKEY);
    free_intro();
}

TEST(IntroScript, SlidesAndLinesBeyondTheTablesAreReadPastNotTakenForKeys)
{
    TempDir dir;
    write_solid_bmp("GFX/intro/a.bmp", 8, 8, 200, 0, 0);
    std::string text;
    for (int i = 0; i < 12; i++) text += "intro GFX/intro/a.bmp " + std::to_string(100 + i) + "\n";
    for (int i = 0; i < 302; i++) text += "outro line" + std::to_string(i) + "\n";
    text += "outro " + std::string(150, 'x') + "\n";
    // The 301st line's word and the last slides' names hold keys of this
    // file; they are values, not keys.
    text += "krok2 7\n";
    Captured log = load(text);
    EXPECT_EQ("", log.err);
    EXPECT_EQ(INTRO_PICTURES, intro_script.picture_count);
    EXPECT_EQ(109, intro_script.pictures[9].hold_ms);
    EXPECT_EQ(INTRO_LINES, intro_script.line_count);
    EXPECT_STREQ("line299", intro_script.lines[299]);
    EXPECT_EQ(7, intro_script.scroll_step);
    free_intro();
}

TEST(IntroScript, LongCreditLinesAreCutToNinetyNineCharacters)
{
    TempDir dir;
    load("outro " + std::string(150, 'x') + " krok3 5\n");
    ASSERT_EQ(1, intro_script.line_count);
    EXPECT_EQ(std::string(99, 'x'), intro_script.lines[0]);
    EXPECT_EQ(5, intro_script.line_spacing);
}

TEST(IntroScript, MissingFileIsReportedAndLeavesNothingToPlay)
{
    TempDir dir;
    Captured log = capture([] { load_intro(INTRO); });
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/in.scr\n", log.err);
    EXPECT_EQ(0, intro_script.picture_count);
    EXPECT_EQ(0, intro_script.line_count);
}

TEST_F(IntroTest, EachSlideIsHeldForItsTimeThenSlidesOnAndIntoTheMenu)
{
    load("krok1 30\nintro GFX/red.bmp 2000\nintro GFX/yellow.bmp 70000\n");
    play_intro(screen.surface);
    EXPECT_EQ((std::vector<Uint32>{2000, 4464}), delays);
    // 21 frames a slide, paced as the game's frames (the first follows its hold).
    EXPECT_EQ(40, frame_waits);
    EXPECT_EQ(7464u, input.clock_ms);
    SDL_Surface* s = screen.surface;
    EXPECT_EQ((std::vector<Uint32>{map_colour(s, 200, 0, 0), map_colour(s, 200, 200, 0)}), held_colours);
    // The generator's first two values, 41 and 18467, are odd: both slides
    // go right. 640 / 30 = 21 frames; the last, 600 pixels in, leaves a
    // strip of 40 pixels of the last slide at the right edge.
    EXPECT_TRUE(is_colour(screen.surface, 0, 240, 0, 0, 200));
    EXPECT_TRUE(is_colour(screen.surface, 599, 479, 0, 0, 200));
    EXPECT_TRUE(is_colour(screen.surface, 601, 240, 200, 200, 0));
    EXPECT_TRUE(is_colour(screen.surface, 639, 0, 200, 200, 0));
}

// The holds waited for and the colours left at points of row 240 (R red,
// Y yellow, B the blue menu, G the green screen before). A single slide
// slides straight into the menu; the generator's third value, 6334, is even:
// a third slide would go left; without slides nothing is shown or waited
// for; a missing slide is held blank and left out of the slides.
TEST_F(IntroTest, SlidesAreHeldAndSlideAsTheScriptAndTheGeneratorSay)
{
    struct Point {
        int x;
        char colour;
    };
    const struct {
        const char* script;
        int draws_before;
        std::vector<Uint32> holds;
        std::vector<Point> points;
    } cases[] = {
        {"krok1 32\nintro GFX/red.bmp 1500\n", 0, {1500}, {{300, 'B'}, {609, 'R'}}},
        {"krok1 32\nintro GFX/red.bmp 100\n", 2, {100}, {{31, 'R'}, {32, 'B'}, {639, 'B'}}},
        {"krok1 32\n", 0, {}, {{320, 'G'}}},
        {"krok1 32\nintro GFX/none.bmp 800\nintro GFX/yellow.bmp 900\n", 0, {800, 900}, {{320, 'B'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        random_reset();
        for (int i = 0; i < c.draws_before; i++) random_value();
        delays.clear();
        SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 0, 200, 0));
        free_intro();
        load(c.script);
        play_intro(screen.surface);
        EXPECT_EQ(c.holds, delays);
        for (const Point& point : c.points) {
            char k = point.colour;
            EXPECT_TRUE(is_colour(screen.surface, point.x, 240, k == 'R' || k == 'Y' ? 200 : 0,
                                  k == 'Y' || k == 'G' ? 200 : 0, k == 'B' ? 200 : 0))
                << point.x;
        }
    }
}

TEST_F(IntroTest, NoStepForwardLeavesTheSlidesOut)
{
    load("krok1 0\nintro GFX/red.bmp 10\n");
    play_intro(screen.surface);
    EXPECT_TRUE(is_colour(screen.surface, 320, 240, 200, 0, 0));
    intro_script.transition_step = -4;
    slide_transition(intro_script.pictures[0].bitmap, menu_script.main_picture, screen.surface, 0);
    EXPECT_TRUE(is_colour(screen.surface, 320, 240, 200, 0, 0));
}

namespace {

void close_during_hold(ScriptedInput& input, Uint32 ms, void* user)
{
    IntroTest::record_delay(input, ms, user);
    scripted_push_quit(input);
}

}  // namespace

// A close request during the first slide's hold: nothing more of the intro
// is shown or waited for.
TEST_F(IntroTest, AClosedWindowCutsTheIntroShort)
{
    load("krok1 30\nintro GFX/red.bmp 2000\nintro GFX/yellow.bmp 3000\n");
    input.on_delay = close_during_hold;
    play_intro(screen.surface);
    EXPECT_EQ((std::vector<Uint32>{2000}), delays);
    EXPECT_TRUE(is_colour(screen.surface, 320, 240, 200, 0, 0));
    EXPECT_TRUE(is_colour(screen.surface, 639, 0, 200, 0, 0));
    EXPECT_EQ(1, input.quit_requests);
}

// The intro reads no input: a key pressed during it is left for the menu,
// and only the close request is taken.
TEST_F(IntroTest, AWaitingCloseRequestSkipsTheHoldAndLeavesTheKeys)
{
    load("krok1 30\nintro GFX/red.bmp 2000\n");
    scripted_push_key(input, SDLK_RETURN, 1, 13);
    scripted_push_quit(input);
    play_intro(screen.surface);
    EXPECT_TRUE(delays.empty());
    EXPECT_TRUE(is_colour(screen.surface, 320, 240, 200, 0, 0));
    EXPECT_TRUE(is_colour(screen.surface, 639, 0, 200, 0, 0));  // no slide into the menu
    ASSERT_EQ(1, input.count);
    EXPECT_EQ(SDL_KEYDOWN, input.queue[input.head].type);
}

TEST_F(IntroTest, ASlideStopsWhereItIsOnACloseRequest)
{
    SDL_Surface* red = load_bitmap("GFX/red.bmp", 0);
    intro_script.transition_step = 32;
    SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 0, 200, 0));
    scripted_push_quit(input);
    slide_transition(red, menu_script.main_picture, screen.surface, 1);
    EXPECT_TRUE(is_colour(screen.surface, 320, 240, 0, 200, 0));
    SDL_FreeSurface(red);
}

// The last frame of each kind of slide, 32 pixels a step: the old picture
// red, the new one green in its first 100 columns (or rows) and blue beyond.
// Left and right take 20 frames, the last 608 in; up and down 480 / 32 = 15,
// the last 448 in.
TEST_F(IntroTest, EachKindOfSlideStopsOneStepShortOfTheEnd)
{
    write_split_bmp("GFX/columns.bmp", false, 0, 200, 0, 0, 0, 200);
    write_split_bmp("GFX/rows.bmp", true, 0, 200, 0, 0, 0, 200);
    SDL_Surface* red = load_bitmap("GFX/red.bmp", 0);
    SDL_Surface* columns = load_bitmap("GFX/columns.bmp", 0);
    SDL_Surface* rows = load_bitmap("GFX/rows.bmp", 0);
    intro_script.transition_step = 32;
    // Four points along the slide's axis and the colour each shows: R red,
    // G green, B blue.
    const struct {
        int kind, points[4];
        const char* colours;
    } cases[] = {
        {0, {31, 32, 131, 132}, "RGGB"},    // the old picture's last 32 columns at the left edge
        {1, {67, 68, 607, 608}, "GBBR"},    // the new picture's rightmost 608 columns at the left edge
        {2, {31, 32, 131, 132}, "RGGB"},
        {3, {67, 68, 447, 448}, "GBBR"},    // the new picture's bottom 448 rows at the top
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        slide_transition(red, c.kind < 2 ? columns : rows, screen.surface, c.kind);
        for (int i = 0; i < 4; i++) {
            int x = c.kind < 2 ? c.points[i] : 320, y = c.kind < 2 ? 240 : c.points[i];
            char colour = c.colours[i];
            EXPECT_TRUE(is_colour(screen.surface, x, y, colour == 'R' ? 200 : 0, colour == 'G' ? 200 : 0,
                                  colour == 'B' ? 200 : 0))
                << i;
        }
    }
    SDL_FreeSurface(red);
    SDL_FreeSurface(columns);
    SDL_FreeSurface(rows);
}

namespace {

int credit_frames = 0;
void count_frame(SDL_Surface*)
{
    credit_frames++;
}

// A credits font 20 pixels high, made current as the outro does.
void credits_font()
{
    write_solid_bmp("GFX/font.bmp", 40, 20, 255, 255, 255);
    intro_script.font = load_bitmap("GFX/font.bmp", 1);
    set_current_font(intro_script.font);
    credit_frames = 0;
}

}  // namespace

// The frame that takes the top to 480 - step k stops once the block of lines
// and one font height (20) more are above the top edge; no step forward ends
// at once, and a spacing beyond a screen height is held to one.
TEST(Credits, TheWholeBlockOfLinesScrollsOut)
{
    TempDir dir;
    TestScreen screen;
    ScriptedSession session;  // the frames' waits take no time
    const struct {
        int step, spacing, lines, frames;
    } cases[] = {
        {4, 0, 0, 125},                       // 480 - 4k + 20 < 1 at k = 125
        {5, 40, 2, 116},                      // 480 - 5k + 80 + 20 < 1 at k = 116
        {0, 0, 0, 0},
        {-2, 0, 0, 0},
        {100, 1000000000, INTRO_LINES, 1445}, // 480 - 100k + 300 * 480 + 20 < 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        credits_font();
        intro_script.scroll_step = c.step;
        intro_script.line_spacing = c.spacing;
        intro_script.line_count = c.lines;
        scroll_credits(screen.surface, count_frame);
        EXPECT_EQ(c.frames, credit_frames);
        free_intro();
    }
}

namespace {

// Checks of two frames of the scroll: lines "AB" and "C", 40 apart, 5 pixels
// a frame, in white blocks 6 wide and rows top to top + 8.
struct CreditFrames {
    int frames = 0;
    std::vector<std::string> failures;
};
CreditFrames seen;

bool white_at(SDL_Surface* s, int x, int y)
{
    return pixel_at(s, x, y) == map_colour(s, 255, 255, 255);
}

void check_frame(SDL_Surface* s)
{
    seen.frames++;
    auto expect = [&](bool holds, const char* what) {
        if (!holds) seen.failures.push_back("frame " + std::to_string(seen.frames) + ": " + what);
    };
    if (seen.frames == 10) {  // top at 480 - 50 = 430
        expect(white_at(s, 314, 430) && white_at(s, 325, 438), "AB centred at 314 ... 325, rows 430 ... 438");
        expect(!white_at(s, 313, 434) && !white_at(s, 326, 434), "nothing beside AB");
        expect(white_at(s, 317, 470) && white_at(s, 322, 478) && !white_at(s, 316, 474), "C at 317, 40 lower");
    }
    if (seen.frames == 11) {  // top at 425: the frame before is wiped
        expect(white_at(s, 314, 425), "AB 5 pixels higher");
        expect(!white_at(s, 314, 436), "AB's old rows cleared");
    }
}

}  // namespace

TEST(Credits, LinesAreCentredAndSpacedAsTheyRise)
{
    TempDir dir;
    TestScreen screen;
    ScriptedSession session;
    write_block_font("GFX/font.bmp", 6, 10, 255, 255, 255);
    load("font GFX/font.bmp krok2 5 krok3 40 outro AB outro C\n");
    set_current_font(intro_script.font);
    seen = CreditFrames();
    scroll_credits(screen.surface, check_frame);
    EXPECT_EQ((std::vector<std::string>{}), seen.failures);
    // 480 - 5k + 80 + 10 < 1 first at k = 114, a game frame (25 ms) each.
    EXPECT_EQ(114, seen.frames);
    EXPECT_EQ(114u * 25, session.input.clock_ms);
    free_intro();
}

namespace {

// Closes the window once the third frame of the credits is shown.
void close_at_third_frame(SDL_Surface*)
{
    if (++credit_frames == 3) scripted_push_quit(*platform_scripted());
}

}  // namespace

// Closing the window while they roll skips the rest; after a close request
// that made the game leave they do not roll at all.
TEST(Credits, ClosingTheWindowSkipsThem)
{
    TempDir dir;
    TestScreen screen;
    ScriptedSession session;
    credits_font();
    intro_script.scroll_step = 4;
    scroll_credits(screen.surface, count_frame);
    EXPECT_EQ(125, credit_frames);

    credit_frames = 0;
    scroll_credits(screen.surface, close_at_third_frame);
    EXPECT_EQ(3, credit_frames);

    credit_frames = 0;
    scroll_credits(screen.surface, count_frame);
    EXPECT_EQ(0, credit_frames);
    free_intro();
}

TEST(Credits, TheOutroStopsTheGameWithoutItsFont)
{
    TempDir dir;
    TestScreen screen;
    intro_script.scroll_step = 3;
    EXPECT_EXIT(
        {
            if (freopen("out.txt", "w", stdout) == NULL) abort();
            play_outro(screen.surface);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ("The font has not been loaded!\n", read_file("out.txt"));
}
