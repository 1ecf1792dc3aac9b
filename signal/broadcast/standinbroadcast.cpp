#include "signal/broadcast/standinbroadcast.h"

#include <algorithm>
#include <cmath>

namespace {

const int weakStrength = 10;
const int strongStrength = 90;
const float weakDb = -25.0f;
const float strongDb = 45.0f;
// The programme fades in after a burst over this many frames (20 ms).
const int fadeInFrames = 960;
// Tuning static comes a little louder than the programmes.
const float burstGain = 1.4f;
// The final safety: peaks never pass -1.5 dBFS.
const float ceiling = 0.84f;
const float limiterRelease = 0.0005f;
const int sliceFrames = 256;

}

// The curve rises steeply from the weakest signals and flattens toward the
// strongest, as a receiver's quieting does: at 20 the programme is about as
// loud as the static, from 30 on the static is a light hiss under it.
float StandInBroadcast::SignalToStaticDb(int strength)
{
    const float share = float(std::clamp(strength, weakStrength, strongStrength) - weakStrength)
        / float(strongStrength - weakStrength);
    const float missing = 1.0f - share;
    return weakDb + (strongDb - weakDb) * (1.0f - missing * missing * missing);
}

void StandInBroadcast::Gain::MoveTo(float target, int frames)
{
    framesLeft = std::max(frames, 1);
    step = (target - value) / float(framesLeft);
}

float StandInBroadcast::Gain::Next()
{
    if (framesLeft > 0) {
        value += step;
        --framesLeft;
    }
    return value;
}

StandInBroadcast::StandInBroadcast(int hz) : fmStatic(std::uint32_t(hz)), limiter(ceiling, limiterRelease)
{
    Tune(hz);
}

void StandInBroadcast::Tune(int hz)
{
    nextProgramme.reset(new Programme(hz));
    burstLeft = burstFrames;
    programmeGain.MoveTo(0.0f, fadeFrames);
    staticGain.MoveTo(burstGain, fadeFrames);
}

void StandInBroadcast::SetStrength(int newStrength)
{
    strength = newStrength;
    if (burstLeft == 0)
        AimAtStrength(rampFrames);
}

void StandInBroadcast::AimAtStrength(int frames)
{
    const float staticToProgramme = std::pow(10.0f, -SignalToStaticDb(strength) / 20.0f);
    const float programmeShare = 1.0f / std::sqrt(1.0f + staticToProgramme * staticToProgramme);
    programmeGain.MoveTo(programmeShare, frames);
    staticGain.MoveTo(staticToProgramme * programmeShare, frames);
}

void StandInBroadcast::Render(float* interleaved, int frames)
{
    float music[2 * sliceFrames];
    float hiss[2 * sliceFrames];
    for (int done = 0; done < frames;) {
        if (burstLeft == 0 && nextProgramme) {
            programme = std::move(nextProgramme);
            AimAtStrength(fadeInFrames);
        }
        int count = std::min(sliceFrames, frames - done);
        if (burstLeft > 0)
            count = std::min(count, burstLeft);
        // A programme faded out to nothing need not be rendered.
        const bool audible = programme && (programmeGain.value != 0.0f || programmeGain.framesLeft > 0);
        if (audible)
            programme->Render(music, count);
        else
            std::fill(music, music + 2 * count, 0.0f);
        fmStatic.Render(hiss, count);
        float* out = interleaved + 2 * done;
        for (int frame = 0; frame < count; ++frame) {
            const float p = programmeGain.Next();
            const float s = staticGain.Next();
            float left = p * music[2 * frame] + s * hiss[2 * frame];
            float right = p * music[2 * frame + 1] + s * hiss[2 * frame + 1];
            limiter.Apply(left, right);
            out[2 * frame] = left;
            out[2 * frame + 1] = right;
        }
        if (burstLeft > 0)
            burstLeft -= count;
        done += count;
    }
}
