#include "signal/broadcast/drumkit.h"

#include "signal/samplesource.h"
#include "signal/broadcast/wavetables.h"

#include <cmath>

namespace {

const float rate = float(SampleSource::sampleRate);
const float kickStartHz = 150.0f;
const float kickEndHz = 45.0f;
const float snareHz = 185.0f;
// Per-frame decays: the kick's pitch within 30 ms, its body within 250 ms,
// the snare within 120 ms, the hat within 35 ms (each a factor of e).
const float kickPitchFall = std::exp(-1.0f / (0.030f * rate));
const float kickFall = std::exp(-1.0f / (0.250f * rate));
const float snareFall = std::exp(-1.0f / (0.120f * rate));
const float hatFall = std::exp(-1.0f / (0.035f * rate));

// sin(2 pi cycles) for cycles in 0..1, from the shared sine table: far
// cheaper per sample than std::sin.
float Sine(float cycles)
{
    static const float* const table = Wavetables::Shared().Table(Wavetables::Sine, 0.0f);
    const float position = cycles * float(Wavetables::size);
    const int index = int(position);
    return table[index] + (table[index + 1] - table[index]) * (position - float(index));
}

}

DrumKit::DrumKit(std::uint32_t seed) : noise(seed) {}

void DrumKit::Kick(float level)
{
    kickLevel = level;
    kickPhase = 0.0f;
    kickHz = kickStartHz;
}

void DrumKit::Snare(float level)
{
    snareLevel = level;
    snarePhase = 0.0f;
}

void DrumKit::Hat(float level, float pan)
{
    hatLevel = level;
    hatLeft = 1.0f - pan * 0.5f;
    hatRight = 1.0f + pan * 0.5f;
}

void DrumKit::Render(float* interleaved, int frames)
{
    if (kickLevel < 1.0e-4f && snareLevel < 1.0e-4f && hatLevel < 1.0e-4f)
        return;
    for (int frame = 0; frame < frames; ++frame) {
        kickHz = kickEndHz + (kickHz - kickEndHz) * kickPitchFall;
        kickPhase += kickHz / rate;
        if (kickPhase >= 1.0f)
            kickPhase -= 1.0f;
        const float kick = Sine(kickPhase) * kickLevel;
        kickLevel *= kickFall;

        const float white = noise.Next();
        // The first difference of white noise leans toward the treble: the
        // hat's sizzle.
        const float bright = white - lastNoise;
        lastNoise = white;
        snarePhase += snareHz / rate;
        if (snarePhase >= 1.0f)
            snarePhase -= 1.0f;
        const float snare = (0.7f * white + 0.3f * Sine(snarePhase)) * snareLevel;
        snareLevel *= snareFall;
        const float hat = bright * 0.5f * hatLevel;
        hatLevel *= hatFall;

        interleaved[2 * frame] += kick + snare + hat * hatLeft;
        interleaved[2 * frame + 1] += kick + snare + hat * hatRight;
    }
}
