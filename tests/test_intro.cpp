#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font.h"
#include "game_state.h"
#include "intro.h"
#include "media.h"
#include "menu.h"
#include "platform.h"
#include "random.h"
#include "support.h"

namespace {

Captured load(const std::string& text) { return load_script("SCRIPT/in.scr", text, load_intro); }

// Colours by letter: Red, Yellow, Green, Blue, anything else black.
PaletteColour paint(int index, char k)
{
    return {index, (Uint8)(k == 'R' || k == 'Y' ? 200 : 0), (Uint8)(k == 'Y' || k == 'G' ? 200 : 0), (Uint8)(k == 'B' ? 200 : 0)};
}

Uint32 colour(char k) { return map_colour(game.screen, paint(0, k).r, paint(0, k).g, paint(0, k).b); }

// A full-screen picture in colour a where x < 100 (with rows: y < 100), b elsewhere.
void write_split(const std::string& path, bool rows, char a, char b)
{
    std::vector<Uint8> pixels(640 * 480);
    for (int i = 0; i < 640 * 480; i++) pixels[i] = (rows ? i / 640 : i % 640) < 100 ? 1 : 2;
    write_bmp8(path, 640, 480, pixels, {paint(1, a), paint(2, b)});
}

// The holds the intro waits for, the colour in the middle during each, and
// the frames of the slides (waits of 25 ms); a close request at a hold.
struct Holds {
    std::vector<Uint32> ms;
    std::string shown;
    int frames = 0;
    bool close = false;
} holds;

// The colour at a point by its letter; '?' for any other.
char letter_at(int x, int y)
{
    const char* k = "RYBG";
    while (*k != 0 && pixel_at(game.screen, x, y) != colour(*k)) k++;
    return *k != 0 ? *k : '?';
}

void record_hold(ScriptedInput& input, Uint32 ms, void*)
{
    if (ms == 25) return (void)holds.frames++;
    holds.ms.push_back(ms);
    holds.shown += letter_at(320, 240);
    if (holds.close) scripted_push_quit(input);
}

}  // namespace

// Hold times keep their low 16 bits; credit lines are cut to 99 bytes;
// the slides are not keyed, the font is. Slides and lines beyond the
// tables are read past: the last slides' names and the 301st line hold
// keys of the file, but they are values, not keys.
TEST(IntroScript, ReadsSlidesCreditsStepsAndFont)
{
    TempDir dir;
    write_solid_bmp("GFX/intro/a.bmp", 64, 48, 200, 0, 0);
    write_solid_bmp("GFX/font.bmp", 30, 12, 255, 255, 255);
    std::string text = "font GFX/font.bmp\nkrok1 32\nkrok2 3\nkrok3 40\nintro GFX/intro/a.bmp 2000\nintro GFX/intro/a.bmp 70000\n"
                       "outro ABYSSOR\noutro N\xe1m\xec" "t\noutro ~\noutro " + std::string(150, 'x') + "\n";
    for (int i = 0; i < 10; i++) text += "intro GFX/intro/a.bmp " + std::to_string(100 + i) + "\n";
    for (int i = 0; i < 298; i++) text += "outro krok2" + std::to_string(i) + "\n";
    Captured log = load(text);
    EXPECT_EQ("", log.out + log.err);
    const IntroScript& s = intro_script;
    EXPECT_FIELDS({"krok1", 32, s.transition_step}, {"krok2", 3, s.scroll_step}, {"krok3", 40, s.line_spacing},
                  {"slides", INTRO_PICTURES, s.picture_count}, {"the first slide's hold", 2000, s.pictures[0].hold_ms},
                  {"the second slide's hold", 70000 - 65536, s.pictures[1].hold_ms},
                  {"the last slide's hold", 107, s.pictures[9].hold_ms}, {"the second slide's width", 64, s.pictures[1].bitmap->w},
                  {"the first slide keyed", 0, s.pictures[0].bitmap->flags & SDL_SRCCOLORKEY},
                  {"credit lines", INTRO_LINES, s.line_count}, {"the font keyed", SDL_SRCCOLORKEY, s.font->flags & SDL_SRCCOLORKEY});
    EXPECT_EQ((std::vector<std::string>{"ABYSSOR", "N\xe1m\xect", "~", std::string(99, 'x'), "krok2295"}),
              (std::vector<std::string>{s.lines[0], s.lines[1], s.lines[2], s.lines[3], s.lines[299]}));
    free_intro();
    EXPECT_EQ("Nemohu nahrat soubor : SCRIPT/none.scr\n", capture([] { load_intro("SCRIPT/none.scr"); }).err);
    EXPECT_EQ(0, s.picture_count + s.line_count);
}

// Each slide is held for its time, then slides (left or right as the
// generator's next value is even or odd) into the next and from the last
// into the blue menu, a step a game frame: 640 / 30 = 21 frames, the last
// 600 pixels in, each paced but the first after a hold (the generator's
// first values, 41 and 18467, are odd). A missing slide is held blank and
// left out of the slides; no step forward leaves the slides out; a close
// request at a hold ends the intro there, and one waiting already skips
// the holds and the slides. The intro reads no input: keys are left for
// the menu.
TEST(IntroTest, SlidesAreHeldAndSlideAsTheScriptAndTheGeneratorSay)
{
    TempDir dir;
    TestScreen screen;
    write_split("GFX/red.bmp", false, 'R', 'R');
    write_split("GFX/yellow.bmp", false, 'Y', 'Y');
    write_split("GFX/blue.bmp", false, 'B', 'B');
    menu_script.main_picture = load_bitmap("GFX/blue.bmp", 0);
    const struct {
        const char* script;
        bool close;
        std::vector<Uint32> holds;
        const char* shown;
        int frames;            // -1: not counted
        const char* row_240;   // the colour at x = 0, 31, 32, 300, 599, 601, 609, 639; G the screen before
        bool waiting = false;  // a key and a close request wait before the intro
    } cases[] = {
        {"krok1 30\nintro GFX/red.bmp 2000\nintro GFX/yellow.bmp 70000\n", false, {2000, 4464}, "RY", 40, "BBBBBYYY"},
        {"krok1 32\n", false, {}, "", 0, "GGGGGGGG"},
        {"krok1 32\nintro GFX/none.bmp 800\nintro GFX/yellow.bmp 900\n", false, {800, 900}, "GY", -1, "BBBBBBYY"},
        {"krok1 0\nintro GFX/red.bmp 10\n", false, {10}, "R", 0, "RRRRRRRR"},
        {"krok1 30\nintro GFX/red.bmp 2000\nintro GFX/yellow.bmp 3000\n", true, {2000}, "R", 0, "RRRRRRRR"},
        {"krok1 30\nintro GFX/red.bmp 2000\n", true, {}, "", 0, "RRRRRRRR", true},
    };
    ScriptedSession session;  // one clock for all: the frames keep their pace
    session.input.on_delay = record_hold;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        random_reset();
        holds = Holds();
        holds.close = c.close;
        SDL_FillRect(screen.surface, NULL, colour('G'));
        free_intro();
        load(c.script);
        int quits = session.input.quit_requests;
        if (c.waiting) {
            scripted_push_key(session.input, SDLK_RETURN, 1, 13);
            scripted_push_quit(session.input);
        }
        play_intro(screen.surface);
        EXPECT_EQ(c.holds, holds.ms);
        EXPECT_EQ(c.shown, holds.shown);
        if (c.frames >= 0) {
            EXPECT_EQ(c.frames, holds.frames);
        }
        std::string row;
        for (int x : {0, 31, 32, 300, 599, 601, 609, 639}) row += letter_at(x, 240);
        EXPECT_EQ(c.row_240, row);
        EXPECT_EQ(c.close ? 1 : 0, session.input.quit_requests - quits);
    }
    // The key is dropped with the request; the request still stands and stops a slide where it is.
    EXPECT_EQ(0, session.input.count);
    SDL_FillRect(screen.surface, NULL, 0);
    slide_transition(intro_script.pictures[0].bitmap, intro_script.pictures[0].bitmap, screen.surface, 1);
    EXPECT_EQ(0u, pixel_at(screen.surface, 320, 240));
    free_intro();
}

// The last frame of each kind of slide, 32 pixels a step, from a picture
// green in its first 100 columns (rows) and blue beyond into one red and
// yellow alike. Left and right take 20 frames, the last 608 in; up and down
// 480 / 32 = 15, the last 448 in.
TEST(IntroTest, EachKindOfSlideStopsOneStepShortOfTheEnd)
{
    TempDir dir;
    TestScreen screen;
    ScriptedSession session;  // the frames' pacing takes no time
    SDL_Surface* pictures[4];
    for (int i = 0; i < 4; i++) {
        write_split("p.bmp", i >= 2, i % 2 ? 'R' : 'G', i % 2 ? 'Y' : 'B');
        pictures[i] = load_bitmap("p.bmp", 0);
    }
    intro_script.transition_step = 32;
    const struct {
        const char* what;
        int kind, points[4];  // along the slide's axis
        const char* colours;
    } cases[] = {{"left", 0, {31, 32, 131, 132}, "BRRY"}, {"right", 1, {67, 68, 607, 608}, "RYYG"},
                 {"up", 2, {31, 32, 131, 132}, "BRRY"}, {"down", 3, {67, 68, 447, 448}, "RYYG"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        slide_transition(pictures[c.kind < 2 ? 0 : 2], pictures[c.kind < 2 ? 1 : 3], screen.surface, c.kind);
        std::string seen;
        for (int p : c.points) seen += letter_at(c.kind < 2 ? p : 320, c.kind < 2 ? 240 : p);
        EXPECT_EQ(c.colours, seen) << "the colours at " << c.points[0] << ", " << c.points[1] << ", " << c.points[2] << ", "
                                   << c.points[3] << (c.kind < 2 ? " across" : " down");
    }
    for (SDL_Surface* picture : pictures) SDL_FreeSurface(picture);
}

namespace {

// The credits' frames shown; the window is closed at frame close_at.
int frames_shown, close_at;
void show_frame(SDL_Surface*)
{
    if (++frames_shown == close_at) scripted_push_quit(*platform_scripted());
}

}  // namespace

// The credits end once the block of lines and one font height (20) more
// are above the top edge: no step forward ends at once; a spacing beyond a
// screen height is held to one. Closing the window skips the rest, and the
// request left standing skips them all.
TEST(Credits, TheWholeBlockOfLinesScrollsOutUnlessTheWindowCloses)
{
    TempDir dir;
    TestScreen screen;
    ScriptedSession session;  // the frames' waits take no time
    write_solid_bmp("GFX/font.bmp", 40, 20, 255, 255, 255);
    const struct {
        const char* what;
        int step, spacing, lines, close_at, frames;
    } cases[] = {
        {"no step", 0, 0, 0, 0, 0}, {"a step back", -2, 0, 0, 0, 0},
        {"a spacing beyond the screen", 100, 1000000000, INTRO_LINES, 0, 1445},  // 480 - 100k + 300 x 480 + 20 < 1
        {"closed at the third frame", 4, 0, 0, 3, 3}, {"the request left standing", 4, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        intro_script.font = load_bitmap("GFX/font.bmp", 1);
        set_current_font(intro_script.font);
        intro_script.scroll_step = c.step;
        intro_script.line_spacing = c.spacing;
        intro_script.line_count = c.lines;
        frames_shown = 0;
        close_at = c.close_at;
        scroll_credits(screen.surface, show_frame);
        EXPECT_EQ(c.frames, frames_shown);
        free_intro();
    }
}
