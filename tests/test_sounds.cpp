#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <atomic>
#include <vector>

#include "settings.h"
#include "sounds.h"
#include "support.h"

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
// sound is loaded, played or stopped, but what was loaded is still released
// (the sanitizer build finds a sound left behind).
TEST(SoundsTest, SoundsPlayOnTheirChannelsWhileAudioIsOn)
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
    for (Mix_Chunk*& sound : sounds) release_sound(sound);
    EXPECT_EQ((std::vector<Mix_Chunk*>{NULL, NULL, NULL}), std::vector<Mix_Chunk*>(sounds, sounds + 3));
}
