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

void Talker::Say(Vowel vowel, float startHz, float endHz, float seconds, float newLevel)
{
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
        // A little smoothing keeps the envelope's corners from clicking.
        envelope += (target - envelope) * 0.01f;
        const std::uint32_t index = phase >> fractionBits;
        const float fraction = float(phase & ((1u << fractionBits) - 1)) * (1.0f / float(1u << fractionBits));
        const float buzz = table[index] + (table[index + 1] - table[index]) * fraction;
        phase += std::uint32_t(hz * (4294967296.0f / rate));
        const float voice = (first.Next(buzz) + 0.6f * second.Next(buzz)) * envelope;
        interleaved[2 * frame] += voice;
        interleaved[2 * frame + 1] += voice;
    }
}
