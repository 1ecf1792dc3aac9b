#ifndef SDRTUNERSERVICE_H
#define SDRTUNERSERVICE_H

#include <QMediaService>

class SdrTunerControl;

// The radio media service the SDR plugin hands to QRadioTuner. Its one
// control is the tuner, which receives from the device OpenSdrDevice() opens.
class SdrTunerService : public QMediaService
{
    Q_OBJECT
public:
    explicit SdrTunerService(QObject* parent = nullptr);

    QMediaControl* requestControl(const char* name) override;
    void releaseControl(QMediaControl* control) override;

private:
    SdrTunerControl* tunerControl;
};

#endif
