#include "signal/receiver/soapydevice.h"

#include "signal/receiver/fmreceivechain.h"

#include <SoapySDR/Device.hpp>
#include <SoapySDR/Errors.hpp>
#include <SoapySDR/Formats.hpp>
#include <SoapySDR/Logger.hpp>

#include <algorithm>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <thread>

namespace {

const double preferredRate = 1.024e6;
// An FM channel must fit into the band; beyond this the chain is too costly.
const double lowestRate = 200e3;
const double highestRate = 20e6;
const double gainShare = 0.7;
// A receiver that delivers nothing for this long is reported, once.
const auto silenceBeforeReport = std::chrono::seconds(1);

// SoapySDR and its modules log to standard error on their own; the device
// reports its faults itself, one line each.
void DropSoapyLog(const SoapySDRLogLevel, const char*) {}

void QuietSoapy()
{
    SoapySDR::registerLogHandler(DropSoapyLog);
}

// The preferred rate where the device offers it, else the lowest it offers
// above it, else its highest.
double ChooseRate(const SoapySDR::RangeList& ranges)
{
    double chosen = 0;
    double highest = 0;
    for (const SoapySDR::Range& range : ranges) {
        highest = std::max(highest, range.maximum());
        if (range.maximum() >= preferredRate) {
            const double candidate = std::max(range.minimum(), preferredRate);
            chosen = chosen > 0 ? std::min(chosen, candidate) : candidate;
        }
    }
    if (ranges.empty())
        return preferredRate;
    return chosen > 0 ? chosen : highest;
}

}

bool SoapyDevice::Present()
{
    QuietSoapy();
    try {
        return !SoapySDR::Device::enumerate().empty();
    } catch (const std::exception&) {
        return false;
    }
}

std::unique_ptr<SoapyDevice> SoapyDevice::Open()
{
    QuietSoapy();
    SoapySDR::Device* device = nullptr;
    SoapySDR::Stream* stream = nullptr;
    try {
        const SoapySDR::KwargsList found = SoapySDR::Device::enumerate();
        if (found.empty()) {
            std::cerr << "radioshow: no SDR device found\n";
            return nullptr;
        }
        device = SoapySDR::Device::make(found.front());
        if (!device)
            throw std::runtime_error("the driver refuses it");
        device->setSampleRate(SOAPY_SDR_RX, 0,
                              ChooseRate(device->getSampleRateRange(SOAPY_SDR_RX, 0)));
        if (device->hasGainMode(SOAPY_SDR_RX, 0)) {
            device->setGainMode(SOAPY_SDR_RX, 0, true);
        } else {
            const SoapySDR::Range gain = device->getGainRange(SOAPY_SDR_RX, 0);
            device->setGain(SOAPY_SDR_RX, 0,
                            gain.minimum() + gainShare * (gain.maximum() - gain.minimum()));
        }
        const double rate = device->getSampleRate(SOAPY_SDR_RX, 0);
        if (!(rate >= lowestRate && rate <= highestRate))
            throw std::runtime_error("it offers no sample rate between 200 kHz and 20 MHz");
        stream = device->setupStream(SOAPY_SDR_RX, SOAPY_SDR_CF32);
        if (device->activateStream(stream) != 0)
            throw std::runtime_error("its stream does not start");
        return std::unique_ptr<SoapyDevice>(new SoapyDevice(device, stream, rate));
    } catch (const std::exception& fault) {
        std::cerr << "radioshow: the SDR device does not open: " << fault.what() << '\n';
    }
    if (device) {
        try {
            if (stream)
                device->closeStream(stream);
        } catch (const std::exception&) {
        }
        SoapySDR::Device::unmake(device);
    }
    return nullptr;
}

SoapyDevice::SoapyDevice(SoapySDR::Device* device, SoapySDR::Stream* stream, double sampleRate)
    : device(device)
    , stream(stream)
    , sampleRate(sampleRate)
    , lastSamples(std::chrono::steady_clock::now())
    , silenceReported(false)
{
}

SoapyDevice::~SoapyDevice()
{
    try {
        device->deactivateStream(stream);
        device->closeStream(stream);
    } catch (const std::exception&) {
    }
    try {
        SoapySDR::Device::unmake(device);
    } catch (const std::exception&) {
    }
}

double SoapyDevice::SampleRate() const
{
    return sampleRate;
}

bool SoapyDevice::Tune(double stationHz, double* centreHz)
{
    // At low rates the channel would not fit beside the spike: closer then.
    const double offset = std::max(
        0.0, std::min(sampleRate / 4, sampleRate / 2 - FmReceiveChain::channelHalfWidthHz));
    const double centre = stationHz + offset;
    try {
        bool inside = false;
        for (const SoapySDR::Range& range : device->getFrequencyRange(SOAPY_SDR_RX, 0))
            inside = inside || (range.minimum() <= centre && centre <= range.maximum());
        if (!inside)
            return false;
        device->setFrequency(SOAPY_SDR_RX, 0, centre);
        *centreHz = device->getFrequency(SOAPY_SDR_RX, 0);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

int SoapyDevice::Read(std::complex<float>* samples, int count, int timeoutMs)
{
    void* buffers[] = {samples};
    int flags = 0;
    long long timeNs = 0;
    int result = SOAPY_SDR_STREAM_ERROR;
    try {
        result = device->readStream(stream, buffers, static_cast<size_t>(std::max(count, 0)),
                                    flags, timeNs, std::max(timeoutMs, 0) * 1000L);
    } catch (const std::exception&) {
    }
    const auto now = std::chrono::steady_clock::now();
    if (result > 0) {
        lastSamples = now;
        return result;
    }
    // An overflow only means samples were lost; the stream goes on.
    if (result == SOAPY_SDR_OVERFLOW)
        return 0;
    if (now - lastSamples > silenceBeforeReport && !silenceReported) {
        std::cerr << "radioshow: the SDR device delivers no samples (unplugged?): silence\n";
        silenceReported = true;
    }
    // A failing stream may fail at once, every time: wait as a timeout would.
    if (result != SOAPY_SDR_TIMEOUT)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(timeoutMs, 0)));
    return 0;
}
