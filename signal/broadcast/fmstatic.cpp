#include "signal/broadcast/fmstatic.h"

#include "signal/broadcast/programme.h"
#include "signal/kweighting.h"

#include <cmath>

namespace {

// A second-order Butterworth low-pass at 15 kHz for 48 kHz (bilinear
// transform), normalised so that a = {1, a1, a2}.
const float b0 = 0.4181633f;
const float b1 = 0.8363267f;
const float b2 = 0.4181633f;
const float a1 = 0.4629380f;
const float a2 = 0.2097154f;
// How much of the previous sample is taken away: a gentle treble tilt.
const float tilt = 0.65f;
const int measuredFrames = 1 << 16;

}

FmStatic::FmStatic(std::uint32_t seed) : channels{Channel(seed), Channel(seed * 2654435761u)}, scale(Scale()) {}

float FmStatic::Scale()
{
    static const float measured = [] {
        Channel channel(1);
        KWeighting weighting;
        double power = 0.0;
        for (int frame = 0; frame < measuredFrames; ++frame) {
            const double weighted = weighting.Next(channel.Next(1.0f));
            power += weighted * weighted;
        }
        // Two channels of it.
        return float(std::sqrt(KWeighting::Power(Programme::loudnessLufs) / (2.0 * power / measuredFrames)));
    }();
    return measured;
}

float FmStatic::Channel::Next(float scale)
{
    const float white = noise.Next();
    const float tilted = white - tilt * previous;
    previous = white;
    const float y = b0 * tilted + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = tilted;
    y2 = y1;
    y1 = y;
    return y * scale;
}

void FmStatic::Render(float* interleaved, int frames)
{
    for (int frame = 0; frame < frames; ++frame) {
        interleaved[2 * frame] = channels[0].Next(scale);
        interleaved[2 * frame + 1] = channels[1].Next(scale);
    }
}
