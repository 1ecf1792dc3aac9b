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
const double pilotShare = 0.1;
// As a receiver's gain would, the recording is scaled down where its
// carriers and noise (to three standard deviations) would exceed this share
// of the 8-bit range.
const double headroom = 0.9;

unsigned char Quantise(double value)
{
    return static_cast<unsigned char>(std::clamp(std::lround(127.5 + 127.5 * value), 0L, 255L));
}

}

Multiplex MonoTone()
{
    return {{toneHz, 1, 0}};
}

Multiplex StereoTone(double left, double right)
{
    const double programme = 1 - pilotShare;
    // (L-R)/2 cos(w t) sin(2 wp t) = (L-R)/4 [sin((2 wp + w) t) + sin((2 wp - w) t)].
    const double side = programme * (left - right) / 4;
    return {{toneHz, programme * (left + right) / 2, 0},
            {2 * pilotHz - toneHz, side, -pi / 2},
            {2 * pilotHz + toneHz, side, -pi / 2},
            {pilotHz, pilotShare, -pi / 2}};
}

Multiplex PreemphasisedTones(const QVector<double>& hz, double level, double seconds)
{
    Multiplex multiplex;
    for (double f : hz) {
        const double raised = std::abs(std::complex<double>(1, 2 * pi * f * seconds));
        multiplex.push_back({f, level * raised, std::arg(std::complex<double>(1, 2 * pi * f * seconds))});
    }
    return multiplex;
}

QByteArray Synthesise(double sampleRate, int seconds, const QVector<Station>& stations,
                      quint64 seed)
{
    const qint64 count = static_cast<qint64>(sampleRate) * seconds;
    std::mt19937_64 generator(seed);
    const double noiseSigma = std::sqrt(channelNoisePower * sampleRate / channelHz / 2);
    std::normal_distribution<double> noise(0.0, noiseSigma);
    double peak = 3 * std::sqrt(2.0) * noiseSigma;
    for (const Station& station : stations)
        peak += std::sqrt(channelNoisePower * std::pow(10.0, station.snrDb / 10));
    const double scale = std::min(1.0, headroom / peak);
    QByteArray bytes(static_cast<int>(2 * count), Qt::Uninitialized);
    for (qint64 n = 0; n < count; ++n) {
        const double t = n / sampleRate;
        std::complex<double> sample(noise(generator), noise(generator));
        for (const Station& station : stations) {
            const double amplitude = std::sqrt(channelNoisePower * std::pow(10.0, station.snrDb / 10));
            // The carrier's phase: the integral of the deviation.
            double phase = 2 * pi * station.offsetHz * t;
            for (const Component& c : station.multiplex)
                phase += c.amplitude * deviationHz / c.hz * std::sin(2 * pi * c.hz * t + c.phase);
            sample += std::polar(amplitude, phase);
        }
        sample *= scale;
        bytes[static_cast<int>(2 * n)] = static_cast<char>(Quantise(sample.real()));
        bytes[static_cast<int>(2 * n + 1)] = static_cast<char>(Quantise(sample.imag()));
    }
    return bytes;
}

}
