#include "platform/tuner/sdr/sdrtuner.h"

#include "signal/receiver/iqrecording.h"
#include "signal/receiver/soapydevice.h"

#include <QtPlugin>

#include <cstdlib>
#include <iostream>

// Defined by moc in sdrtunerplugin.cpp.
extern const QStaticPlugin qt_static_plugin_SdrTunerPlugin();

namespace {

// Written once by InstallSdrTuner() before any receive thread starts.
bool recordingNamed = false;
IqRecording::Setting recording;

}

bool InstallSdrTuner()
{
    static bool installed = false;
    if (installed)
        return true;
    const char* value = std::getenv(IqRecording::variable);
    if (value && *value) {
        std::string why;
        recordingNamed = IqRecording::ParseSetting(value, &recording, &why);
        if (!recordingNamed)
            std::cerr << "radioshow: " << IqRecording::variable << " ignored: " << why << '\n';
    }
    if (!recordingNamed && !SoapyDevice::Present())
        return false;
    // QtMultimedia lists the static plugins in the order they were
    // registered, and takes the first that offers the radio service.
    qRegisterStaticPluginFunction(qt_static_plugin_SdrTunerPlugin());
    installed = true;
    return true;
}

std::unique_ptr<IqDevice> OpenSdrDevice()
{
    if (recordingNamed)
        return std::make_unique<IqRecording>(recording);
    return SoapyDevice::Open();
}
