#include "platform/tuner/sdr/sdrtuner.h"

#include "signal/receiver/iqrecording.h"
#include "signal/receiver/soapydevice.h"

#include <QCoreApplication>
#include <QtPlugin>

#include <cstdlib>
#include <future>
#include <iostream>

// Defined by moc in sdrtunerplugin.cpp.
extern const QStaticPlugin qt_static_plugin_SdrTunerPlugin();

namespace {

// Written once by InstallSdrTuner() before any receive thread starts.
bool recordingNamed = false;
IqRecording::Setting recording;

// The search for a receiver, and what it found: written by the search,
// read after waiting for it.
std::future<bool> search;
SoapySDR::Kwargs receiver;
bool receiverFound = false;

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
    if (!recordingNamed && !SoapyDevice::ModulesInstalled())
        return false;
    if (!recordingNamed) {
        search = std::async(std::launch::async, [] { return SoapyDevice::Find(&receiver); });
        // The search ends before the application object does, while the
        // modules it uses are still there.
        QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { SdrDeviceChosen(); });
    }
    // QtMultimedia lists the static plugins in the order they were
    // registered, and takes the first that offers the radio service.
    qRegisterStaticPluginFunction(qt_static_plugin_SdrTunerPlugin());
    installed = true;
    return true;
}

bool SdrDeviceChosen()
{
    if (search.valid())
        receiverFound = search.get();
    return recordingNamed || receiverFound;
}

std::unique_ptr<IqDevice> OpenSdrDevice()
{
    if (recordingNamed)
        return std::make_unique<IqRecording>(recording);
    return SoapyDevice::Open(receiver);
}
