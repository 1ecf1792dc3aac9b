#ifndef SOAPYDEVICE_H
#define SOAPYDEVICE_H

#include "signal/receiver/iqdevice.h"

#include <chrono>
#include <memory>

namespace SoapySDR {
class Device;
class Stream;
}

// A software-defined radio receiver that SoapySDR drives: whatever stick its
// installed modules support (RTL2832U, HackRF, Airspy, SDRplay, LimeSDR,
// PlutoSDR...). It streams near 1.024 Msps with automatic gain and tunes a
// quarter of the sample rate above the station, so that the receiver's DC
// spike stays out of the channel (closer where the rate is under 400 kHz).
class SoapyDevice : public IqDevice
{
public:
    // Whether SoapySDR finds a receiver.
    static bool Present();

    // The first receiver SoapySDR finds, streaming; null, after one line on
    // standard error, when there is none or it does not open.
    static std::unique_ptr<SoapyDevice> Open();

    ~SoapyDevice() override;
    SoapyDevice(const SoapyDevice&) = delete;
    SoapyDevice& operator=(const SoapyDevice&) = delete;

    double SampleRate() const override;
    bool Tune(double stationHz, double* centreHz) override;
    int Read(std::complex<float>* samples, int count, int timeoutMs) override;

private:
    SoapyDevice(SoapySDR::Device* device, SoapySDR::Stream* stream, double sampleRate);

    SoapySDR::Device* device;
    SoapySDR::Stream* stream;
    double sampleRate;
    std::chrono::steady_clock::time_point lastSamples;
    bool silenceReported;
};

#endif
