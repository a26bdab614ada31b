// Every sound of the game, synthesised: gunfire, splashes, hits and
// explosions, creatures surfacing and dying, the submarine's collision and
// death, bonus chime, plane engines that loop seamlessly, menu blips and
// the jingles of the screens between levels.

#include "art.h"
#include "output.h"
#include "sound.h"

namespace {

Wave thump(float seconds, float f0, float f1, float decay)
{
    Wave w = tone(seconds, f0, f1, SINE);
    shape_attack_decay(w, 0.002f, decay);
    return w;
}

Wave burst(float seconds, unsigned seed, float cutoff, float decay)
{
    Wave w = noise(seconds, seed);
    lowpass(w, cutoff);
    lowpass(w, cutoff);
    shape_attack_decay(w, 0.001f, decay);
    return w;
}

Wave hiss(float seconds, unsigned seed, float f0, float f1, float q, float attack, float decay)
{
    Wave w = noise(seconds, seed);
    bandpass(w, f0, f1, q);
    shape_attack_decay(w, attack, decay);
    return w;
}

// Bubbles: short upward chirps at random moments.
Wave bubbles(float seconds, unsigned seed, int count, float low, float high)
{
    Wave w = silence(seconds);
    Rng rng(seed);
    for (int i = 0; i < count; i++) {
        float f = rng.range(low, high);
        Wave b = tone(rng.range(0.03f, 0.07f), f, f * rng.range(1.6f, 2.4f), SINE);
        shape_attack_decay(b, 0.003f, 0.02f);
        mix_into(w, b, rng.range(0.3f, 0.8f), (int)(rng.uniform() * (w.size() - b.size())));
    }
    return w;
}

Wave explosion(float seconds, unsigned seed, float body, float rumble_hz)
{
    Wave w = burst(seconds, seed, 900.0f, body);
    mix_into(w, burst(seconds, seed + 1, 3000.0f, body * 0.25f), 0.5f);
    mix_into(w, thump(seconds, rumble_hz * 1.8f, rumble_hz * 0.7f, body * 1.2f), 0.9f);
    saturate(w, 2.0f);
    return w;
}

Wave note(float seconds, float freq, WaveShape shape, float decay, float cutoff)
{
    Wave w = tone(seconds, freq, freq, shape);
    if (cutoff > 0) lowpass(w, cutoff);
    shape_attack_decay(w, 0.005f, decay);
    return w;
}

Wave bell(float seconds, float freq)
{
    Wave w = note(seconds, freq, SINE, seconds * 0.4f, 0);
    mix_into(w, note(seconds, freq * 2.76f, SINE, seconds * 0.15f, 0), 0.35f);
    mix_into(w, note(seconds, freq * 5.4f, SINE, seconds * 0.07f, 0), 0.2f);
    return w;
}

// A sequence of notes, each starting when the one before has had its share.
Wave melody(const std::vector<float>& freqs, float step, float last, WaveShape shape, float cutoff)
{
    Wave w;
    for (size_t i = 0; i < freqs.size(); i++) {
        bool final = i + 1 == freqs.size();
        Wave n = note(final ? last : step * 1.6f, freqs[i], shape, final ? last * 0.45f : step * 0.8f, cutoff);
        mix_into(w, n, 0.6f, samples_for(step * i));
    }
    return w;
}

// Noise that repeats seamlessly after its length: filtered twice round.
Wave loop_noise(float seconds, unsigned seed, float cutoff)
{
    Wave base = noise(seconds, seed);
    Wave twice = base;
    twice.insert(twice.end(), base.begin(), base.end());
    lowpass(twice, cutoff);
    lowpass(twice, cutoff);
    return Wave(twice.begin() + base.size(), twice.end());
}

// An engine drone of exactly one second: every partial and the beat have
// whole numbers of cycles in it, so the sound loops without a click.
Wave engine(float base_hz, float beat_hz, unsigned seed)
{
    Wave w = tone(1.0f, base_hz, base_hz, SAW);
    lowpass(w, base_hz * 6);
    mix_into(w, tone(1.0f, base_hz * 2, base_hz * 2, SQUARE), 0.25f);
    mix_into(w, loop_noise(1.0f, seed, 500.0f), 2.5f);
    Wave beat = tone(1.0f, beat_hz, beat_hz, SINE);
    for (size_t i = 0; i < w.size(); i++) w[i] *= 0.7f + 0.3f * beat[i];
    // Run the filter round once more so that the end meets the start.
    Wave twice = w;
    twice.insert(twice.end(), w.begin(), w.end());
    lowpass(twice, base_hz * 10);
    return Wave(twice.begin() + w.size(), twice.end());
}

void save(const char* path, Wave w, float peak = 0.85f)
{
    normalize(w, peak);
    save_sound(path, w);
}

}  // namespace

void make_sounds()
{
    // Guns of the submarine.
    {
        Wave w = burst(0.35f, 1, 1800.0f, 0.05f);
        mix_into(w, thump(0.35f, 140.0f, 50.0f, 0.1f), 0.9f);
        saturate(w, 2.5f);
        save("SFX/vystrel_kanon.wav", w);
    }
    {
        Wave w = thump(0.5f, 95.0f, 38.0f, 0.18f);
        mix_into(w, burst(0.5f, 2, 600.0f, 0.12f), 0.8f);
        mix_into(w, burst(0.05f, 3, 4000.0f, 0.01f), 0.5f);
        save("SFX/vystrel_minomet.wav", w);
    }
    save("SFX/vystrel_raketa.wav", hiss(0.6f, 4, 500.0f, 2600.0f, 3.0f, 0.04f, 0.25f));
    // Bombs and the creatures' shots.
    {
        Wave w = tone(0.9f, 1500.0f, 480.0f, TRIANGLE);
        tremolo(w, 9.0f, 0.2f);
        fade(w, 0.05f, 0.2f);
        mix_into(w, hiss(0.9f, 5, 2000.0f, 900.0f, 2.0f, 0.1f, 0.5f), 0.3f);
        save("SFX/puma_svist.wav", w, 0.6f);
    }
    {
        Wave w = tone(0.3f, 300.0f, 1100.0f, SQUARE);
        bandpass(w, 900.0f, 2400.0f, 2.0f);
        shape_attack_decay(w, 0.005f, 0.08f);
        save("SFX/zahnuti.wav", w);
    }
    {
        Wave w = hiss(0.4f, 6, 300.0f, 900.0f, 2.5f, 0.02f, 0.12f);
        mix_into(w, bubbles(0.4f, 7, 6, 200, 500), 0.6f);
        save("SFX/inkoust.wav", w);
    }
    {
        Wave w = tone(0.4f, 70.0f, 70.0f, SQUARE);
        mix_into(w, noise(0.4f, 8), 0.4f);
        bandpass(w, 1200.0f, 3000.0f, 1.5f);
        tremolo(w, 30.0f, 0.7f);
        shape_attack_decay(w, 0.005f, 0.15f);
        save("SFX/vyboj.wav", w);
    }
    // Hits.
    {
        Wave w = burst(0.3f, 9, 1300.0f, 0.05f);
        mix_into(w, thump(0.3f, 220.0f, 80.0f, 0.07f), 0.9f);
        saturate(w, 3.0f);
        save("SFX/zasah.wav", w);
    }
    save("SFX/zasah_puma.wav", explosion(0.9f, 10, 0.3f, 55.0f));
    {
        Wave w = bell(0.6f, 410.0f);
        mix_into(w, tone(0.2f, 80.0f, 80.0f, SQUARE), 0.3f);
        mix_into(w, burst(0.6f, 11, 2500.0f, 0.05f), 0.6f);
        save("SFX/zasah_vyboj.wav", w);
    }
    // Water.
    {
        Wave w = hiss(0.45f, 12, 1600.0f, 900.0f, 1.2f, 0.005f, 0.12f);
        mix_into(w, bubbles(0.45f, 13, 7, 350, 900), 0.5f);
        save("SFX/zblunk_maly.wav", w, 0.7f);
    }
    {
        Wave w = hiss(0.8f, 14, 1400.0f, 600.0f, 1.0f, 0.01f, 0.25f);
        mix_into(w, thump(0.8f, 90.0f, 45.0f, 0.12f), 0.5f);
        mix_into(w, bubbles(0.8f, 15, 12, 250, 800), 0.5f);
        save("SFX/zblunk_velky.wav", w);
    }
    {
        Wave w = explosion(1.1f, 16, 0.35f, 50.0f);
        mix_into(w, hiss(1.1f, 17, 1300.0f, 500.0f, 1.0f, 0.08f, 0.35f), 0.6f);
        save("SFX/vybuch_puma.wav", w);
    }
    {
        Wave w = noise(0.3f, 18);
        highpass(w, 2500.0f);
        shape_attack_decay(w, 0.01f, 0.08f);
        mix_into(w, bubbles(0.3f, 19, 4, 600, 1200), 0.5f);
        save("SFX/syceni.wav", w, 0.6f);
    }
    // Creatures surfacing.
    save("SFX/vynoreni_ryba.wav", bubbles(0.35f, 20, 6, 250, 700), 0.7f);
    {
        Wave w = bubbles(0.6f, 21, 10, 400, 1200);
        mix_into(w, bell(0.6f, 980.0f), 0.15f);
        save("SFX/vynoreni_meduza.wav", w, 0.6f);
    }
    {
        Wave w = hiss(0.5f, 22, 1200.0f, 700.0f, 1.5f, 0.01f, 0.15f);
        for (int i = 0; i < 5; i++) mix_into(w, burst(0.02f, 23 + i, 5000.0f, 0.004f), 0.9f, samples_for(0.2f + i * 0.05f));
        save("SFX/vynoreni_krab.wav", w, 0.7f);
    }
    {
        Wave w = bubbles(0.7f, 28, 14, 150, 450);
        mix_into(w, hiss(0.7f, 29, 400.0f, 250.0f, 3.0f, 0.1f, 0.3f), 0.6f);
        save("SFX/vynoreni_krakatice.wav", w, 0.7f);
    }
    {
        Wave w = tone(0.9f, 110.0f, 70.0f, SAW);
        mix_into(w, noise(0.9f, 30), 0.5f);
        bandpass(w, 400.0f, 250.0f, 2.0f);
        shape_attack_decay(w, 0.15f, 0.4f);
        saturate(w, 2.0f);
        save("SFX/vynoreni_had.wav", w);
    }
    // Creatures dying.
    {
        Wave w = tone(0.25f, 900.0f, 300.0f, SQUARE);
        bandpass(w, 1500.0f, 600.0f, 3.0f);
        shape_attack_decay(w, 0.005f, 0.06f);
        mix_into(w, burst(0.35f, 31, 1000.0f, 0.08f), 0.7f, samples_for(0.05f));
        save("SFX/smrt_ryba.wav", w);
    }
    {
        Wave w = burst(0.4f, 32, 700.0f, 0.08f);
        mix_into(w, tone(0.2f, 200.0f, 600.0f, SINE), 0.5f);
        mix_into(w, bubbles(0.4f, 33, 8, 300, 900), 0.6f);
        save("SFX/smrt_meduza.wav", w);
    }
    {
        Wave w = burst(0.5f, 34, 3000.0f, 0.03f);
        mix_into(w, burst(0.5f, 35, 2500.0f, 0.04f), 0.8f, samples_for(0.07f));
        mix_into(w, thump(0.5f, 160.0f, 60.0f, 0.12f), 0.8f);
        save("SFX/smrt_krab.wav", w);
    }
    {
        Wave w = tone(0.8f, 500.0f, 150.0f, SAW);
        bandpass(w, 900.0f, 300.0f, 4.0f);
        tremolo(w, 14.0f, 0.6f);
        shape_attack_decay(w, 0.02f, 0.3f);
        mix_into(w, bubbles(0.8f, 36, 12, 150, 500), 0.5f);
        save("SFX/smrt_krakatice.wav", w);
    }
    {
        Wave w = tone(1.2f, 180.0f, 55.0f, SAW);
        mix_into(w, noise(1.2f, 37), 0.6f);
        bandpass(w, 600.0f, 200.0f, 2.0f);
        shape_attack_decay(w, 0.05f, 0.5f);
        saturate(w, 2.5f);
        mix_into(w, explosion(1.2f, 38, 0.25f, 60.0f), 0.5f);
        save("SFX/smrt_had.wav", w);
    }
    // The submarine.
    {
        Wave w = explosion(2.2f, 39, 0.6f, 40.0f);
        mix_into(w, explosion(1.2f, 40, 0.3f, 55.0f), 0.7f, samples_for(0.35f));
        mix_into(w, explosion(0.9f, 41, 0.2f, 70.0f), 0.5f, samples_for(0.8f));
        mix_into(w, bubbles(2.2f, 42, 30, 150, 600), 0.3f);
        save("SFX/ponorka_vybuch.wav", w, 0.95f);
    }
    {
        Wave w = silence(0.7f);
        const float partials[] = {187.0f, 431.0f, 822.0f, 1240.0f, 1710.0f};
        for (int i = 0; i < 5; i++) mix_into(w, note(0.7f, partials[i], SINE, 0.3f / (1 + i * 0.5f), 0), 0.5f / (1 + i * 0.3f));
        mix_into(w, burst(0.7f, 43, 800.0f, 0.04f), 0.8f);
        save("SFX/naraz.wav", w);
    }
    // Bonus appears.
    {
        Wave w;
        const float notes[] = {1046.5f, 1318.5f, 1568.0f, 2093.0f};
        for (int i = 0; i < 4; i++) mix_into(w, bell(0.45f, notes[i]), 0.5f, samples_for(0.06f * i));
        save("SFX/bonus.wav", w, 0.7f);
    }
    // Plane engines: one second each, played again and again while the
    // plane flies.
    save("SFX/motor_bombarder.wav", engine(55.0f, 7.0f, 44), 0.7f);
    save("SFX/motor_stihacka.wav", engine(92.0f, 12.0f, 45), 0.6f);
    // Menu.
    {
        Wave w = hiss(0.6f, 46, 300.0f, 1500.0f, 2.0f, 0.2f, 0.2f);
        Wave ping = note(1.4f, 1180.0f, SINE, 0.35f, 0);
        mix_into(w, ping, 0.7f, samples_for(0.15f));
        mix_into(w, ping, 0.25f, samples_for(0.55f));
        save("SFX/menu.wav", w, 0.7f);
    }
    save("SFX/menu_posun.wav", note(0.07f, 880.0f, TRIANGLE, 0.03f, 0), 0.5f);
    save("SFX/menu_volba.wav", melody({660.0f, 990.0f}, 0.06f, 0.14f, TRIANGLE, 0), 0.6f);
    // Between levels.
    {
        Wave w = note(1.6f, 1180.0f, SINE, 0.4f, 0);
        mix_into(w, melody({392.0f, 523.25f, 659.25f, 783.99f}, 0.14f, 0.9f, SQUARE, 2200.0f), 0.6f, samples_for(0.35f));
        save("SFX/pripravit.wav", w, 0.75f);
    }
    {
        Wave w = melody({329.63f, 293.66f, 261.63f, 220.0f}, 0.32f, 1.4f, SAW, 1400.0f);
        mix_into(w, thump(2.4f, 60.0f, 40.0f, 0.8f), 0.4f);
        save("SFX/konec_hry.wav", w, 0.75f);
    }
    save("SFX/uroven_splnena.wav", melody({523.25f, 659.25f, 783.99f, 1046.5f, 783.99f, 1046.5f}, 0.12f, 0.9f, SQUARE, 2600.0f), 0.75f);
    {
        Wave w;
        for (int i = 0; i < 4; i++) mix_into(w, note(0.08f, i % 2 ? 660.0f : 880.0f, SQUARE, 0.1f, 3000.0f), 0.6f, samples_for(0.1f * i));
        save("SFX/prehrati.wav", w, 0.6f);
    }
}
