// moc emits the static plugin's entry point, qt_static_plugin_StandInTunerPlugin(),
// only when QT_STATICPLUGIN is defined before qplugin.h is first read; the moc
// output is therefore compiled here, below the definition.
#define QT_STATICPLUGIN

#include "platform/tuner/standin/standintunerplugin.h"

#include "platform/tuner/standin/standintuner.h"
#include "platform/tuner/standin/standintunercontrol.h"

namespace {

TunerControlFactory& InstalledFactory()
{
    static TunerControlFactory factory;
    return factory;
}

}

void SetStandInControlFactory(TunerControlFactory factory)
{
    InstalledFactory() = std::move(factory);
}

QRadioTunerControl* MakeStandInControl(QObject* parent)
{
    return InstalledFactory() ? InstalledFactory()(parent) : new StandInTunerControl(parent);
}

StandInTunerPlugin::StandInTunerPlugin() : TunerPlugin(MakeStandInControl) {}

#include "moc_standintunerplugin.cpp"
