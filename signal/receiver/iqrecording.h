#ifndef IQRECORDING_H
#define IQRECORDING_H

#include "signal/receiver/iqdevice.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// An IQ recording played as if it were the receiver: 8-bit unsigned samples,
// I then Q, as rtl_sdr writes them, delivered at the recording's sample rate
// and looping at its end. The recording stays where it was made: tuning only
// chooses which part of its band is heard.
class IqRecording : public IqDevice
{
public:
    // The environment variable that names a recording, with its centre
    // frequency and sample rate in Hz: "<file>,<centre>,<rate>".
    static const char* const variable;

    struct Setting
    {
        std::string path;
        double centreHz;
        double sampleRate;
    };

    // False, with the reason in why, for anything but "<file>,<centre>,<rate>"
    // with a centre and a sample rate that an FM broadcast recording can have.
    static bool ParseSetting(const std::string& value, Setting* setting, std::string* why);

    explicit IqRecording(const Setting& setting);
    ~IqRecording() override;
    IqRecording(const IqRecording&) = delete;
    IqRecording& operator=(const IqRecording&) = delete;

    double SampleRate() const override;
    bool Tune(double stationHz, double* centreHz) override;
    int Read(std::complex<float>* samples, int count, int timeoutMs) override;

private:
    size_t ReadBytes(unsigned char* into, size_t count);
    void Fail(const std::string& why);

    Setting setting;
    std::FILE* file;
    bool failed;
    bool oddLengthReported;
    size_t bytesThisPass;
    long long delivered;
    bool started;
    std::chrono::steady_clock::time_point start;
    std::vector<unsigned char> bytes;
};

#endif
