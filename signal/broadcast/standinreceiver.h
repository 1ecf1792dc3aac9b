#ifndef STANDINRECEIVER_H
#define STANDINRECEIVER_H

#include "signal/broadcast/standinbroadcast.h"
#include "signal/samplesource.h"

#include <atomic>
#include <cstdint>

// The stand-in's receiver: tuned to a frequency of the FM band, it reports
// a signal strength that depends only on the frequency and on how many
// reports it has made since tuning, so that every run of the show sees the
// same strengths, and while switched on it plays the broadcast
// (StandInBroadcast) that those strengths describe. Silent while off.
//
// Two sides, which may be two threads: the control side tunes, switches and
// reports; the render side renders. What the control side does reaches the
// render side as atomic values that the next Render() takes up before its
// first frame, so neither side ever waits for the other, and the same calls
// with the same frames rendered between them give the same samples.
class StandInReceiver : public SampleSource
{
public:
    explicit StandInReceiver(int hz);

    // Control side. Retunes with a burst of tuning static; reports count afresh.
    void Tune(int hz);

    // Switching on is heard as tuning in; reports count afresh.
    void SwitchOn();
    void SwitchOff();
    bool IsOn() const;

    // The next report's strength, 0 to 100; what is heard follows it.
    int Report();

    // The strength reported for the station at hz in the given report since
    // tuning to it (0 is the report made on tuning).
    static int StrengthAt(int hz, std::uint32_t report);

    // Render side.
    void Render(float* interleaved, int frames) override;

private:
    static std::uint64_t Tuning(std::uint32_t count, int hz);

    // Control side only.
    int hz;
    std::uint32_t tunings = 0;
    std::uint32_t reportsSinceTuning = 0;

    // Control side to render side. The tuning carries a count in its upper
    // half, so that tuning in again to the same frequency is seen too.
    std::atomic<std::uint64_t> tuning;
    std::atomic<int> strength;
    std::atomic<bool> on;

    // Render side only.
    std::uint64_t tuningHeard;
    int strengthHeard = -1;
    StandInBroadcast broadcast;
};

#endif
