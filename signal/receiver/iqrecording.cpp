#include "signal/receiver/iqrecording.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <thread>

namespace {

// An FM channel must fit into the band; beyond 20 Msps no stick delivers.
const double lowestRate = 200e3;
const double highestRate = 20e6;
const double highestCentreHz = 10e9;
// Behind by more than this (a stalled machine), the recording skips ahead
// instead of racing to catch up.
const double longestCatchUpSeconds = 0.25;

bool ParseHz(const std::string& text, double* hz)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    *hz = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(*hz);
}

}

const char* const IqRecording::variable = "RADIOSHOW_SDR_RECORDING";

bool IqRecording::ParseSetting(const std::string& value, Setting* setting, std::string* why)
{
    const size_t rateComma = value.rfind(',');
    const size_t centreComma
        = rateComma == std::string::npos || rateComma == 0 ? std::string::npos
                                                           : value.rfind(',', rateComma - 1);
    if (centreComma == std::string::npos || centreComma == 0) {
        *why = "expected <file>,<centre Hz>,<sample rate Hz>";
        return false;
    }
    setting->path = value.substr(0, centreComma);
    if (!ParseHz(value.substr(centreComma + 1, rateComma - centreComma - 1), &setting->centreHz)
        || !ParseHz(value.substr(rateComma + 1), &setting->sampleRate)) {
        *why = "the centre frequency and the sample rate must be numbers in Hz";
        return false;
    }
    if (setting->centreHz <= 0 || setting->centreHz > highestCentreHz
        || setting->sampleRate < lowestRate || setting->sampleRate > highestRate) {
        *why = "the centre frequency must lie in 0..10 GHz and the sample rate in 200 kHz..20 MHz";
        return false;
    }
    return true;
}

IqRecording::IqRecording(const Setting& setting)
    : setting(setting)
    , file(std::fopen(setting.path.c_str(), "rb"))
    , failed(false)
    , oddLengthReported(false)
    , bytesThisPass(0)
    , delivered(0)
    , started(false)
{
    if (!file)
        Fail(std::string("cannot be opened: ") + std::strerror(errno));
}

IqRecording::~IqRecording()
{
    if (file)
        std::fclose(file);
}

double IqRecording::SampleRate() const
{
    return setting.sampleRate;
}

bool IqRecording::Tune(double, double* centreHz)
{
    *centreHz = setting.centreHz;
    return true;
}

int IqRecording::Read(std::complex<float>* samples, int count, int timeoutMs)
{
    using namespace std::chrono;
    const auto timeout = milliseconds(std::max(timeoutMs, 0));
    if (failed || count <= 0) {
        std::this_thread::sleep_for(timeout);
        return 0;
    }
    auto now = steady_clock::now();
    if (!started) {
        started = true;
        start = now;
    }
    auto due = [&] {
        return duration<double>(now - start).count() * setting.sampleRate - delivered;
    };
    if (due() > longestCatchUpSeconds * setting.sampleRate)
        start = now - duration_cast<steady_clock::duration>(
                    duration<double>((delivered + count) / setting.sampleRate));
    if (due() < count) {
        const auto wait = duration<double>((count - due()) / setting.sampleRate);
        std::this_thread::sleep_for(std::min<duration<double>>(wait, timeout));
        now = steady_clock::now();
    }
    const int wanted = static_cast<int>(std::clamp(due(), 0.0, double(count)));
    bytes.resize(2 * static_cast<size_t>(wanted));
    const int got = static_cast<int>(ReadBytes(bytes.data(), bytes.size()) / 2);
    for (int i = 0; i < got; ++i)
        samples[i] = std::complex<float>((bytes[2 * i] - 127.5f) / 127.5f,
                                         (bytes[2 * i + 1] - 127.5f) / 127.5f);
    delivered += got;
    return got;
}

// Reads count bytes (an even number), starting over at the end of the file.
// Returns fewer only once the recording has failed.
size_t IqRecording::ReadBytes(unsigned char* into, size_t count)
{
    size_t filled = 0;
    while (filled < count && !failed) {
        const size_t got = std::fread(into + filled, 1, count - filled, file);
        filled += got;
        bytesThisPass += got;
        if (filled == count)
            break;
        if (std::ferror(file)) {
            Fail("can no longer be read");
            break;
        }
        if (bytesThisPass < 2) {
            Fail(delivered > 0 || filled >= 2 ? "no longer holds samples" : "holds no samples");
            break;
        }
        if (bytesThisPass % 2 == 1) {
            --filled;
            if (!oddLengthReported)
                std::cerr << "radioshow: the SDR recording " << setting.path
                          << " ends in half a sample, which is skipped\n";
            oddLengthReported = true;
        }
        bytesThisPass = 0;
        std::rewind(file);
    }
    return filled - filled % 2;
}

void IqRecording::Fail(const std::string& why)
{
    failed = true;
    std::cerr << "radioshow: the SDR recording " << setting.path << ' ' << why << '\n';
}
