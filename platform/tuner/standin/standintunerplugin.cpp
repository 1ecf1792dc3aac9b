// moc emits the static plugin's entry point, qt_static_plugin_StandInTunerPlugin(),
// only when QT_STATICPLUGIN is defined before qplugin.h is first read; the moc
// output is therefore compiled here, below the definition.
#define QT_STATICPLUGIN

#include "platform/tuner/standin/standintunerplugin.h"

#include "platform/tuner/standin/standintunerservice.h"

#include <QMediaService>

QMediaService* StandInTunerPlugin::create(const QString& key)
{
    return key == QLatin1String(Q_MEDIASERVICE_RADIO) ? new StandInTunerService : nullptr;
}

void StandInTunerPlugin::release(QMediaService* service)
{
    delete service;
}

#include "moc_standintunerplugin.cpp"
