#ifndef STANDINRECEIVER_H
#define STANDINRECEIVER_H

#include "signal/broadcast/standinbroadcast.h"
#include "signal/samplesource.h"

#include <cstdint>

// The stand-in's receiver: tuned to a frequency of the FM band, it reports
// a signal strength that depends only on the frequency and on how many
// reports it has made since tuning, so that every run of the show sees the
// same strengths, and while switched on it plays the broadcast
// (StandInBroadcast) that those strengths sink into static. Silent while
// off. All calls on one thread.
class StandInReceiver : public SampleSource
{
public:
    explicit StandInReceiver(int hz);

    // Retunes with a burst of tuning static; reports count afresh.
    void Tune(int hz);

    // Switching on is heard as tuning in; reports count afresh.
    void SwitchOn();
    void SwitchOff();
    bool IsOn() const { return on; }

    // The next report's strength, 0 to 100; what is heard follows it.
    int Report();

    // The strength reported for the station at hz in the given report since
    // tuning to it (0 is the report made on tuning).
    static int StrengthAt(int hz, std::uint32_t report);

    void Render(float* interleaved, int frames) override;

private:
    int hz;
    std::uint32_t reportsSinceTuning = 0;
    bool on = false;
    StandInBroadcast broadcast;
};

#endif
