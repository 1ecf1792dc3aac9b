#include "platform/tuner/tunerplugin.h"

#include <utility>

TunerPlugin::TunerPlugin(TunerControlFactory makeControl)
    : makeControl(std::move(makeControl))
{
}

QMediaService* TunerPlugin::create(const QString& key)
{
    return key == QLatin1String(Q_MEDIASERVICE_RADIO) ? new TunerService(makeControl) : nullptr;
}

void TunerPlugin::release(QMediaService* service)
{
    delete service;
}
