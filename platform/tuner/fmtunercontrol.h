#ifndef FMTUNERCONTROL_H
#define FMTUNERCONTROL_H

#include <QRadioTunerControl>
#include <QTimer>

// An FM-only receiver behind QRadioTuner, less the receiving: it keeps the
// band and its raster, the state, the tuned frequency, the stereo mode, the
// volume and mute with their signals and the last reported strength, and
// makes a report on every tick of a timer. A subclass says how it tunes,
// starts and stops (running the timer while active), what volume and mute do
// to what it plays, and what strength each report carries.
class FmTunerControl : public QRadioTunerControl
{
    Q_OBJECT
public:
    static const int bandStartHz = 87500000;
    static const int bandEndHz = 108000000;
    static const int stepHz = 100000;
    static const int reportIntervalMs = 250;

    explicit FmTunerControl(QObject* parent = nullptr);

    QRadioTuner::State state() const override;

    QRadioTuner::Band band() const override;
    void setBand(QRadioTuner::Band band) override;
    bool isBandSupported(QRadioTuner::Band band) const override;

    int frequency() const override;
    int frequencyStep(QRadioTuner::Band band) const override;
    QPair<int, int> frequencyRange(QRadioTuner::Band band) const override;

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

    QRadioTuner::Error error() const override;

protected:
    // Only records hz: the subclass retunes first, then emits frequencyChanged.
    void SetTunedFrequency(int hz);

    // Records the state and emits stateChanged.
    void SetState(QRadioTuner::State state);

    // Reports the strength MeasureStrength() gives.
    void Report();

    // The strength, 0 to 100, that the report being made carries.
    virtual int MeasureStrength() = 0;

    // Volume (0 to 100) and mute, each time they change, for what is playing.
    virtual void ApplyVolume(int volume) = 0;
    virtual void ApplyMuted(bool mute) = 0;

    // Makes a report every reportIntervalMs while it runs.
    QTimer reportTimer;

private:
    QRadioTuner::State runState;
    int tunedHz;
    QRadioTuner::StereoMode requestedStereoMode;
    int lastStrength;
    int outputVolume;
    bool muted;
    QRadioTuner::Error lastError;
};

#endif
