#ifndef RADIO_H
#define RADIO_H

#include <QObject>

class QRadioTuner;

extern const int channel_freqs[20];
extern const float channel_metas[20];
extern const int channel_fixes[20];

// The FM radio: twenty fixed stations stepped through in order, and the
// tuner's signal strength turned into the show's noise value.
class Radio : public QObject
{
    Q_OBJECT
public:
    Radio();
    ~Radio() override;

    void Switch(bool enable);
    void Activate();
    void Shuffle();
    int GetNoise() const;
    int GetSuperNoise() const;
    void ForceOff();
    void ForceOn();
    void SetVolume(int volume);
    void Tune(int hz);

    bool IsOn() const { return on; }
    int Channel() const { return channel; }
    int Frequency() const { return frequency; }
    QRadioTuner* Tuner() const { return tuner; }

public slots:
    void SetNoise(int strength);

private:
    bool on;
    int frequency;
    int noise;
    int channel;
    QRadioTuner* tuner;
};

#endif
