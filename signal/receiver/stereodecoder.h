#ifndef STEREODECODER_H
#define STEREODECODER_H

// liquid's complex type is std::complex where <complex> comes first.
#include <complex>

#include <liquid/liquid.h>

// The stereo half of an FM multiplex: a phase-locked loop follows the 19 kHz
// pilot, and the difference signal L-R is brought down from its 38 kHz
// double-sideband subcarrier with the pilot's phase doubled. The multiplex
// carries (L+R)/2 at baseband and (L-R)/2 on the subcarrier, so the
// difference comes out on the same scale as the multiplex's baseband: left
// is their sum, right their difference. Runs on the demodulator's output,
// before any low-pass.
class StereoDecoder
{
public:
    static constexpr double pilotHz = 19000;

    explicit StereoDecoder(double sampleRate);
    ~StereoDecoder();
    StereoDecoder(const StereoDecoder&) = delete;
    StereoDecoder& operator=(const StereoDecoder&) = delete;

    // Back to a free-running loop at 19 kHz and no pilot: for a new station.
    void Reset();

    // Writes count samples of the difference signal, not yet low-passed.
    void Process(const float* multiplex, int count, float* difference);

    // Whether a pilot is there and the loop follows it.
    bool PilotFound() const;

private:
    double sampleRate;
    nco_crcf loop;
    // The pilot mixed to zero, in phase and in quadrature, smoothed for the
    // phase detector (twice) and, much slower, for the pilot's level.
    float inPhaseFirst;
    float quadratureFirst;
    float inPhase;
    float quadrature;
    float level;
    float detectorSmoothing;
    float levelSmoothing;
    bool found;
};

#endif
