#include "signal/broadcast/standinbroadcast.h"

#include <algorithm>
#include <cmath>

namespace {

const float rate = float(SampleSource::sampleRate);
// Reception rises from nothing at this strength to clear at the next.
const float deafStrength = 4.0f;
const float clearStrength = 16.0f;
const float weakestDb = 3.0f;
const float clearestDb = 55.0f;
const float deepestMuteDb = -15.0f;
// On a weak signal the treble above this is cut.
const float trebleCutHz = 2500.0f;
const float trebleCutShare = 1.0f - std::exp(-2.0f * 3.14159265f * trebleCutHz / rate);
// The programme fades in after a burst over this many frames (20 ms).
const int fadeInFrames = 960;
// Tuning static, a little quieter than the programmes it leads to.
const float burstGain = 0.8f;
// The final safety: peaks never pass -1.5 dBFS.
const float ceiling = 0.84f;
const float limiterRelease = 0.0005f;
const int sliceFrames = 256;
const float strengthFollow = 1.0f - std::exp(-float(sliceFrames) / (StandInBroadcast::strengthSeconds * rate));

}

float StandInBroadcast::Reception(float strength)
{
    return std::clamp((strength - deafStrength) / (clearStrength - deafStrength), 0.0f, 1.0f);
}

float StandInBroadcast::SignalToStaticDb(float reception)
{
    return weakestDb + (clearestDb - weakestDb) * reception * std::sqrt(reception);
}

float StandInBroadcast::SoftMuteDb(float reception)
{
    return deepestMuteDb * (1.0f - reception) * (1.0f - reception);
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
    treble.value = 1.0f;
    Tune(hz);
}

void StandInBroadcast::Tune(int hz)
{
    nextProgramme.reset(new Programme(hz, clock + burstFrames));
    burstLeft = burstFrames;
    fresh = true;
    programmeGain.MoveTo(0.0f, fadeFrames);
    staticGain.MoveTo(burstGain, fadeFrames);
    treble.MoveTo(1.0f, fadeFrames);
}

void StandInBroadcast::SetStrength(int strength)
{
    reported = strength;
    if (fresh)
        heardStrength = float(strength);
    fresh = false;
}

void StandInBroadcast::AimAtStrength(int frames)
{
    const float reception = Reception(heardStrength);
    const float staticToProgramme = std::pow(10.0f, -SignalToStaticDb(reception) / 20.0f);
    const float mute = std::pow(10.0f, SoftMuteDb(reception) / 20.0f);
    // Programme and static are equally loud: their shares keep the sum so.
    const float programmeShare = mute / std::sqrt(1.0f + staticToProgramme * staticToProgramme);
    programmeGain.MoveTo(programmeShare, frames);
    staticGain.MoveTo(staticToProgramme * programmeShare, frames);
    treble.MoveTo(reception * reception, frames);
}

void StandInBroadcast::Render(float* interleaved, int frames)
{
    float music[2 * sliceFrames];
    float hiss[2 * sliceFrames];
    for (int done = 0; done < frames;) {
        int count = std::min(sliceFrames, frames - done);
        if (burstLeft == 0) {
            if (nextProgramme) {
                programme = std::move(nextProgramme);
                AimAtStrength(fadeInFrames);
            } else if (programmeGain.framesLeft == 0) {
                heardStrength += (float(reported) - heardStrength) * strengthFollow;
                AimAtStrength(sliceFrames);
            }
        } else {
            count = std::min(count, burstLeft);
        }
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
            const float t = treble.Next();
            const float left = p * music[2 * frame] + s * hiss[2 * frame];
            const float right = p * music[2 * frame + 1] + s * hiss[2 * frame + 1];
            trebleLowLeft += (left - trebleLowLeft) * trebleCutShare;
            trebleLowRight += (right - trebleLowRight) * trebleCutShare;
            out[2 * frame] = trebleLowLeft + t * (left - trebleLowLeft);
            out[2 * frame + 1] = trebleLowRight + t * (right - trebleLowRight);
        }
        bandLimit.Apply(out, count);
        for (int frame = 0; frame < count; ++frame)
            limiter.Apply(out[2 * frame], out[2 * frame + 1]);
        if (burstLeft > 0)
            burstLeft -= count;
        done += count;
        clock += count;
    }
}
