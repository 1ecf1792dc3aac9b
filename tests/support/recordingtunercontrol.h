#ifndef RECORDINGTUNERCONTROL_H
#define RECORDINGTUNERCONTROL_H

#include <QRadioTunerControl>
#include <QStringList>

// A tuner control that writes every request it gets into a log the test owns
// (which outlives the control), "gone" when it is destroyed, and reports
// whatever signal strength the test tells it to.
class RecordingTunerControl : public QRadioTunerControl
{
    Q_OBJECT
public:
    RecordingTunerControl(QStringList& log, QObject* parent);
    ~RecordingTunerControl() override;

    void ReportStrength(int strength);

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

private:
    QStringList& log;
    QRadioTuner::State runState = QRadioTuner::StoppedState;
    QRadioTuner::Band tunedBand = QRadioTuner::FM;
    int tunedHz = 0;
    int outputVolume = 0;
    bool muted = false;
    int lastStrength = 0;
};

#endif
