// moc emits the static plugin's entry point, qt_static_plugin_SdrTunerPlugin(),
// only when QT_STATICPLUGIN is defined before qplugin.h is first read; the moc
// output is therefore compiled here, below the definition.
#define QT_STATICPLUGIN

#include "platform/tuner/sdr/sdrtunerplugin.h"

#include "platform/tuner/sdr/sdrtunerservice.h"

#include <QMediaService>

QMediaService* SdrTunerPlugin::create(const QString& key)
{
    return key == QLatin1String(Q_MEDIASERVICE_RADIO) ? new SdrTunerService : nullptr;
}

void SdrTunerPlugin::release(QMediaService* service)
{
    delete service;
}

#include "moc_sdrtunerplugin.cpp"
