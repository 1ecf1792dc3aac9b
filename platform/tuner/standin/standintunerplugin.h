#ifndef STANDINTUNERPLUGIN_H
#define STANDINTUNERPLUGIN_H

#include "platform/tuner/tunerplugin.h"

// Offers the stand-in tuner as QtMultimedia's radio service. Built into the
// program as a static plugin; see standintuner.cpp for why a tuner plugin of
// the system itself still comes first.
class StandInTunerPlugin : public TunerPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QMediaServiceProviderFactoryInterface_iid FILE "standintuner.json")
public:
    StandInTunerPlugin();
};

#endif
