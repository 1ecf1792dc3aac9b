#include "signal/broadcast/drumkit.h"

#include "signal/samplesource.h"
#include "signal/broadcast/wavetables.h"

#include <cmath>

namespace {

const float rate = float(SampleSource::sampleRate);
const float kickStartHz = 150.0f;
// A hit swells to its level over this many frames (1 ms).
const int strikeFrames = 48;
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

DrumKit::DrumKit(std::uint32_t seed)
    : noise(seed)
    , kickEndHz(40.0f + float(seed % 17))
    , snareHz(160.0f + float((seed >> 8) % 61))
{
    kick.fall = kickFall;
    snare.fall = snareFall;
    hat.fall = hatFall;
}

void DrumKit::Envelope::Strike(float peak)
{
    target = peak;
    step = (peak - level) / float(strikeFrames);
}

float DrumKit::Envelope::Next()
{
    if (step != 0.0f) {
        level += step;
        if ((step > 0.0f) == (level >= target)) {
            level = target;
            step = 0.0f;
        }
    } else {
        level *= fall;
    }
    return level;
}

void DrumKit::Kick(float level)
{
    kick.Strike(level);
    kickHz = kickStartHz;
}

void DrumKit::Snare(float level)
{
    snare.Strike(level);
}

void DrumKit::Hat(float level, float pan)
{
    hat.Strike(level);
    hatLeft = 1.0f - pan * 0.5f;
    hatRight = 1.0f + pan * 0.5f;
}

void DrumKit::Render(float* interleaved, int frames)
{
    if (kick.level < 1.0e-4f && snare.level < 1.0e-4f && hat.level < 1.0e-4f && kick.step == 0.0f
        && snare.step == 0.0f && hat.step == 0.0f)
        return;
    for (int frame = 0; frame < frames; ++frame) {
        kickHz = kickEndHz + (kickHz - kickEndHz) * kickPitchFall;
        kickPhase += kickHz / rate;
        if (kickPhase >= 1.0f)
            kickPhase -= 1.0f;
        const float kickSound = Sine(kickPhase) * kick.Next();

        const float white = noise.Next();
        // The first difference of white noise leans toward the treble: the
        // hat's sizzle.
        const float bright = white - lastNoise;
        lastNoise = white;
        snarePhase += snareHz / rate;
        if (snarePhase >= 1.0f)
            snarePhase -= 1.0f;
        const float snareSound = (0.7f * white + 0.3f * Sine(snarePhase)) * snare.Next();
        const float hatSound = bright * 0.5f * hat.Next();

        interleaved[2 * frame] += kickSound + snareSound + hatSound * hatLeft;
        interleaved[2 * frame + 1] += kickSound + snareSound + hatSound * hatRight;
    }
}
