#include "platform/tuner/standin/standintuner.h"

#include <QtPlugin>

// Registers StandInTunerPlugin with QPluginLoader::staticPlugins() while this
// file's statics are initialised. The file sits in a static library, so it
// is linked only because InstallStandInTuner() below is called.
//
// QtMultimedia's default service provider asks its plugin loader for every
// plugin that offers the radio service and, without a hint, takes the first.
// The loader lists the plugins in QFactoryLoader::metaData() order: the
// dynamic plugins found in the library paths first, the static plugins after
// them. A radio plugin of the system thus always wins over this one, which
// serves only where the system has none. (QT_MULTIMEDIA_PREFERRED_PLUGINS
// can still move a plugin to the front by its first key: "standintuner".)
Q_IMPORT_PLUGIN(StandInTunerPlugin)

void InstallStandInTuner()
{
}
