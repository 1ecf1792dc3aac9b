#include "signal/receiver/sdrreceiver.h"

#include "signal/audioring.h"
#include "signal/receiver/fmreceivechain.h"
#include "signal/receiver/iqdevice.h"

#include <chrono>
#include <complex>
#include <iomanip>
#include <iostream>
#include <limits>
#include <vector>

namespace {

const int readTimeoutMs = 100;
// Samples per read: a fiftieth of a second keeps the audio flowing smoothly.
const double blockSeconds = 0.02;
// Without samples for this long the reception is lost: strength 0.
const auto silenceBeforeLoss = std::chrono::milliseconds(500);

}

SdrReceiver::SdrReceiver(DeviceOpener openDevice, AudioRing& ring, int stationHz,
                         double deemphasisSeconds)
    : ring(ring)
    , deemphasisSeconds(deemphasisSeconds)
    , stopping(false)
    , requestedHz(stationHz)
    , strength(0)
    , stereo(false)
    , thread([this, openDevice = std::move(openDevice)] { Run(openDevice); })
{
}

SdrReceiver::~SdrReceiver()
{
    stopping.store(true);
    thread.join();
}

void SdrReceiver::Tune(int stationHz)
{
    requestedHz.store(stationHz);
}

int SdrReceiver::Strength() const
{
    return strength.load();
}

bool SdrReceiver::IsStereo() const
{
    return stereo.load();
}

void SdrReceiver::Run(const DeviceOpener& openDevice)
{
    using std::chrono::steady_clock;
    const std::unique_ptr<IqDevice> device = openDevice();
    if (!device) {
        while (!stopping.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(readTimeoutMs));
        return;
    }
    FmReceiveChain chain(device->SampleRate(), deemphasisSeconds);
    std::vector<std::complex<float>> samples(
        static_cast<size_t>(device->SampleRate() * blockSeconds) + 1);
    std::vector<float> audio;
    int tunedHz = 0;
    bool outsideReported = false;
    auto lastSamples = steady_clock::now();

    while (!stopping.load()) {
        const int wantedHz = requestedHz.load();
        if (wantedHz != tunedHz) {
            tunedHz = wantedHz;
            strength.store(0);
            stereo.store(false);
            double centreHz = 0;
            const bool inside = device->Tune(wantedHz, &centreHz)
                ? chain.SetStationOffset(wantedHz - centreHz)
                : chain.SetStationOffset(std::numeric_limits<double>::quiet_NaN());
            if (!inside && !outsideReported) {
                std::cerr << "radioshow: " << std::fixed << std::setprecision(1) << wantedHz / 1e6
                          << " MHz lies outside the band the SDR device receives: silence there\n";
                outsideReported = true;
            }
        }
        const int got = device->Read(samples.data(), static_cast<int>(samples.size()), readTimeoutMs);
        const auto now = steady_clock::now();
        if (got > 0) {
            lastSamples = now;
            audio.clear();
            chain.Process(samples.data(), got, audio);
            ring.Push(audio.data(), static_cast<int>(audio.size() / 2));
            strength.store(chain.Strength());
            stereo.store(chain.IsStereo());
        } else if (now - lastSamples > silenceBeforeLoss) {
            strength.store(0);
            stereo.store(false);
        }
    }
}
