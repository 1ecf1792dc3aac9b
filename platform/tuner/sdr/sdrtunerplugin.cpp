// moc emits the static plugin's entry point, qt_static_plugin_SdrTunerPlugin(),
// only when QT_STATICPLUGIN is defined before qplugin.h is first read; the moc
// output is therefore compiled here, below the definition.
#define QT_STATICPLUGIN

#include "platform/tuner/sdr/sdrtunerplugin.h"

#include "platform/tuner/sdr/sdrtuner.h"
#include "platform/tuner/sdr/sdrtunercontrol.h"
#include "platform/tuner/standin/standintuner.h"

SdrTunerPlugin::SdrTunerPlugin()
    : TunerPlugin([](QObject* parent) -> QRadioTunerControl* {
        if (SdrDeviceChosen())
            return new SdrTunerControl(OpenSdrDevice, parent);
        return MakeStandInControl(parent);
    })
{
}

#include "moc_sdrtunerplugin.cpp"
