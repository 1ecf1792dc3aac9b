#ifndef SOAPYDEVICE_H
#define SOAPYDEVICE_H

#include "signal/receiver/iqdevice.h"

#include <SoapySDR/Types.hpp>

#include <chrono>
#include <memory>
#include <string>

namespace SoapySDR {
class Device;
class Stream;
}

// A software-defined radio receiver that SoapySDR drives: whatever stick its
// installed modules support (RTL2832U, HackRF, Airspy, SDRplay, LimeSDR,
// PlutoSDR...). It streams near 1.024 Msps with automatic gain and tunes a
// quarter of the sample rate above the station, so that the receiver's DC
// spike stays out of the channel (closer where the rate is under 400 kHz).
//
// Not everything SoapySDR lists is a radio: its audio module lists sound
// cards (a microphone, a monitor of the speakers), its remote module servers
// that may never answer. Only radio receivers that open and offer a usable
// rate count.
class SoapyDevice : public IqDevice
{
public:
    // Whether any SoapySDR module is installed: a look at the module folders,
    // without loading any.
    static bool ModulesInstalled();

    // Searches the modules for the first radio receiver that opens with a
    // usable rate, skipping sound cards and remote servers, and gives its
    // arguments. May take a second or more with many modules: run it off the
    // GUI thread. The modules' own chatter on standard error is held back
    // while they search. When receivers were listed but none opens, one line
    // on standard error says why the first did not.
    static bool Find(SoapySDR::Kwargs* found);

    // The receiver with these arguments, streaming; null, after one line on
    // standard error, when it does not open.
    static std::unique_ptr<SoapyDevice> Open(const SoapySDR::Kwargs& args);

    ~SoapyDevice() override;
    SoapyDevice(const SoapyDevice&) = delete;
    SoapyDevice& operator=(const SoapyDevice&) = delete;

    double SampleRate() const override;
    bool Tune(double stationHz, double* centreHz) override;
    int Read(std::complex<float>* samples, int count, int timeoutMs) override;

private:
    SoapyDevice(SoapySDR::Device* device, SoapySDR::Stream* stream, double sampleRate);
    static std::unique_ptr<SoapyDevice> TryOpen(const SoapySDR::Kwargs& args, std::string* why);

    SoapySDR::Device* device;
    SoapySDR::Stream* stream;
    double sampleRate;
    std::chrono::steady_clock::time_point lastSamples;
    bool silenceReported;
};

#endif
