#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <atomic>
#include <cstring>
#include <string>

#include "media.h"
#include "settings.h"
#include "support.h"

// A strip of 150 x 6 in indexes 1 to 4 with the key 7, its top-left index,
// scattered through it; index 4 is a green that the 16-bit screen rounds to
// the key's green, and a blit of the palettised picture still draws it.
// Far-off places and parts are held in the 16-bit fields. Each row: part, place.
TEST(MediaTest, KeyedPicturesDrawWhatABlitOfThePaletteIndexesDraws)
{
    TempDir dir;
    TestScreen screen;
    const int w = 150, h = 6;
    std::vector<Uint8> pixels(w * h);
    for (int i = 0; i < w * h; i++) pixels[i] = i % 7 == 0 || i % 11 < 3 ? 7 : 1 + i % 4;
    pixels[1] = 2;
    write_bmp8("GFX/strip.bmp", w, h, pixels, {{1, 200, 40, 40}, {2, 10, 20, 250}, {3, 255, 255, 255}, {4, 3, 254, 5}, {7, 0, 255, 0}});
    SDL_Surface* picture = load_bitmap("GFX/strip.bmp", 1);
    SDL_Surface* indexes = SDL_LoadBMP("GFX/strip.bmp");
    SDL_SetColorKey(indexes, SDL_SRCCOLORKEY, 7);
    const SDL_PixelFormat* f = screen.surface->format;
    SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    const struct {
        int sx, sy, sw, sh, dx, dy;
    } rows[] = {{0, 0, w, h, 10, 10},      {40, 0, 50, h, 100, 50},      {130, 2, 20, 3, 0, 0},
                {0, 0, w, h, -70, -3},     {0, 0, w, h, 600, 476},       {-10, -2, 80, h, 5, 5},
                {100, 0, 60, 9, 300, 300}, {60, 0, 5, h, 200, 100},      {-32767, 0, 65535, h, 32767, 20}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.sx << "," << r.sy << " " << r.sw << "x" << r.sh << " at " << r.dx << "," << r.dy);
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

namespace {

// Bytes of a channel's sound that the mixer has played, counted by an effect
// on the channel (the mixer runs it on its own thread).
std::atomic<int> bytes_played(0);

// Plays the sound with the repeat count on channel 2 until it has ended;
// how many times it was heard.
double times_played(Mix_Chunk* sound, int repeats)
{
    bytes_played = 0;
    Mix_RegisterEffect(2, [](int, void*, int len, void*) { bytes_played += len; }, NULL, NULL);
    play_sound(sound, 2, repeats);
    for (int waited = 0; Mix_Playing(2) && waited < 5000; waited += 10) SDL_Delay(10);
    return (double)bytes_played / sound->alen;
}

}  // namespace

// A second sound on a channel cuts the first off; finite repeats play the
// sound one time more; names with NULL load nothing. With audio off no
// sound is loaded, played or stopped.
TEST(MediaTest, SoundsPlayOnTheirChannelsWhileAudioIsOn)
{
    TempDir dir;
    settings = GameSettings();
    ASSERT_TRUE(open_audio());
    write_wav("SFX/long.wav", 100000);
    write_wav("SFX/tick.wav", 300);
    Mix_Chunk* sounds[3];
    capture([&] { for (int i = 0; i < 3; i++) sounds[i] = load_sound(i < 2 ? "SFX/long.wav" : "SFX/tick.wav"); });
    EXPECT_EQ(nullptr, load_sound("SFX/NULL.wav"));
    play_sound(sounds[0], 0, 0);
    play_sound(sounds[1], 0, 0);
    EXPECT_EQ((std::vector<long long>{(long long)sounds[1], 1}), (std::vector<long long>{(long long)Mix_GetChunk(0), Mix_Playing(-1)}));
    EXPECT_EQ((std::vector<double>{1.0, 3.0}), (std::vector<double>{times_played(sounds[2], 0), times_played(sounds[2], 2)}));
    settings.sound = 0;
    Captured log = capture([&] {
        EXPECT_EQ(nullptr, load_sound("SFX/long.wav"));
        EXPECT_EQ(nullptr, load_sound("SFX/missing.wav"));
        play_sound(sounds[0], 4, 0);
        stop_all_sounds();
    });
    EXPECT_EQ("", log.out + log.err);
    EXPECT_EQ((std::vector<int>{0, 1}), (std::vector<int>{Mix_Playing(4), Mix_Playing(0)}));
    settings.sound = 1;
    stop_all_sounds();
    EXPECT_EQ(0, Mix_Playing(-1));
    close_audio();
    for (Mix_Chunk* sound : sounds) Mix_FreeChunk(sound);
}
