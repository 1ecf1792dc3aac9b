#include "platform/tuner/standin/standintunerservice.h"

#include "platform/tuner/standin/standintunercontrol.h"

#include <QRadioTunerControl>

#include <cstring>

namespace {

StandInTunerService::ControlFactory& InstalledFactory()
{
    static StandInTunerService::ControlFactory factory;
    return factory;
}

}

StandInTunerService::StandInTunerService(QObject* parent)
    : QMediaService(parent)
    , tunerControl(InstalledFactory() ? InstalledFactory()(this) : new StandInTunerControl(this))
{
}

QMediaControl* StandInTunerService::requestControl(const char* name)
{
    return std::strcmp(name, QRadioTunerControl_iid) == 0 ? tunerControl : nullptr;
}

// The tuner control is the service's child and lives exactly as long as the
// service: QRadioTuner releases it just before the plugin deletes the service.
void StandInTunerService::releaseControl(QMediaControl*) {}

void StandInTunerService::SetControlFactory(ControlFactory factory)
{
    InstalledFactory() = std::move(factory);
}
