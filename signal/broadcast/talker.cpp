#include "signal/broadcast/talker.h"

#include "signal/samplesource.h"
#include "signal/broadcast/wavetables.h"

#include <algorithm>
#include <cmath>

namespace {

const float rate = float(SampleSource::sampleRate);
const float pi = 3.14159265f;
const int fractionBits = 32 - Wavetables::sizeBits;
// How quickly a syllable opens and closes, as a fraction of its length.
const float edgeShare = 0.2f;
// A consonant's length, and how long its noise takes to fall by e.
const float hissSeconds = 0.09f;
const float stopSeconds = 0.025f;
// The reflections: delays in frames and gains, left and right.
const int leftDelay = 571;
const int rightDelay = 887;
const float reflectionGain = 0.3f;

// The first two formants of each vowel, Hz (a typical adult voice).
const float formants[Talker::vowelCount][2] = {
    {730.0f, 1090.0f}, {530.0f, 1840.0f}, {270.0f, 2290.0f}, {570.0f, 840.0f}, {300.0f, 870.0f},
};

}

void Talker::Resonator::Tune(float hz, float bandwidthHz)
{
    const float radius = std::exp(-pi * bandwidthHz / rate);
    a1 = 2.0f * radius * std::cos(2.0f * pi * hz / rate);
    a2 = -radius * radius;
    // About unity gain at the centre, whatever the formant.
    b0 = (1.0f - radius) * 2.0f * std::sin(2.0f * pi * hz / rate);
}

float Talker::Resonator::Next(float x)
{
    const float y = b0 * x + a1 * y1 + a2 * y2;
    y2 = y1;
    y1 = y;
    return y;
}

Talker::Talker(std::uint32_t seed) : noise(seed) {}

void Talker::Say(Consonant consonant, Vowel vowel, float startHz, float endHz, float seconds, float newLevel)
{
    if (consonant != None) {
        const float consonantSeconds = consonant == Hiss ? hissSeconds : stopSeconds;
        consonantFrames = int(consonantSeconds * rate);
        consonantFall = std::exp(-1.0f / (0.4f * consonantSeconds * rate));
        consonantLevel = newLevel * (consonant == Hiss ? 0.35f : 0.6f);
    }
    frames = std::max(int(seconds * rate), 1);
    framesLeft = frames;
    hz = startHz;
    hzStep = (endHz - startHz) / float(frames);
    level = newLevel;
    table = Wavetables::Shared().Table(Wavetables::Bright, std::max(startHz, endHz));
    first.Tune(formants[vowel][0], 90.0f);
    second.Tune(formants[vowel][1], 120.0f);
}

void Talker::Render(float* interleaved, int count)
{
    if (!table)
        return;
    const float edge = edgeShare * float(frames);
    for (int frame = 0; frame < count; ++frame) {
        float target = 0.0f;
        if (framesLeft > 0) {
            const float done = float(frames - framesLeft);
            target = level * std::min({1.0f, done / edge, float(framesLeft) / edge});
            --framesLeft;
            hz += hzStep;
        }
        // A little smoothing keeps the envelope's corners from clicking. In a
        // pause it ends at 0 rather than fading into the slow denormals.
        envelope += (target - envelope) * 0.01f;
        if (target == 0.0f && envelope < 1.0e-6f)
            envelope = 0.0f;
        const std::uint32_t index = phase >> fractionBits;
        const float fraction = float(phase & ((1u << fractionBits) - 1)) * (1.0f / float(1u << fractionBits));
        const float buzz = table[index] + (table[index + 1] - table[index]) * fraction;
        phase += std::uint32_t(hz * (4294967296.0f / rate));
        float voice = (first.Next(buzz) + 0.6f * second.Next(buzz)) * envelope;
        const float white = noise.Next();
        if (consonantFrames > 0 || consonantLevel > 1.0e-4f) {
            // The first difference of noise, gently smoothed: a hiss
            // centred high in the voice's band.
            const float bright = white - lastNoise;
            consonantLow += (bright - consonantLow) * 0.5f;
            voice += consonantLow * consonantLevel;
            if (--consonantFrames <= 0)
                consonantLevel *= consonantFall;
        }
        lastNoise = white;
        past[written & (past.size() - 1)] = voice;
        const float left = past[(written - leftDelay) & (past.size() - 1)];
        const float right = past[(written - rightDelay) & (past.size() - 1)];
        ++written;
        interleaved[2 * frame] += voice + reflectionGain * left;
        interleaved[2 * frame + 1] += voice + reflectionGain * right;
    }
}
