#ifndef TALKER_H
#define TALKER_H

#include "signal/xorshift.h"

#include <array>
#include <cstdint>

// A voice that speaks in syllables without words: a buzzing glottal tone
// gliding in pitch, shaped into vowels by two formant resonators, opened
// and closed by a syllable envelope, with a consonant's hiss or click of
// noise before the vowel, in a small studio's early reflections.
class Talker
{
public:
    enum Vowel { A, E, I, O, U, vowelCount };
    enum Consonant { None, Hiss, Stop, consonantCount };

    explicit Talker(std::uint32_t seed);

    // Starts a syllable: the consonant, then the pitch glides from startHz
    // to endHz over the syllable's seconds; the vowel's formants are set at
    // once.
    void Say(Consonant consonant, Vowel vowel, float startHz, float endHz, float seconds, float level);

    // Adds the voice to frames of interleaved stereo: in the middle, its
    // reflections a little apart on either side.
    void Render(float* interleaved, int frames);

private:
    struct Resonator
    {
        float b0 = 0.0f, a1 = 0.0f, a2 = 0.0f;
        float y1 = 0.0f, y2 = 0.0f;
        void Tune(float hz, float bandwidthHz);
        float Next(float x);
    };

    const float* table = nullptr;
    std::uint32_t phase = 0;
    float hz = 0.0f;
    float hzStep = 0.0f;
    float level = 0.0f;
    float envelope = 0.0f;
    int frames = 0;
    int framesLeft = 0;
    Resonator first;
    Resonator second;

    Xorshift noise;
    float consonantLevel = 0.0f;
    float consonantFall = 1.0f;
    float consonantLow = 0.0f;
    float lastNoise = 0.0f;
    int consonantFrames = 0;

    // The voice's recent past, for its reflections.
    std::array<float, 1024> past{};
    unsigned written = 0;
};

#endif
