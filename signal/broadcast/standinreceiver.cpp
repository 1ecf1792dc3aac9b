#include "signal/broadcast/standinreceiver.h"

#include "signal/scramble.h"

#include <algorithm>

namespace {

// Levels 8..92 for the station and a fluctuation of -4..+4 keep every report
// inside the 0..100 that a tuner promises.
const int weakestStation = 8;
const int stationLevels = 85;
const int fluctuationSpan = 9;

}

StandInReceiver::StandInReceiver(int hz)
    : hz(hz)
    , broadcast(hz)
{
}

void StandInReceiver::Tune(int newHz)
{
    if (newHz != hz) {
        hz = newHz;
        broadcast.Tune(hz);
    }
    reportsSinceTuning = 0;
}

void StandInReceiver::SwitchOn()
{
    on = true;
    reportsSinceTuning = 0;
    broadcast.Tune(hz);
}

void StandInReceiver::SwitchOff()
{
    on = false;
}

int StandInReceiver::StrengthAt(int hz, std::uint32_t report)
{
    const std::uint64_t station = static_cast<std::uint32_t>(hz);
    const int level = weakestStation + static_cast<int>(Scramble(station) % stationLevels);
    const int fluctuation
        = static_cast<int>(Scramble((station << 32) | report) % fluctuationSpan) - fluctuationSpan / 2;
    return level + fluctuation;
}

int StandInReceiver::Report()
{
    const int strength = StrengthAt(hz, reportsSinceTuning++);
    broadcast.SetStrength(strength);
    return strength;
}

void StandInReceiver::Render(float* interleaved, int frames)
{
    if (on)
        broadcast.Render(interleaved, frames);
    else
        std::fill(interleaved, interleaved + frames * channels, 0.0f);
}
