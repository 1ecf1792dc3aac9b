// A SoapySDR module for the tests: a receiver that "hears" one FM station at
// 100.0 MHz (a 1 kHz tone at 75 kHz deviation, 40 dB over the noise in its
// channel) wherever it is tuned, streams it in real time as complex floats,
// and is unplugged as soon as the file named in RADIOSHOW_FAKE_SDR_UNPLUGGED
// exists: from then on every read times out, as a vanished stick's would.
// Beside it, as on a desktop with every module installed, the module lists
// what is no receiver: a sound card's input (driver "audio", 48 kHz at
// most) and a receiver that does not open; and the receiver itself refuses
// to open while RADIOSHOW_FAKE_SDR_REFUSED is set.
#include <SoapySDR/Device.hpp>
#include <SoapySDR/Errors.hpp>
#include <SoapySDR/Formats.hpp>
#include <SoapySDR/Registry.hpp>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {

const double pi = 3.14159265358979323846;
const double stationHz = 100.0e6;
const double channelNoisePower = 1.2e-5;
const double stationSnrDb = 40;

class FakeSoapyDevice : public SoapySDR::Device
{
public:
    std::string getDriverKey() const override { return "radioshowfake"; }
    std::string getHardwareKey() const override { return "radioshowfake"; }
    size_t getNumChannels(const int direction) const override
    {
        return direction == SOAPY_SDR_RX ? 1 : 0;
    }
    std::vector<std::string> getStreamFormats(const int, const size_t) const override
    {
        return {SOAPY_SDR_CF32};
    }
    std::string getNativeStreamFormat(const int, const size_t, double& fullScale) const override
    {
        fullScale = 1.0;
        return SOAPY_SDR_CF32;
    }

    SoapySDR::RangeList getSampleRateRange(const int, const size_t) const override
    {
        return {SoapySDR::Range(225001, 300000), SoapySDR::Range(900001, 3200000)};
    }
    void setSampleRate(const int, const size_t, const double rate) override { sampleRate = rate; }
    double getSampleRate(const int, const size_t) const override { return sampleRate; }

    SoapySDR::RangeList getFrequencyRange(const int, const size_t) const override
    {
        return {SoapySDR::Range(24e6, 1766e6)};
    }
    void setFrequency(const int, const size_t, const double frequency,
                      const SoapySDR::Kwargs&) override
    {
        centreHz = frequency;
    }
    double getFrequency(const int, const size_t) const override { return centreHz; }

    bool hasGainMode(const int, const size_t) const override { return true; }
    void setGainMode(const int, const size_t, const bool) override {}

    SoapySDR::Stream* setupStream(const int, const std::string&, const std::vector<size_t>&,
                                  const SoapySDR::Kwargs&) override
    {
        return reinterpret_cast<SoapySDR::Stream*>(this);
    }
    void closeStream(SoapySDR::Stream*) override {}
    int activateStream(SoapySDR::Stream*, const int, const long long, const size_t) override
    {
        start = std::chrono::steady_clock::now();
        delivered = 0;
        return 0;
    }
    int deactivateStream(SoapySDR::Stream*, const int, const long long) override { return 0; }

    int readStream(SoapySDR::Stream*, void* const* buffers, const size_t count, int& flags,
                   long long&, const long timeoutUs) override
    {
        flags = 0;
        const auto timeout = std::chrono::microseconds(timeoutUs);
        const char* unplugged = std::getenv("RADIOSHOW_FAKE_SDR_UNPLUGGED");
        if (unplugged && access(unplugged, F_OK) == 0) {
            std::this_thread::sleep_for(timeout);
            return SOAPY_SDR_TIMEOUT;
        }
        const auto due = start
            + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>((delivered + count) / sampleRate));
        if (due - std::chrono::steady_clock::now() > timeout) {
            std::this_thread::sleep_for(timeout);
            return SOAPY_SDR_TIMEOUT;
        }
        std::this_thread::sleep_until(due);
        auto* samples = static_cast<std::complex<float>*>(buffers[0]);
        const double amplitude = std::sqrt(channelNoisePower * std::pow(10.0, stationSnrDb / 10));
        std::normal_distribution<double> noise(0.0, std::sqrt(channelNoisePower * sampleRate / 200e3 / 2));
        for (size_t i = 0; i < count; ++i) {
            carrierPhase = std::remainder(carrierPhase + 2 * pi * (stationHz - centreHz) / sampleRate, 2 * pi);
            tonePhase = std::remainder(tonePhase + 2 * pi * 1000 / sampleRate, 2 * pi);
            const std::complex<double> sample = std::polar(amplitude, carrierPhase + 75 * std::sin(tonePhase))
                + std::complex<double>(noise(generator), noise(generator));
            samples[i] = std::complex<float>(sample);
        }
        delivered += count;
        return static_cast<int>(count);
    }

private:
    double sampleRate = 2.048e6;
    double centreHz = 100e6;
    double carrierPhase = 0;
    double tonePhase = 0;
    long long delivered = 0;
    std::chrono::steady_clock::time_point start;
    std::mt19937_64 generator{42};
};

SoapySDR::KwargsList FindFake(const SoapySDR::Kwargs&)
{
    return {{{"driver", "radioshowfake"}}};
}

SoapySDR::Device* MakeFake(const SoapySDR::Kwargs&)
{
    if (std::getenv("RADIOSHOW_FAKE_SDR_REFUSED"))
        throw std::runtime_error("refused");
    return new FakeSoapyDevice;
}

class FakeSoundCard : public FakeSoapyDevice
{
public:
    std::string getDriverKey() const override { return "audio"; }
    SoapySDR::RangeList getSampleRateRange(const int, const size_t) const override
    {
        return {SoapySDR::Range(8000, 48000)};
    }
    void setSampleRate(const int, const size_t, const double) override {}
    double getSampleRate(const int, const size_t) const override { return 48000; }
};

SoapySDR::KwargsList FindSoundCard(const SoapySDR::Kwargs&)
{
    return {{{"driver", "audio"}, {"label", "Monitor of Built-in Audio"}}};
}

SoapySDR::Device* MakeSoundCard(const SoapySDR::Kwargs&)
{
    return new FakeSoundCard;
}

SoapySDR::KwargsList FindBroken(const SoapySDR::Kwargs&)
{
    return {{{"driver", "radioshowbroken"}}};
}

SoapySDR::Device* MakeBroken(const SoapySDR::Kwargs&)
{
    throw std::runtime_error("usb_claim_interface error -6");
}

// Listed in the order of their keys: the sound card and the broken receiver
// come before the receiver.
const SoapySDR::Registry registration("radioshowfake", &FindFake, &MakeFake, SOAPY_SDR_ABI_VERSION);
const SoapySDR::Registry soundCard("audio", &FindSoundCard, &MakeSoundCard, SOAPY_SDR_ABI_VERSION);
const SoapySDR::Registry broken("radioshowbroken", &FindBroken, &MakeBroken, SOAPY_SDR_ABI_VERSION);

}
