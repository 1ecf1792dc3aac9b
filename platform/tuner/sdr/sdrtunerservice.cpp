#include "platform/tuner/sdr/sdrtunerservice.h"

#include "platform/tuner/sdr/sdrtuner.h"
#include "platform/tuner/sdr/sdrtunercontrol.h"

#include <cstring>

SdrTunerService::SdrTunerService(QObject* parent)
    : QMediaService(parent)
    , tunerControl(new SdrTunerControl(OpenSdrDevice, this))
{
}

QMediaControl* SdrTunerService::requestControl(const char* name)
{
    return std::strcmp(name, QRadioTunerControl_iid) == 0 ? tunerControl : nullptr;
}

// The tuner control is the service's child and lives exactly as long as the
// service: QRadioTuner releases it just before the plugin deletes the service.
void SdrTunerService::releaseControl(QMediaControl*) {}
