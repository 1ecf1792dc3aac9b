#include "platform/tuner/standin/standintuner.h"

#include <QtPlugin>

// Defined by moc in standintunerplugin.cpp.
extern const QStaticPlugin qt_static_plugin_StandInTunerPlugin();

// QtMultimedia's default service provider asks its plugin loader for every
// plugin that offers the radio service and, without a hint, takes the first.
// The loader lists the plugins in QFactoryLoader::metaData() order: the
// dynamic plugins found in the library paths first, the static plugins after
// them, in the order they were registered. A radio plugin of the system thus
// always wins over this one, and so does a real receiver's plugin registered
// before it; the stand-in serves only where there is neither.
// (QT_MULTIMEDIA_PREFERRED_PLUGINS can still move a plugin to the front by
// its first key: "standintuner".)
void InstallStandInTuner()
{
    static bool installed = false;
    if (installed)
        return;
    qRegisterStaticPluginFunction(qt_static_plugin_StandInTunerPlugin());
    installed = true;
}
