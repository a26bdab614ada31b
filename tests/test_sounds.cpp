#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <stdlib.h>

#include <atomic>
#include <vector>

#include "settings.h"
#include "sounds.h"
#include "support.h"

namespace {

// Bytes of a channel's sound that the mixer has played, counted by an effect
// on the channel (the mixer runs it on its own thread), and the sign its
// post-mix hook gives once channel 2 is silent after a buffer.
std::atomic<int> bytes_played(0);
std::atomic<bool> awaiting_silence(false);
SDL_sem* silent = NULL;

// Plays the sound with the repeat count on channel 2 until it has ended;
// how many times it was heard. The mixer runs only meanwhile.
double times_played(Mix_Chunk* sound, int repeats)
{
    bytes_played = 0;
    Mix_RegisterEffect(2, [](int, void*, int len, void*) { bytes_played += len; }, NULL, NULL);
    play_sound(sound, 2, repeats);
    awaiting_silence = true;
    SDL_PauseAudio(0);
    EXPECT_EQ(0, SDL_SemWaitTimeout(silent, 5000)) << "the sound ended";  // at once, but for a sound that never ends
    SDL_PauseAudio(1);
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
    // The mixer runs as fast as it can, into nothing, and only while a sound
    // is to be heard to its end: no sound is waited for in real time.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    ASSERT_TRUE(open_audio());
    SDL_PauseAudio(1);
    silent = SDL_CreateSemaphore(0);
    Mix_SetPostMix([](void*, Uint8*, int) { if (!Mix_Playing(2) && awaiting_silence.exchange(false)) SDL_SemPost(silent); }, NULL);
    write_wav("SFX/long.wav", 100000);
    write_wav("SFX/tick.wav", 300);
    Mix_Chunk* sounds[3];
    capture([&] { for (int i = 0; i < 3; i++) sounds[i] = load_sound(i < 2 ? "SFX/long.wav" : "SFX/tick.wav"); });
    EXPECT_EQ(nullptr, load_sound("SFX/NULL.wav"));
    EXPECT_EQ(1.0, times_played(sounds[2], 0)) << "times heard without repeats";
    EXPECT_EQ(3.0, times_played(sounds[2], 2)) << "times heard with two repeats";
    play_sound(sounds[0], 0, 0);
    play_sound(sounds[1], 0, 0);
    EXPECT_EQ(sounds[1], Mix_GetChunk(0)) << "the second sound on channel 0";
    EXPECT_EQ(1, Mix_Playing(-1)) << "channels playing";
    settings.sound = 0;
    Captured log = capture([&] {
        EXPECT_EQ(nullptr, load_sound("SFX/long.wav"));
        EXPECT_EQ(nullptr, load_sound("SFX/missing.wav"));
        play_sound(sounds[0], 4, 0);
        stop_all_sounds();
    });
    EXPECT_EQ("", log.out + log.err);
    EXPECT_EQ(0, Mix_Playing(4)) << "the sound played with audio off";
    EXPECT_EQ(1, Mix_Playing(0)) << "the sound playing from before, not stopped";
    settings.sound = 1;
    stop_all_sounds();
    EXPECT_EQ(0, Mix_Playing(-1));
    Mix_SetPostMix(NULL, NULL);
    close_audio();
    SDL_DestroySemaphore(silent);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
    for (Mix_Chunk*& sound : sounds) release_sound(sound);
    EXPECT_EQ((std::vector<Mix_Chunk*>{NULL, NULL, NULL}), std::vector<Mix_Chunk*>(sounds, sounds + 3));
}
