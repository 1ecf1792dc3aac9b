#ifndef STANDINTUNERCONTROL_H
#define STANDINTUNERCONTROL_H

#include "platform/sound/gainramp.h"
#include "platform/tuner/fmtunercontrol.h"
#include "platform/tuner/standin/standinbroadcast.h"

#include <memory>

class SoundOutput;

// A simulated FM receiver behind QRadioTuner: it tunes the FM band like a
// real receiver, reports a signal strength that depends only on the tuned
// frequency and on how many reports it has made since tuning, so that every
// run of the show sees the same strengths, and while active plays a
// synthesised broadcast (StandInBroadcast) that those strengths sink into
// static, at the volume and mute it is given.
class StandInTunerControl : public FmTunerControl
{
    Q_OBJECT
public:
    // Who makes the reports between tunings and pulls the sound: the
    // control's own timer every reportIntervalMs of wall time and the
    // system's sound output, or a caller that runs the show on a virtual
    // clock, calls ReportNow() every reportIntervalMs of its time and
    // RenderSound() for every stretch of it.
    enum class Pacing { OwnTimer, Caller };

    explicit StandInTunerControl(QObject* parent = nullptr, Pacing pacing = Pacing::OwnTimer);
    ~StandInTunerControl() override;

    // The next periodic report; nothing while stopped.
    void ReportNow();

    // The next frames of what the tuner plays, for a caller-paced control:
    // the broadcast at the set volume and mute, silence while stopped.
    void RenderSound(float* interleaved, int frames);

    // The strength, 0 to 100, reported for the station at hz in the given
    // report since tuning to it (0 is the report made on tuning).
    static int StrengthAt(int hz, quint32 report);

    void setFrequency(int hz) override;

    void start() override;
    void stop() override;

    QString errorString() const override;

private:
    int MeasureStrength() override;
    void ApplyVolume(int volume) override;
    void ApplyMuted(bool mute) override;

    Pacing pacing;
    quint32 reportsSinceTuning;
    StandInBroadcast broadcast;
    GainRamp callerGain;
    // Declared after the broadcast it plays, so that it stops first.
    std::unique_ptr<SoundOutput> sound;
};

#endif
