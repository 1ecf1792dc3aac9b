#include "signal/receiver/stereodecoder.h"

#include <cmath>

namespace {

const double pi = 3.14159265358979323846;
// The pilot is sent at 8 to 10 % of the deviation: found above 4 %, lost
// below 2.5 %, so that a level near the edge does not flicker.
const float foundLevel = 0.04f;
const float lostLevel = 0.025f;
// The loop follows within about 30 Hz. Its phase detector is smoothed twice
// over 200 Hz, far below the 4 kHz at which programme under 15 kHz meets the
// pilot: programme left in it would bend the phase the loop settles at. The
// level is smoothed over 20 ms.
const double loopHz = 30;
const double detectorHz = 200;
const double levelSeconds = 0.02;
// A free-running loop drifts; a pilot lies within a few hertz of 19 kHz.
const double pullRangeHz = 50;

float Smoothing(double cornerHz, double sampleRate)
{
    return static_cast<float>(1 - std::exp(-2 * pi * cornerHz / sampleRate));
}

}

StereoDecoder::StereoDecoder(double sampleRate)
    : sampleRate(sampleRate)
    , loop(nco_crcf_create(LIQUID_VCO))
    , inPhaseFirst(0)
    , quadratureFirst(0)
    , inPhase(0)
    , quadrature(0)
    , level(0)
    , detectorSmoothing(Smoothing(detectorHz, sampleRate))
    , levelSmoothing(static_cast<float>(1 - std::exp(-1 / (levelSeconds * sampleRate))))
    , found(false)
{
    // liquid's loop corrects the phase by sqrt(bandwidth) of the error each
    // sample: a first-order loop of that share of the sample rate over 2 pi.
    const double phaseGain = 2 * pi * loopHz / sampleRate;
    nco_crcf_pll_set_bandwidth(loop, static_cast<float>(phaseGain * phaseGain));
    Reset();
}

StereoDecoder::~StereoDecoder()
{
    nco_crcf_destroy(loop);
}

void StereoDecoder::Reset()
{
    nco_crcf_set_phase(loop, 0.0f);
    nco_crcf_set_frequency(loop, static_cast<float>(2 * pi * pilotHz / sampleRate));
    inPhaseFirst = 0;
    quadratureFirst = 0;
    inPhase = 0;
    quadrature = 0;
    level = 0;
    found = false;
}

void StereoDecoder::Process(const float* multiplex, int count, float* difference)
{
    for (int n = 0; n < count; ++n) {
        float sine = 0;
        float cosine = 0;
        nco_crcf_sincos(loop, &sine, &cosine);
        // With the loop locked, sine follows the pilot, A sin(phase): mixed
        // down, A in phase and the phase error in quadrature.
        const float x = multiplex[n];
        inPhaseFirst += detectorSmoothing * (2 * x * sine - inPhaseFirst);
        quadratureFirst += detectorSmoothing * (2 * x * cosine - quadratureFirst);
        inPhase += detectorSmoothing * (inPhaseFirst - inPhase);
        quadrature += detectorSmoothing * (quadratureFirst - quadrature);
        level += levelSmoothing * (inPhase - level);
        nco_crcf_pll_step(loop, std::atan2(quadrature, inPhase));
        // The subcarrier, sin(2 phase); times two for the sideband's half.
        difference[n] = 4 * x * sine * cosine;
        nco_crcf_step(loop);
    }
    const double hz = nco_crcf_get_frequency(loop) * sampleRate / (2 * pi);
    if (std::abs(hz - pilotHz) > pullRangeHz)
        nco_crcf_set_frequency(loop, static_cast<float>(2 * pi * pilotHz / sampleRate));
    found = found ? level > lostLevel : level > foundLevel;
}

bool StereoDecoder::PilotFound() const
{
    return found;
}
