#ifndef SDRTUNERPLUGIN_H
#define SDRTUNERPLUGIN_H

#include "platform/tuner/tunerplugin.h"

// Offers the SDR tuner as QtMultimedia's radio service. Built into the
// program as a static plugin and registered only where an SDR device is
// present; see sdrtuner.cpp.
class SdrTunerPlugin : public TunerPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QMediaServiceProviderFactoryInterface_iid FILE "sdrtuner.json")
public:
    SdrTunerPlugin();
};

#endif
