#ifndef TUNERSERVICE_H
#define TUNERSERVICE_H

#include <QMediaService>

#include <functional>

class QRadioTunerControl;

// Makes a tuner control with the parent it is given.
using TunerControlFactory = std::function<QRadioTunerControl*(QObject* parent)>;

// The radio media service a tuner plugin hands to QRadioTuner. Its one
// control is the tuner; every other control QtMultimedia asks for is absent.
class TunerService : public QMediaService
{
    Q_OBJECT
public:
    explicit TunerService(const TunerControlFactory& makeControl, QObject* parent = nullptr);

    QMediaControl* requestControl(const char* name) override;
    void releaseControl(QMediaControl* control) override;

private:
    QRadioTunerControl* tunerControl;
};

#endif
