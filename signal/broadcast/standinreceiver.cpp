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
    , tuning(Tuning(0, hz))
    , strength(0)
    , on(false)
    , tuningHeard(Tuning(0, hz))
    , broadcast(hz)
{
}

std::uint64_t StandInReceiver::Tuning(std::uint32_t count, int hz)
{
    return (std::uint64_t(count) << 32) | std::uint32_t(hz);
}

void StandInReceiver::Tune(int newHz)
{
    if (newHz != hz) {
        hz = newHz;
        tuning.store(Tuning(++tunings, hz));
    }
    reportsSinceTuning = 0;
}

void StandInReceiver::SwitchOn()
{
    reportsSinceTuning = 0;
    tuning.store(Tuning(++tunings, hz));
    on.store(true);
}

void StandInReceiver::SwitchOff()
{
    on.store(false);
}

bool StandInReceiver::IsOn() const
{
    return on.load();
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
    const int reported = StrengthAt(hz, reportsSinceTuning++);
    strength.store(reported);
    return reported;
}

void StandInReceiver::Render(float* interleaved, int frames)
{
    if (!on.load()) {
        std::fill(interleaved, interleaved + frames * channels, 0.0f);
        return;
    }
    const std::uint64_t tuned = tuning.load();
    if (tuned != tuningHeard) {
        tuningHeard = tuned;
        broadcast.Tune(int(std::uint32_t(tuned)));
        // The new station's first strength is heard at once, even when the
        // number is the old one's.
        strengthHeard = -1;
    }
    const int reported = strength.load();
    if (reported != strengthHeard) {
        strengthHeard = reported;
        broadcast.SetStrength(reported);
    }
    broadcast.Render(interleaved, frames);
}
