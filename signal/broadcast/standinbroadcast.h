#ifndef STANDINBROADCAST_H
#define STANDINBROADCAST_H

#include "signal/samplesource.h"
#include "signal/broadcast/fmstatic.h"
#include "signal/broadcast/programme.h"
#include "signal/peaklimiter.h"

#include <memory>

// What the stand-in tuner receives: the programme of the tuned frequency
// sunk into FM static as deep as the signal strength says, and a burst of
// tuning static on every retune. A function of the calls made and of the
// frames rendered between them, nothing else. All calls on one thread.
class StandInBroadcast : public SampleSource
{
public:
    static const int burstFrames = 7200;  // 150 ms of tuning static
    static const int rampFrames = 2400;   // 50 ms for a change of strength
    static const int fadeFrames = 480;    // 10 ms into and out of a burst

    // Programme to static, dB, for a strength of 0 to 100: the programme is
    // 25 dB under the static at 10 and below, 45 dB over it at 90 and above.
    static float SignalToStaticDb(int strength);

    explicit StandInBroadcast(int hz);

    // Starts a burst of tuning static, then the programme of hz from its start.
    void Tune(int hz);
    void SetStrength(int strength);

    void Render(float* interleaved, int frames) override;

private:
    struct Gain
    {
        float value = 0.0f;
        float step = 0.0f;
        int framesLeft = 0;
        void MoveTo(float target, int frames);
        float Next();
    };

    void AimAtStrength(int frames);

    std::unique_ptr<Programme> programme;
    std::unique_ptr<Programme> nextProgramme;
    FmStatic fmStatic;
    int strength = 0;
    int burstLeft = 0;
    Gain programmeGain;
    Gain staticGain;
    PeakLimiter limiter;
};

#endif
