#include "signal/receiver/fmreceivechain.h"

#include <algorithm>
#include <cmath>

namespace {

const double pi = 3.14159265358979323846;
const float stopbandDb = 60.0f;
const int decimation = FmReceiveChain::demodulationRate / FmReceiveChain::audioRate;

// The channel filter passes the 200 kHz channel and is down by stopbandDb
// where the demodulation rate's Nyquist edge begins.
const unsigned int channelFilterTaps = 41;
const double channelCutoffHz = 112000;

// The audio low-pass passes 15 kHz and is down by stopbandDb at the 19 kHz
// stereo pilot.
const unsigned int audioFilterTaps = 241;
const double audioCutoffHz = 17000;

// The strength compares the mean power in the channel's core with the mean
// power of the quieter of two bands beside it, clear of the channel's edges
// and of the device's DC spike a quarter of the sample rate away.
const double coreHalfWidthHz = 90000;
const double flankNearHz = 130000;
const double flankFarHz = 190000;
// The outer tenth of the band lies in the device's anti-alias roll-off.
const double usableBandShare = 0.9;
const double binWidthHz = 2000;
const double measurementSeconds = 0.1;

const double dcBlockerAlpha = 0.001;

const double strengthPerDb = 2.5;

unsigned int TransformSize(double inputRate)
{
    unsigned int size = 64;
    while (size < 4096 && inputRate / size > binWidthHz)
        size *= 2;
    return size;
}

}

FmReceiveChain::FmReceiveChain(double inputRate)
    : inputRate(inputRate)
    , stationOffsetHz(0)
    , receiving(false)
    , strength(0)
    , measurementSamples(static_cast<unsigned int>(inputRate * measurementSeconds))
    , samplesSinceMeasurement(0)
    , mixer(nco_crcf_create(LIQUID_NCO))
    , spectrum(nullptr)
    , resampler(msresamp_crcf_create(static_cast<float>(demodulationRate / inputRate), stopbandDb))
    , channelFilter(nullptr)
    , demodulator(freqdem_create(static_cast<float>(double(deviationHz) / demodulationRate)))
    , audioFilter(nullptr)
    , deemphasis(nullptr)
    , dcBlocker(iirfilt_rrrf_create_dc_blocker(static_cast<float>(dcBlockerAlpha)))
{
    const unsigned int transformSize = TransformSize(inputRate);
    spectrum = spgramcf_create(transformSize, LIQUID_WINDOW_HANN, transformSize, transformSize);
    spgramcf_set_alpha(spectrum, -1.0f);
    psd.resize(transformSize);

    std::vector<float> taps(channelFilterTaps);
    liquid_firdes_kaiser(channelFilterTaps, static_cast<float>(channelCutoffHz / demodulationRate),
                         stopbandDb, 0.0f, taps.data());
    channelFilter = firfilt_crcf_create(taps.data(), channelFilterTaps);

    // Unity gain at DC: the demodulator's output is 1 at full deviation.
    taps.resize(audioFilterTaps);
    liquid_firdes_kaiser(audioFilterTaps, static_cast<float>(audioCutoffHz / demodulationRate),
                         stopbandDb, 0.0f, taps.data());
    float sum = 0.0f;
    for (float tap : taps)
        sum += tap;
    for (float& tap : taps)
        tap /= sum;
    audioFilter = firdecim_rrrf_create(decimation, taps.data(), audioFilterTaps);

    // A single pole at 1/(2 pi tau): the RC network of the broadcast standard,
    // mapped to the audio rate with the matched z-transform.
    const float pole = static_cast<float>(std::exp(-1.0 / (deemphasisSeconds * audioRate)));
    float numerator[1] = {1.0f - pole};
    float denominator[2] = {1.0f, -pole};
    deemphasis = iirfilt_rrrf_create(numerator, 1, denominator, 2);
}

FmReceiveChain::~FmReceiveChain()
{
    iirfilt_rrrf_destroy(dcBlocker);
    iirfilt_rrrf_destroy(deemphasis);
    firdecim_rrrf_destroy(audioFilter);
    freqdem_destroy(demodulator);
    firfilt_crcf_destroy(channelFilter);
    msresamp_crcf_destroy(resampler);
    spgramcf_destroy(spectrum);
    nco_crcf_destroy(mixer);
}

bool FmReceiveChain::SetStationOffset(double hz)
{
    stationOffsetHz = hz;
    receiving = std::isfinite(hz) && std::abs(hz) + channelHalfWidthHz <= inputRate / 2;
    strength = 0;
    samplesSinceMeasurement = 0;
    spgramcf_reset(spectrum);
    if (receiving)
        nco_crcf_set_frequency(mixer, static_cast<float>(2 * pi * hz / inputRate));
    return receiving;
}

void FmReceiveChain::Process(const std::complex<float>* samples, int count,
                             std::vector<float>& audio)
{
    if (!receiving || count <= 0)
        return;
    mixed.resize(count);
    nco_crcf_mix_block_down(mixer, const_cast<std::complex<float>*>(samples), mixed.data(), count);

    spgramcf_write(spectrum, mixed.data(), count);
    samplesSinceMeasurement += count;
    if (samplesSinceMeasurement >= measurementSamples)
        Measure();

    // liquid's bound for the resampler's output.
    channel.resize(static_cast<size_t>(
        std::ceil(1 + 2.0 * demodulationRate / inputRate * count)));
    unsigned int produced = 0;
    msresamp_crcf_execute(resampler, mixed.data(), count, channel.data(), &produced);
    firfilt_crcf_execute_block(channelFilter, channel.data(), produced, channel.data());

    const size_t pending = demodulated.size();
    demodulated.resize(pending + produced);
    freqdem_demodulate_block(demodulator, channel.data(), produced, demodulated.data() + pending);

    const unsigned int outputs = static_cast<unsigned int>(demodulated.size() / decimation);
    const size_t first = audio.size();
    audio.resize(first + outputs);
    float* out = audio.data() + first;
    firdecim_rrrf_execute_block(audioFilter, demodulated.data(), outputs, out);
    demodulated.erase(demodulated.begin(), demodulated.begin() + outputs * decimation);

    iirfilt_rrrf_execute_block(deemphasis, out, outputs, out);
    iirfilt_rrrf_execute_block(dcBlocker, out, outputs, out);
    for (unsigned int i = 0; i < outputs; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

int FmReceiveChain::Strength() const
{
    return strength;
}

int FmReceiveChain::StrengthFromSnr(double snrDb)
{
    if (!(snrDb > 0))
        return 0;
    return static_cast<int>(std::lround(std::min(100.0, snrDb * strengthPerDb)));
}

// The mean of the spectrum's bins from fromHz to toHz off the station, over
// the bins that lie inside the device's usable band.
double FmReceiveChain::MeanPower(double fromHz, double toHz, int* bins) const
{
    const int size = static_cast<int>(psd.size());
    const double binHz = inputRate / size;
    double sum = 0;
    *bins = 0;
    for (int bin = 0; bin < size; ++bin) {
        const double hz = (bin - size / 2) * binHz;
        if (hz < fromHz || hz > toHz
            || std::abs(hz + stationOffsetHz) > usableBandShare * inputRate / 2)
            continue;
        sum += psd[bin];
        ++*bins;
    }
    return *bins > 0 ? sum / *bins : 0.0;
}

void FmReceiveChain::Measure()
{
    spgramcf_get_psd_mag(spectrum, psd.data());
    spgramcf_clear(spectrum);
    samplesSinceMeasurement = 0;

    int coreBins = 0;
    int lowerBins = 0;
    int upperBins = 0;
    const double core = MeanPower(-coreHalfWidthHz, coreHalfWidthHz, &coreBins);
    const double lower = MeanPower(-flankFarHz, -flankNearHz, &lowerBins);
    const double upper = MeanPower(flankNearHz, flankFarHz, &upperBins);
    double floor = 0;
    if (lowerBins > 0 && upperBins > 0)
        floor = std::min(lower, upper);
    else
        floor = lowerBins > 0 ? lower : upper;
    if (coreBins == 0 || !(floor > 0)) {
        strength = 0;
        return;
    }
    const double signalOverNoise = (core - floor) / floor;
    strength = signalOverNoise > 0 ? StrengthFromSnr(10 * std::log10(signalOverNoise)) : 0;
}
