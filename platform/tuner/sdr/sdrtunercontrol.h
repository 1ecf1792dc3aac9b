#ifndef SDRTUNERCONTROL_H
#define SDRTUNERCONTROL_H

#include "platform/sound/qtaudio/soundoutput.h"
#include "platform/tuner/sdr/audioring.h"
#include "platform/tuner/sdr/sdrreceiver.h"

#include <QRadioTunerControl>
#include <QTimer>

#include <memory>

// An FM receiver on an SDR device behind QRadioTuner. While active, a receive
// thread demodulates the tuned station into a ring of audio that the sound
// output plays, and every reportIntervalMs the control reports the strength
// the thread last measured. Stopping ends the thread and the sound.
class SdrTunerControl : public QRadioTunerControl
{
    Q_OBJECT
public:
    static const int bandStartHz = 87500000;
    static const int bandEndHz = 108000000;
    static const int stepHz = 100000;
    static const int reportIntervalMs = 250;

    explicit SdrTunerControl(SdrReceiver::DeviceOpener openDevice, QObject* parent = nullptr);
    ~SdrTunerControl() override;

    QRadioTuner::State state() const override;

    QRadioTuner::Band band() const override;
    void setBand(QRadioTuner::Band band) override;
    bool isBandSupported(QRadioTuner::Band band) const override;

    int frequency() const override;
    int frequencyStep(QRadioTuner::Band band) const override;
    QPair<int, int> frequencyRange(QRadioTuner::Band band) const override;
    void setFrequency(int hz) override;

    bool isStereo() const override;
    QRadioTuner::StereoMode stereoMode() const override;
    void setStereoMode(QRadioTuner::StereoMode mode) override;

    int signalStrength() const override;

    int volume() const override;
    void setVolume(int volume) override;

    bool isMuted() const override;
    void setMuted(bool mute) override;

    bool isSearching() const override;

    void searchForward() override;
    void searchBackward() override;
    void searchAllStations(QRadioTuner::SearchMode searchMode) override;
    void cancelSearch() override;

    void start() override;
    void stop() override;

    QRadioTuner::Error error() const override;
    QString errorString() const override;

private slots:
    void Report();

private:
    SdrReceiver::DeviceOpener openDevice;
    QRadioTuner::State runState;
    int tunedHz;
    QRadioTuner::StereoMode requestedStereoMode;
    int lastStrength;
    int outputVolume;
    bool muted;
    QRadioTuner::Error lastError;
    QTimer reportTimer;
    AudioRing ring;
    SoundOutput sound;
    std::unique_ptr<SdrReceiver> receiver;
};

#endif
