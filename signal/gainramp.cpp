#include "signal/gainramp.h"

#include <algorithm>
#include <cmath>

GainRamp::GainRamp() : volume(100), muted(false), applied(false), gain(1.0f), rampTarget(1.0f), rampStep(0.0f) {}

void GainRamp::SetVolume(int newVolume)
{
    volume.store(std::clamp(newVolume, 0, 100), std::memory_order_relaxed);
}

void GainRamp::SetMuted(bool newMuted)
{
    muted.store(newMuted, std::memory_order_relaxed);
}

float GainRamp::VolumeGain(int volume)
{
    const float fraction = float(std::clamp(volume, 0, 100)) / 100.0f;
    return fraction * fraction;
}

void GainRamp::Apply(float* interleaved, int frames)
{
    const float target = muted.load(std::memory_order_relaxed)
        ? 0.0f
        : VolumeGain(volume.load(std::memory_order_relaxed));
    if (!applied) {
        applied = true;
        gain = target;
        rampTarget = target;
    }
    // A change of target mid-ramp starts a fresh ramp from where the gain
    // stands, always rampFrames long.
    if (target != rampTarget) {
        rampTarget = target;
        rampStep = (target - gain) / float(rampFrames);
    }
    for (int frame = 0; frame < frames; ++frame) {
        if (gain != rampTarget) {
            gain += rampStep;
            if ((rampStep > 0.0f && gain >= rampTarget) || (rampStep < 0.0f && gain <= rampTarget)
                || rampStep == 0.0f)
                gain = rampTarget;
        }
        interleaved[2 * frame] *= gain;
        interleaved[2 * frame + 1] *= gain;
    }
}
