#ifndef STANDINTUNERSERVICE_H
#define STANDINTUNERSERVICE_H

#include <QMediaService>

#include <functional>

class QRadioTunerControl;

// The radio media service the stand-in plugin hands to QRadioTuner. Its one
// control is the tuner; every other control QtMultimedia asks for is absent.
class StandInTunerService : public QMediaService
{
    Q_OBJECT
public:
    using ControlFactory = std::function<QRadioTunerControl*(QObject* parent)>;

    explicit StandInTunerService(QObject* parent = nullptr);

    QMediaControl* requestControl(const char* name) override;
    void releaseControl(QMediaControl* control) override;

    // Services created from now on take their tuner from factory, which must
    // give the control the parent it is passed. An empty factory brings back
    // the stand-in tuner. Tests use this to see what the radio asks of its tuner.
    static void SetControlFactory(ControlFactory factory);

private:
    QRadioTunerControl* tunerControl;
};

#endif
