#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <atomic>
#include <cstring>
#include <string>

#include "media.h"
#include "settings.h"
#include "support.h"

namespace {

class MediaTest : public ::testing::Test {
protected:
    void SetUp() override { settings = GameSettings(); }
    void TearDown() override
    {
        close_audio();
    }
    TestScreen screen;
    TempDir dir;
};

// A 4 x 2 picture: index 7 at the top-left corner and at (2, 1), index 1 elsewhere.
void write_keyed_picture()
{
    write_bmp8("GFX/keyed.bmp", 4, 2, {7, 1, 1, 1, 1, 1, 7, 1}, {{1, 200, 40, 40}, {7, 0, 255, 0}});
}

}  // namespace

TEST_F(MediaTest, ColourKeyMakesEveryPixelOfTheTopLeftIndexTransparent)
{
    write_keyed_picture();
    SDL_Surface* picture = load_bitmap("GFX/keyed.bmp", 1);
    ASSERT_NE(nullptr, picture);
    SDL_FillRect(screen.surface, NULL, map_colour(screen.surface, 0, 0, 255));
    draw_bitmap(picture, screen.surface, 10, 10);
    Uint32 blue = map_colour(screen.surface, 0, 0, 255);
    Uint32 red = map_colour(screen.surface, 200, 40, 40);
    EXPECT_EQ(blue, pixel_at(screen.surface, 10, 10));
    EXPECT_EQ(blue, pixel_at(screen.surface, 12, 11));
    EXPECT_EQ(red, pixel_at(screen.surface, 11, 10));
    // The key is set with run-length acceleration.
    EXPECT_NE(0u, picture->flags & SDL_RLEACCELOK);
    SDL_FreeSurface(picture);
}

// A strip of 150 x 6 in indexes 1 to 4, with the key 7 scattered through
// it. Index 4 is a green that the 16-bit screen rounds to the key's green,
// and a blit of the palettised picture still draws it.
TEST_F(MediaTest, KeyedPicturesDrawWhatABlitOfThePaletteIndexesDraws)
{
    const int w = 150, h = 6;
    std::vector<Uint8> pixels(w * h);
    for (int i = 0; i < w * h; i++) pixels[i] = i % 7 == 0 || i % 11 < 3 ? 7 : 1 + i % 4;
    write_bmp8("GFX/strip.bmp", w, h, pixels, {{1, 200, 40, 40}, {2, 10, 20, 250}, {3, 255, 255, 255},
                                               {4, 3, 254, 5}, {7, 0, 255, 0}});
    SDL_Surface* picture = load_bitmap("GFX/strip.bmp", 1);
    ASSERT_NE(nullptr, picture);
    SDL_Surface* indexes = SDL_LoadBMP("GFX/strip.bmp");
    SDL_SetColorKey(indexes, SDL_SRCCOLORKEY, 7);
    const SDL_PixelFormat* f = screen.surface->format;
    SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    struct Row {
        int sx, sy, sw, sh, dx, dy;
    } rows[] = {
        {0, 0, w, h, 10, 10},        {40, 0, 50, h, 100, 50},        {130, 2, 20, 3, 0, 0},
        {0, 0, w, h, -70, -3},       {0, 0, w, h, 600, 476},         {-10, -2, 80, h, 5, 5},
        {100, 0, 60, 9, 300, 300},   {60, 0, 5, h, 200, 100},        {-32767, 0, 65535, h, 32767, 20},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.sx << "," << r.sy << " " << r.sw << "x" << r.sh << " at " << r.dx << ","
                                        << r.dy);
        SDL_FillRect(screen.surface, NULL, 0x1234);
        SDL_FillRect(expected, NULL, 0x1234);
        draw_bitmap_part(picture, r.sx, r.sy, r.sw, r.sh, screen.surface, r.dx, r.dy);
        SDL_Rect part = make_rect(r.sx, r.sy, r.sw, r.sh), at = make_rect(r.dx, r.dy, 0, 0);
        SDL_BlitSurface(indexes, &part, expected, &at);
        EXPECT_EQ(0, memcmp(expected->pixels, screen.surface->pixels, (size_t)480 * expected->pitch));
    }
    // The last row's source column -32767 sends the destination round the
    // 16-bit field to -2: column 3, index 4, lands at x 1.
    EXPECT_EQ(map_colour(screen.surface, 3, 254, 5), pixel_at(screen.surface, 1, 20));
    SDL_FreeSurface(expected);
    SDL_FreeSurface(indexes);
    SDL_FreeSurface(picture);
}

TEST_F(MediaTest, WithoutTheKeyEveryPixelIsDrawn)
{
    write_keyed_picture();
    SDL_Surface* picture = load_bitmap("GFX/keyed.bmp", 0);
    ASSERT_NE(nullptr, picture);
    draw_bitmap(picture, screen.surface, 10, 10);
    EXPECT_EQ(map_colour(screen.surface, 0, 255, 0), pixel_at(screen.surface, 10, 10));
    EXPECT_EQ(map_colour(screen.surface, 0, 255, 0), pixel_at(screen.surface, 12, 11));
    SDL_FreeSurface(picture);
}

TEST_F(MediaTest, MissingPictureGivesOneErrorLineWithTheReason)
{
    SDL_Surface* picture = NULL;
    Captured output = capture([&] { picture = load_bitmap("GFX/none.bmp", 1); });
    EXPECT_EQ(nullptr, picture);
    EXPECT_EQ("", output.out);
    EXPECT_EQ("Nemohu nahrat soubor : GFX/none.bmp. Chyba: Couldn't open GFX/none.bmp\n", output.err);
}

TEST_F(MediaTest, FarOffCoordinatesNeverWrapOntoTheScreen)
{
    write_solid_bmp("GFX/solid.bmp", 8, 8, 255, 255, 255);
    SDL_Surface* picture = load_bitmap("GFX/solid.bmp", 0);
    SDL_FillRect(screen.surface, NULL, 0);
    // 65636 would wrap to 100 in a 16-bit field.
    draw_bitmap(picture, screen.surface, 65636, 100);
    EXPECT_EQ(0u, pixel_at(screen.surface, 100, 100));
    SDL_Rect rect = make_rect(40000, -40000, -5, 70000);
    EXPECT_EQ((std::vector<long long>{32767, -32768, 0, 65535}),
              (std::vector<long long>{rect.x, rect.y, rect.w, rect.h}));
    SDL_FreeSurface(picture);
}

TEST_F(MediaTest, SoundsWithNullInTheNameAreEmptyWithoutAWord)
{
    ASSERT_TRUE(open_audio());
    Captured output = capture([] {
        EXPECT_EQ(nullptr, load_sound("SFX/NULL.wav"));
        EXPECT_EQ(nullptr, load_sound("NULL"));
    });
    EXPECT_EQ("", output.out);
    EXPECT_EQ("", output.err);
}

TEST_F(MediaTest, WithAudioOffNoSoundIsLoadedPlayedOrStopped)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/ping.wav", 100000);
    Mix_Chunk* ping = load_sound("SFX/ping.wav");
    ASSERT_NE(nullptr, ping);
    play_sound(ping, 5, 0);
    ASSERT_EQ(1, Mix_Playing(5));

    settings.sound = 0;
    Captured output = capture([&] {
        EXPECT_EQ(nullptr, load_sound("SFX/ping.wav"));
        EXPECT_EQ(nullptr, load_sound("SFX/missing.wav"));
        play_sound(ping, 4, 0);
        stop_all_sounds();
    });
    EXPECT_EQ("", output.out);
    EXPECT_EQ("", output.err);
    EXPECT_EQ(0, Mix_Playing(4));
    EXPECT_EQ(1, Mix_Playing(5));  // not stopped either

    settings.sound = 1;
    stop_all_sounds();
    EXPECT_EQ(0, Mix_Playing(5));
    Mix_FreeChunk(ping);
}

TEST_F(MediaTest, LoadedSoundIsLoggedAndMissingOneReported)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/ping.wav", 2000);
    Mix_Chunk* ping = NULL;
    Captured output = capture([&] {
        ping = load_sound("SFX/ping.wav");
        EXPECT_EQ(nullptr, load_sound("SFX/missing.wav"));
    });
    ASSERT_NE(nullptr, ping);
    EXPECT_EQ("Nahran zvuk SFX/ping.wav\n", output.out);
    EXPECT_EQ("Nemohu nahrat soubor : SFX/missing.wav !!!\n", output.err);
    Mix_FreeChunk(ping);
}

TEST_F(MediaTest, SecondSoundOnAChannelCutsTheFirstOff)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/long.wav", 100000);
    write_wav("SFX/other.wav", 100000);
    Mix_Chunk* first = load_sound("SFX/long.wav");
    Mix_Chunk* second = load_sound("SFX/other.wav");
    play_sound(first, 4, 0);
    EXPECT_EQ(first, Mix_GetChunk(4));
    play_sound(second, 4, 0);
    EXPECT_EQ(second, Mix_GetChunk(4));
    EXPECT_EQ(1, Mix_Playing(4));
    EXPECT_EQ(0, Mix_Playing(3));
    stop_all_sounds();
    EXPECT_EQ(0, Mix_Playing(-1));
    Mix_FreeChunk(first);
    Mix_FreeChunk(second);
}

namespace {

// Bytes of a channel's sound that the mixer has played, counted by an effect
// on the channel (the mixer runs it on its own thread).
std::atomic<int> bytes_played(0);

void count_bytes(int, void*, int len, void*)
{
    bytes_played += len;
}

// Plays the sound with the repeat count on channel 2 and waits until it has
// ended; returns how many times it was heard.
double times_played(Mix_Chunk* sound, int repeats)
{
    bytes_played = 0;
    Mix_RegisterEffect(2, count_bytes, NULL, NULL);
    play_sound(sound, 2, repeats);
    for (int waited = 0; Mix_Playing(2) && waited < 5000; waited += 10) SDL_Delay(10);
    return (double)bytes_played / sound->alen;
}

}  // namespace

TEST_F(MediaTest, FiniteRepeatsPlayTheSoundOneTimeMore)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/tick.wav", 300);
    Mix_Chunk* tick = load_sound("SFX/tick.wav");
    ASSERT_NE(nullptr, tick);
    EXPECT_EQ(1.0, times_played(tick, 0));
    EXPECT_EQ(3.0, times_played(tick, 2));
    Mix_FreeChunk(tick);
}

TEST_F(MediaTest, RepeatsMakeTheSoundLoop)
{
    ASSERT_TRUE(open_audio());
    write_wav("SFX/engine.wav", 200);
    Mix_Chunk* engine = load_sound("SFX/engine.wav");
    play_sound(engine, 5, -1);
    SDL_Delay(200);  // many times the sound's length: a looping sound still plays
    EXPECT_EQ(1, Mix_Playing(5));
    stop_all_sounds();
    Mix_FreeChunk(engine);
}
