#include "signal/receiver/soapydevice.h"

#include "signal/receiver/fmreceivechain.h"

#include <SoapySDR/Device.hpp>
#include <SoapySDR/Errors.hpp>
#include <SoapySDR/Formats.hpp>
#include <SoapySDR/Logger.hpp>
#include <SoapySDR/Modules.hpp>
#include <SoapySDR/Registry.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <sstream>
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

// Drivers whose devices are no radio receivers: sound cards, and servers
// elsewhere on the network that may never answer.
const char* const notReceivers[] = {"audio", "remote"};

// Holds back what is written to standard error while it lives: module
// libraries print there on their own as they load and search. Lines of the
// show itself (from other threads meanwhile) still go out, afterwards.
class HeldStandardError
{
public:
    HeldStandardError()
    {
        int ends[2];
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        if (saved < 0 || pipe2(ends, O_CLOEXEC) != 0)
            return;
        dup2(ends[1], STDERR_FILENO);
        close(ends[1]);
        // A full pipe would block the writer: drain it as it fills.
        reader = std::thread([this, source = ends[0]] {
            char chunk[4096];
            ssize_t count;
            while ((count = read(source, chunk, sizeof chunk)) > 0)
                held.append(chunk, size_t(count));
            close(source);
        });
    }

    ~HeldStandardError()
    {
        if (saved < 0)
            return;
        std::fflush(stderr);
        std::cerr.flush();
        // Closes the pipe's last writing end: the reader sees its end.
        dup2(saved, STDERR_FILENO);
        close(saved);
        if (reader.joinable())
            reader.join();
        std::istringstream lines(held);
        std::string line;
        while (std::getline(lines, line))
            if (line.rfind("radioshow", 0) == 0)
                std::cerr << line << '\n';
    }

private:
    int saved = -1;
    std::thread reader;
    std::string held;
};

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

bool SoapyDevice::ModulesInstalled()
{
    try {
        return !SoapySDR::listModules().empty();
    } catch (const std::exception&) {
        return false;
    }
}

bool SoapyDevice::Find(SoapySDR::Kwargs* found)
{
    QuietSoapy();
    std::string firstFault;
    {
        const HeldStandardError held;
        try {
            SoapySDR::loadModules();
            // Each module's own search, so that sound cards and remote servers
            // are not even looked for.
            for (const auto& [driver, find] : SoapySDR::Registry::listFindFunctions()) {
                if (std::find(std::begin(notReceivers), std::end(notReceivers), driver) != std::end(notReceivers))
                    continue;
                SoapySDR::KwargsList listed;
                try {
                    listed = find(SoapySDR::Kwargs());
                } catch (const std::exception&) {
                    continue;
                }
                for (SoapySDR::Kwargs& args : listed) {
                    args["driver"] = driver;
                    std::string why;
                    if (TryOpen(args, &why)) {
                        *found = args;
                        return true;
                    }
                    if (firstFault.empty())
                        firstFault = driver + ": " + why;
                }
            }
        } catch (const std::exception&) {
        }
    }
    if (!firstFault.empty())
        std::cerr << "radioshow: no SDR device opens (" << firstFault << ")\n";
    return false;
}

std::unique_ptr<SoapyDevice> SoapyDevice::Open(const SoapySDR::Kwargs& args)
{
    QuietSoapy();
    std::string why;
    std::unique_ptr<SoapyDevice> opened = TryOpen(args, &why);
    if (!opened)
        std::cerr << "radioshow: the SDR device does not open: " << why << '\n';
    return opened;
}

std::unique_ptr<SoapyDevice> SoapyDevice::TryOpen(const SoapySDR::Kwargs& args, std::string* why)
{
    SoapySDR::Device* device = nullptr;
    SoapySDR::Stream* stream = nullptr;
    try {
        device = SoapySDR::Device::make(args);
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
        *why = fault.what();
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
