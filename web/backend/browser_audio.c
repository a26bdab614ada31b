/* The audio driver of the browser build, without a thread: whenever the
 * program hands the browser control, SDL's mixing callback runs until the
 * page's sound queue holds a little ahead, and the page plays what it got.
 * Until the page may play sound (browsers wait for the first click or key),
 * the mixer still runs at the pace of the clock and its output is dropped, so
 * sounds neither pile up nor start late. */
#include "SDL_config.h"

#include "SDL_audio.h"
#include "../SDL_audio_c.h"
#include "../SDL_sysaudio.h"

#include "browser.h"

/* The driver's functions name their device "_this". */
#define _THIS SDL_AudioDevice* _this

#define BROWSER_AUDIO_DRIVER_NAME "browser"
/* Some browsers refuse to play sound at lower rates; the mixer converts. */
#define LOWEST_FREQUENCY 22050

struct SDL_PrivateAudioData {
    int unused;
};

static SDL_AudioDevice* current_audio_device = NULL;
static Uint8* mix_buffer = NULL;
static SDL_AudioSpec* opened_format = NULL;

static int BROWSERAUD_Available(void)
{
    return 1;
}

static int BROWSERAUD_OpenAudio(_THIS, SDL_AudioSpec* wanted)
{
    if (wanted->freq < LOWEST_FREQUENCY) wanted->freq = LOWEST_FREQUENCY;
    if (wanted->channels > 2) wanted->channels = 2;
    if (wanted->format != AUDIO_U8 && wanted->format != AUDIO_S8 && wanted->format != AUDIO_S16LSB) wanted->format = AUDIO_S16LSB;
    SDL_CalculateAudioSpec(wanted);
    mix_buffer = SDL_malloc(wanted->size);
    if (mix_buffer == NULL) {
        SDL_OutOfMemory();
        return -1;
    }
    if (!browser_audio_open(wanted->freq, wanted->channels, wanted->format, wanted->samples)) {
        SDL_free(mix_buffer);
        mix_buffer = NULL;
        SDL_SetError("The browser has no audio");
        return -1;
    }
    current_audio_device = _this;
    /* SDL hands over the device's own format record, which keeps the
     * buffer size, silence and callback the mixing needs. */
    opened_format = wanted;
    /* 1: SDL starts no mixing thread. */
    return 1;
}

static void BROWSERAUD_CloseAudio(_THIS)
{
    browser_audio_close();
    current_audio_device = NULL;
    opened_format = NULL;
    SDL_free(mix_buffer);
    mix_buffer = NULL;
}

/* One buffer as SDL's mixing thread makes it, converted if SDL asked for a
 * conversion. */
static void mix_one(SDL_AudioDevice* audio)
{
    Uint8* stream = mix_buffer;
    int length = opened_format->size;
    Uint8 silence = opened_format->silence;
    if (audio->convert.needed) {
        if (audio->convert.buf == NULL) return;
        stream = audio->convert.buf;
        length = audio->convert.len;
        silence = audio->convert.src_format == AUDIO_U8 ? 0x80 : 0;
    }
    SDL_memset(stream, silence, length);
    if (!audio->paused) opened_format->callback(opened_format->userdata, stream, length);
    if (audio->convert.needed) {
        SDL_ConvertAudio(&audio->convert);
        browser_audio_play(audio->convert.buf, audio->convert.len_cvt);
    } else {
        browser_audio_play(stream, length);
    }
}

void browser_audio_pump(void)
{
    SDL_AudioDevice* audio = current_audio_device;
    if (audio == NULL || opened_format == NULL || !audio->enabled) return;
    for (int wanted = browser_audio_chunks_wanted(); wanted > 0; wanted--) mix_one(audio);
}

static void BROWSERAUD_DeleteDevice(SDL_AudioDevice* device)
{
    if (current_audio_device == device) current_audio_device = NULL;
    SDL_free(device->hidden);
    SDL_free(device);
}

static SDL_AudioDevice* BROWSERAUD_CreateDevice(int devindex)
{
    SDL_AudioDevice* device = SDL_calloc(1, sizeof(SDL_AudioDevice));
    if (device != NULL) device->hidden = SDL_calloc(1, sizeof(struct SDL_PrivateAudioData));
    if (device == NULL || device->hidden == NULL) {
        SDL_OutOfMemory();
        SDL_free(device);
        return NULL;
    }
    device->OpenAudio = BROWSERAUD_OpenAudio;
    device->CloseAudio = BROWSERAUD_CloseAudio;
    device->free = BROWSERAUD_DeleteDevice;
    return device;
}

/* Answers to the dummy driver's name in SDL's table of drivers. */
AudioBootStrap DUMMYAUD_bootstrap = {BROWSER_AUDIO_DRIVER_NAME, "SDL audio through the browser", BROWSERAUD_Available,
                                     BROWSERAUD_CreateDevice};
