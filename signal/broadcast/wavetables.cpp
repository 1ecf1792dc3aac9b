#include "signal/broadcast/wavetables.h"

#include <algorithm>
#include <cmath>

namespace {

const double pi = 3.14159265358979323846;
const float lowestHz = 27.5f;  // A0: the first octave's bottom
const float highestPartialHz = 15000.0f;
const int mostHarmonics = 48;

// Amplitude of harmonic n (1 is the fundamental).
double Harmonic(Wavetables::Timbre timbre, int n)
{
    switch (timbre) {
    case Wavetables::Sine:
        return n == 1 ? 1.0 : 0.0;
    case Wavetables::Soft:
        return 1.0 / (double(n) * n);
    case Wavetables::Hollow:
        return n % 2 ? 1.0 / std::pow(double(n), 1.5) : 0.0;
    default:
        return 1.0 / n;
    }
}

}

const Wavetables& Wavetables::Shared()
{
    static const Wavetables tables;
    return tables;
}

Wavetables::Wavetables() : samples(size_t(timbreCount) * octaves * (size + 1))
{
    std::vector<double> sine(size);
    for (int i = 0; i < size; ++i)
        sine[size_t(i)] = std::sin(2.0 * pi * i / size);
    std::vector<double> cycle(size);
    for (int timbre = 0; timbre < timbreCount; ++timbre) {
        for (int octave = 0; octave < octaves; ++octave) {
            const float topHz = lowestHz * float(2 << octave);
            const int harmonics = std::clamp(int(highestPartialHz / topHz), 1, mostHarmonics);
            std::fill(cycle.begin(), cycle.end(), 0.0);
            for (int n = 1; n <= harmonics; ++n) {
                const double amplitude = Harmonic(Timbre(timbre), n);
                if (amplitude == 0.0)
                    continue;
                for (int i = 0; i < size; ++i)
                    cycle[size_t(i)] += amplitude * sine[size_t((i * n) % size)];
            }
            double peak = 0.0;
            for (double value : cycle)
                peak = std::max(peak, std::fabs(value));
            float* table = &samples[size_t(timbre * octaves + octave) * (size + 1)];
            for (int i = 0; i < size; ++i)
                table[i] = float(cycle[size_t(i)] / peak);
            table[size] = table[0];
        }
    }
}

const float* Wavetables::Table(Timbre timbre, float hz) const
{
    int octave = 0;
    while (octave < octaves - 1 && hz >= lowestHz * float(2 << octave))
        ++octave;
    return &samples[size_t(int(timbre) * octaves + octave) * (size + 1)];
}
