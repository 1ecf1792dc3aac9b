#ifndef STANDINTUNERPLUGIN_H
#define STANDINTUNERPLUGIN_H

#include <QMediaServiceProviderPlugin>

// Offers the stand-in tuner as QtMultimedia's radio service. Built into the
// program as a static plugin; see standintuner.cpp for why a tuner plugin of
// the system itself still comes first.
class StandInTunerPlugin : public QMediaServiceProviderPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QMediaServiceProviderFactoryInterface_iid FILE "standintuner.json")
public:
    QMediaService* create(const QString& key) override;
    void release(QMediaService* service) override;
};

#endif
