#ifndef STANDINTUNERCONTROL_H
#define STANDINTUNERCONTROL_H

#include "signal/gainramp.h"
#include "platform/tuner/fmtunercontrol.h"
#include "signal/broadcast/standinreceiver.h"

#include <memory>

class SoundOutput;

// The stand-in receiver (StandInReceiver) behind QRadioTuner: it tunes the
// FM band like a real receiver, reports the receiver's strengths and while
// active plays what the receiver hears, at the volume and mute it is given.
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

    void setFrequency(int hz) override;

    void start() override;
    void stop() override;

    QString errorString() const override;

private:
    int MeasureStrength() override;
    void ApplyVolume(int volume) override;
    void ApplyMuted(bool mute) override;

    Pacing pacing;
    StandInReceiver receiver;
    GainRamp callerGain;
    // Declared after the receiver it plays, so that it stops first.
    std::unique_ptr<SoundOutput> sound;
};

#endif
