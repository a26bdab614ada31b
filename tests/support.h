#ifndef ABYSSOR_TEST_SUPPORT_H
#define ABYSSOR_TEST_SUPPORT_H

#include <SDL/SDL.h>

#include <string>
#include <vector>

// A fresh temporary folder that is the working directory while it lives, so
// that tests can lay out SCRIPT/ and media the way the game finds them.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

void write_file(const std::string& path, const std::string& content);
// Copies the game's own data set (SCRIPT, GFX, SFX) from the run folder into
// the working directory; false when the run folder has not been built.
bool copy_data_set();
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);

// Opens the 640 x 480 x 16 screen on SDL's dummy driver and makes it the
// game's screen. Closes it again at the end of the test.
class TestScreen {
public:
    TestScreen();
    ~TestScreen();
    SDL_Surface* surface;
};

// Writes an 8-bit palettised BMP. Pixels are palette indices, row by row;
// the palette holds colours (r, g, b) for the indices given, black elsewhere.
struct PaletteColour {
    int index;
    Uint8 r, g, b;
};
void write_bmp8(const std::string& path, int w, int h, const std::vector<Uint8>& pixels,
                const std::vector<PaletteColour>& palette);
// A w x h picture in one palette index (colour given) with the top-left pixel
// in index 0 (black), handy for colour keys.
void write_solid_bmp(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b);

// Writes a font picture whose 109 glyphs are solid blocks glyph_width pixels
// wide in one colour, between marker runs two pixels wide; black is
// transparent. Text drawn with it shows as a bar of blocks from the pen on,
// rows y to y + height - 2.
void write_block_font(const std::string& path, int glyph_width, int height, Uint8 r, Uint8 g, Uint8 b);

// Writes a short 8-bit mono WAV at 11025 Hz.
void write_wav(const std::string& path, int samples);

Uint32 pixel_at(SDL_Surface* surface, int x, int y);
Uint32 map_colour(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b);

// Runs a call with standard output and standard error captured apart.
struct Captured {
    std::string out;
    std::string err;
};
template <typename Call>
Captured capture(Call call);

#include <gtest/gtest.h>

template <typename Call>
Captured capture(Call call)
{
    fflush(stdout);
    fflush(stderr);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    call();
    fflush(stdout);
    fflush(stderr);
    Captured result;
    result.out = testing::internal::GetCapturedStdout();
    result.err = testing::internal::GetCapturedStderr();
    return result;
}

// A value the game holds, under its name, beside what it should be. Taken
// as a number, so that the fields of a record compare in one list; a pointer
// is given as whether it is set.
struct Field {
    template <typename Expected, typename Actual>
    Field(const char* name, Expected expected, Actual actual) : name(name), expected((double)expected), actual((double)actual) {}
    const char* name;
    double expected, actual;
};
// Each field that does not hold what it should fails the test at the
// caller's line, by name: "heading is 1, should be 2".
void expect_fields(const char* file, int line, std::initializer_list<Field> fields);
#define EXPECT_FIELDS(...) expect_fields(__FILE__, __LINE__, {__VA_ARGS__})

// Writes a script and reads it with the loader given, capturing what the
// loader printed.
Captured load_script(const std::string& path, const std::string& text, void (*load)(const char* path));

// The lines of a log, each behind the same prefix and ended by a line feed.
std::string prefixed_lines(const std::string& prefix, std::initializer_list<const char*> lines);

// Opens the audio device as the game does (11025 Hz, 8 bits, stereo) and
// turns sound on; close_audio halts every channel and turns it off again.
bool open_audio();
void close_audio();

// A w x h 16-bit software surface in one colour.
SDL_Surface* solid_surface(int w, int h, Uint8 r, Uint8 g, Uint8 b);

#include "platform.h"
#include "scripted_input.h"

// The shooting starts afresh: default settings with a heat limit of 100 and
// no air resistance, a cold gun, no bonus effects, frame 0, score 0, the
// generator from its start and an empty shot pool.
void fresh_shooting();

// How many times a part stands in a text.
int occurrences(const std::string& text, const std::string& part);

// The events queued so far are held back until the game waits for one with
// none queued: the player answers a still screen once it shows (what was
// queued before it showed is dropped). The wait hook set before still runs.
void answer_when_shown(ScriptedInput& input);

// Scripted input that is the game's input while it lives.
struct ScriptedSession {
    ScriptedInput input;
    ScriptedSession();
    ~ScriptedSession();
    void press(SDLKey key, Uint16 character = 0) { scripted_push_key(input, key, 1, character); }
    void release(SDLKey key) { scripted_push_key(input, key, 0, 0); }
    void tap(SDLKey key, Uint16 character = 0)
    {
        press(key, character);
        release(key);
    }
};

#endif
