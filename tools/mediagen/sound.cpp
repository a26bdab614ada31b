#include "sound.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "detmath.h"

static const float TWO_PI = 6.28318531f;

int samples_for(float seconds)
{
    return std::max(1, (int)(seconds * SAMPLE_RATE));
}

Wave silence(float seconds)
{
    return Wave(samples_for(seconds), 0.0f);
}

Wave tone(float seconds, float f0, float f1, WaveShape shape)
{
    Wave w(samples_for(seconds));
    double phase = 0;
    for (size_t i = 0; i < w.size(); i++) {
        float t = (float)i / w.size();
        float f = f0 * powf_d(f1 / f0, t);
        float ph = (float)(phase - floor(phase));
        float v = 0;
        switch (shape) {
        case SINE: v = sinf_d(TWO_PI * ph); break;
        case SQUARE: v = ph < 0.5f ? 1.0f : -1.0f; break;
        case SAW: v = 2.0f * ph - 1.0f; break;
        case TRIANGLE: v = ph < 0.5f ? 4.0f * ph - 1.0f : 3.0f - 4.0f * ph; break;
        }
        w[i] = v;
        phase += f / SAMPLE_RATE;
    }
    return w;
}

Wave noise(float seconds, unsigned seed)
{
    Wave w(samples_for(seconds));
    unsigned s = seed * 747796405u + 2891336453u;
    for (float& v : w) {
        s = s * 1664525u + 1013904223u;
        v = ((s >> 8) & 0xffff) / 32767.5f - 1.0f;
    }
    return w;
}

void shape_attack_decay(Wave& w, float attack, float decay)
{
    int a = (int)(attack * SAMPLE_RATE);
    for (size_t i = 0; i < w.size(); i++) {
        float gain;
        if ((int)i < a) {
            gain = (float)i / a;
        } else {
            gain = expf_d(-((float)i - a) / (decay * SAMPLE_RATE));
        }
        w[i] *= gain;
    }
}

void fade(Wave& w, float in_seconds, float out_seconds)
{
    int in = (int)(in_seconds * SAMPLE_RATE), out = (int)(out_seconds * SAMPLE_RATE);
    int n = (int)w.size();
    for (int i = 0; i < n; i++) {
        float g = 1.0f;
        if (in > 0 && i < in) g = std::min(g, (float)i / in);
        if (out > 0 && i > n - out) g = std::min(g, (float)(n - i) / out);
        w[i] *= g;
    }
}

void tremolo(Wave& w, float rate, float depth)
{
    for (size_t i = 0; i < w.size(); i++) {
        w[i] *= 1.0f - depth * 0.5f * (1.0f + sinf_d(TWO_PI * rate * i / SAMPLE_RATE));
    }
}

void lowpass(Wave& w, float cutoff)
{
    float k = 1.0f - expf_d(-TWO_PI * cutoff / SAMPLE_RATE);
    float y = 0;
    for (float& v : w) {
        y += k * (v - y);
        v = y;
    }
}

void highpass(Wave& w, float cutoff)
{
    float k = 1.0f - expf_d(-TWO_PI * cutoff / SAMPLE_RATE);
    float low = 0;
    for (float& v : w) {
        low += k * (v - low);
        v -= low;
    }
}

void bandpass(Wave& w, float f0, float f1, float q)
{
    // State-variable filter, whose centre may glide along the sound.
    float low = 0, band = 0;
    float damp = 1.0f / q;
    for (size_t i = 0; i < w.size(); i++) {
        float t = (float)i / w.size();
        float f = f0 * powf_d(f1 / f0, t);
        float k = 2.0f * sinf_d(3.14159265f * std::min(f, SAMPLE_RATE / 6.0f) / SAMPLE_RATE);
        float high = w[i] - low - damp * band;
        band += k * high;
        low += k * band;
        w[i] = band;
    }
}

void mix_into(Wave& dst, const Wave& src, float gain, int offset)
{
    if (offset < 0) offset = 0;
    if (dst.size() < src.size() + offset) dst.resize(src.size() + offset, 0.0f);
    for (size_t i = 0; i < src.size(); i++) dst[i + offset] += src[i] * gain;
}

void normalize(Wave& w, float peak)
{
    float m = 0;
    for (float v : w) m = std::max(m, fabsf(v));
    if (m <= 0) return;
    for (float& v : w) v *= peak / m;
}

void saturate(Wave& w, float drive)
{
    for (float& v : w) v = tanhf_d(v * drive) / tanhf_d(drive);
}

static void put16(std::vector<uint8_t>& b, unsigned v)
{
    b.push_back(v & 255);
    b.push_back((v >> 8) & 255);
}

static void put32(std::vector<uint8_t>& b, unsigned v)
{
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

void write_wav(const std::string& path, const Wave& w)
{
    std::vector<uint8_t> b;
    unsigned n = (unsigned)w.size();
    unsigned data = n + (n & 1);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put32(b, 36 + data);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, 1);  // mono
    put32(b, SAMPLE_RATE);
    put32(b, SAMPLE_RATE);
    put16(b, 1);
    put16(b, 8);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, n);
    for (float v : w) b.push_back((uint8_t)lrintf(128.0f + 127.0f * std::max(-1.0f, std::min(1.0f, v))));
    if (n & 1) b.push_back(128);
    FILE* f = fopen(path.c_str(), "wb");
    if (f == NULL || fwrite(b.data(), 1, b.size(), f) != b.size()) {
        fprintf(stderr, "mediagen: cannot write %s\n", path.c_str());
        exit(1);
    }
    fclose(f);
}
