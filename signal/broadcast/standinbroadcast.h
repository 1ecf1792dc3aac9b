#ifndef STANDINBROADCAST_H
#define STANDINBROADCAST_H

#include "signal/bandlimit.h"
#include "signal/broadcast/fmstatic.h"
#include "signal/broadcast/programme.h"
#include "signal/peaklimiter.h"
#include "signal/samplesource.h"

#include <memory>

// What the stand-in tuner receives: the programme of the tuned frequency
// with as much FM static as the signal strength leaves, and a burst of
// tuning static on every retune. Like a real receiver it soft-mutes and cuts
// the treble as the signal fades, follows the strength over seconds rather
// than report by report, and passes nothing above FM's 15 kHz. A function of
// the calls made and of the frames rendered between them, nothing else. All
// calls on one thread.
class StandInBroadcast : public SampleSource
{
public:
    static const int burstFrames = 7200;  // 150 ms of tuning static
    static const int fadeFrames = 480;    // 10 ms into and out of a burst
    // How long the heard strength takes to follow a report (a factor of e).
    static constexpr float strengthSeconds = 1.5f;

    // How clear a strength of 0 to 100 is heard, 0 to 1: the threshold of
    // an FM receiver, steep at the bottom of the scale, so that all but the
    // weakest stations are clear.
    static float Reception(float strength);

    // Programme to static by loudness, dB, and the soft mute's gain, dB, for
    // a reception of 0 to 1: the static is never louder than the programme.
    static float SignalToStaticDb(float reception);
    static float SoftMuteDb(float reception);

    explicit StandInBroadcast(int hz);

    // Starts a burst of tuning static, then the programme of hz as it is
    // on the air by then: every station's programme runs on the clock of
    // the frames this broadcast has rendered.
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

    // Aims the gains at the heard strength, reached over frames.
    void AimAtStrength(int frames);

    std::unique_ptr<Programme> programme;
    std::unique_ptr<Programme> nextProgramme;
    FmStatic fmStatic;
    int reported = 0;
    // No report since tuning: the first one is heard at once.
    bool fresh = true;
    float heardStrength = 0.0f;
    int burstLeft = 0;
    std::int64_t clock = 0;
    Gain programmeGain;
    Gain staticGain;
    // How much of the treble above the cut passes: 1 on a clear signal.
    Gain treble;
    float trebleLowLeft = 0.0f;
    float trebleLowRight = 0.0f;
    BandLimit bandLimit;
    PeakLimiter limiter;
};

#endif
