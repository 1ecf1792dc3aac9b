#include "platform/tuner/tunerservice.h"

#include <QRadioTunerControl>

#include <cstring>

TunerService::TunerService(const TunerControlFactory& makeControl, QObject* parent)
    : QMediaService(parent)
    , tunerControl(makeControl(this))
{
}

QMediaControl* TunerService::requestControl(const char* name)
{
    return std::strcmp(name, QRadioTunerControl_iid) == 0 ? tunerControl : nullptr;
}

// The tuner control is the service's child and lives exactly as long as the
// service: QRadioTuner releases it just before the plugin deletes the service.
void TunerService::releaseControl(QMediaControl*) {}
