#include "support/fmrecording.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

namespace fmrecording {

namespace {

const double pi = 3.14159265358979323846;
// The noise's power in a 200 kHz channel; the strongest station of the tests
// (40 dB) then peaks near half of the 8-bit range.
const double channelNoisePower = 1.2e-5;
const double channelHz = 200000;

unsigned char Quantise(double value)
{
    return static_cast<unsigned char>(std::clamp(std::lround(127.5 + 127.5 * value), 0L, 255L));
}

}

QByteArray Synthesise(double sampleRate, int seconds, const QVector<Station>& stations,
                      quint64 seed)
{
    const qint64 count = static_cast<qint64>(sampleRate) * seconds;
    std::mt19937_64 generator(seed);
    const double noiseSigma = std::sqrt(channelNoisePower * sampleRate / channelHz / 2);
    std::normal_distribution<double> noise(0.0, noiseSigma);
    QByteArray bytes(static_cast<int>(2 * count), Qt::Uninitialized);
    for (qint64 n = 0; n < count; ++n) {
        const double t = n / sampleRate;
        std::complex<double> sample(noise(generator), noise(generator));
        for (const Station& station : stations) {
            const double amplitude = std::sqrt(channelNoisePower * std::pow(10.0, station.snrDb / 10));
            const double phase = 2 * pi * station.offsetHz * t
                + deviationHz / toneHz * std::sin(2 * pi * toneHz * t);
            sample += std::polar(amplitude, phase);
        }
        bytes[static_cast<int>(2 * n)] = static_cast<char>(Quantise(sample.real()));
        bytes[static_cast<int>(2 * n + 1)] = static_cast<char>(Quantise(sample.imag()));
    }
    return bytes;
}

}
