#ifndef MEDIAGEN_SOUND_H
#define MEDIAGEN_SOUND_H

// Sound synthesis at the game's rate of 11025 Hz: oscillators with sweeps,
// noise, envelopes and filters, written as 8-bit mono WAV files.

#include <string>
#include <vector>

const int SAMPLE_RATE = 11025;

typedef std::vector<float> Wave;

enum WaveShape { SINE, SQUARE, SAW, TRIANGLE };

int samples_for(float seconds);
Wave silence(float seconds);
// A tone whose frequency glides exponentially from f0 to f1.
Wave tone(float seconds, float f0, float f1, WaveShape shape);
// White noise from a seeded generator of our own.
Wave noise(float seconds, unsigned seed);

// Envelopes: a linear attack, then an exponential decay with the given time
// constant (seconds).
void shape_attack_decay(Wave& w, float attack, float decay);
// Linear fade in and out at the ends.
void fade(Wave& w, float in_seconds, float out_seconds);
// Multiplies by a slow sine, for tremolo.
void tremolo(Wave& w, float rate, float depth);

void lowpass(Wave& w, float cutoff);
void highpass(Wave& w, float cutoff);
// Resonant band-pass around a centre frequency that may glide.
void bandpass(Wave& w, float f0, float f1, float q);

// Adds src into dst from the given sample offset, growing dst if needed.
void mix_into(Wave& dst, const Wave& src, float gain, int offset = 0);
// Scales to the given peak.
void normalize(Wave& w, float peak);
// Soft saturation, for grit.
void saturate(Wave& w, float drive);

void write_wav(const std::string& path, const Wave& w);

#endif
