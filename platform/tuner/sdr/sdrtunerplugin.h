#ifndef SDRTUNERPLUGIN_H
#define SDRTUNERPLUGIN_H

#include <QMediaServiceProviderPlugin>

// Offers the SDR tuner as QtMultimedia's radio service. Built into the
// program as a static plugin and registered only where an SDR device is
// present; see sdrtuner.cpp.
class SdrTunerPlugin : public QMediaServiceProviderPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QMediaServiceProviderFactoryInterface_iid FILE "sdrtuner.json")
public:
    QMediaService* create(const QString& key) override;
    void release(QMediaService* service) override;
};

#endif
