#ifndef SDRTUNERCONTROL_H
#define SDRTUNERCONTROL_H

#include "platform/sound/soundoutput.h"
#include "platform/tuner/fmtunercontrol.h"
#include "signal/audioring.h"
#include "signal/receiver/sdrreceiver.h"

#include <memory>

// An FM receiver on an SDR device behind QRadioTuner. While active, a receive
// thread demodulates the tuned station into a ring of audio that the sound
// output plays, and every reportIntervalMs the control reports the strength
// the thread last measured, and whether the station is heard in stereo.
// Stopping ends the thread and the sound.
class SdrTunerControl : public FmTunerControl
{
    Q_OBJECT
public:
    explicit SdrTunerControl(SdrReceiver::DeviceOpener openDevice, QObject* parent = nullptr);
    ~SdrTunerControl() override;

    void setFrequency(int hz) override;

    void start() override;
    void stop() override;

    bool isStereo() const override;

    QString errorString() const override;

private:
    int MeasureStrength() override;
    void ApplyVolume(int volume) override;
    void ApplyMuted(bool mute) override;

    SdrReceiver::DeviceOpener openDevice;
    const double deemphasisSeconds;
    bool stereo;
    AudioRing ring;
    SoundOutput sound;
    std::unique_ptr<SdrReceiver> receiver;
};

#endif
