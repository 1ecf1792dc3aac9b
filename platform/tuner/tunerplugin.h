#ifndef TUNERPLUGIN_H
#define TUNERPLUGIN_H

#include "platform/tuner/tunerservice.h"

#include <QMediaServiceProviderPlugin>

// What a tuner plugin does: offers QtMultimedia's radio service, a
// TunerService around the control the plugin makes. Each tuner derives its
// own plugin only for the metadata Qt identifies it by.
class TunerPlugin : public QMediaServiceProviderPlugin
{
public:
    explicit TunerPlugin(TunerControlFactory makeControl);

    QMediaService* create(const QString& key) override;
    void release(QMediaService* service) override;

private:
    TunerControlFactory makeControl;
};

#endif
