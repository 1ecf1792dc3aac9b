#include "signal/receiver/fmreceivechain.h"

#include <algorithm>
#include <cmath>

namespace {

const double pi = 3.14159265358979323846;
const float channelStopbandDb = 80.0f;
const float audioStopbandDb = 70.0f;
const int multiplexDecimation = FmReceiveChain::demodulationRate / FmReceiveChain::multiplexRate;
const int audioDecimation = FmReceiveChain::multiplexRate / FmReceiveChain::audioRate;
// The multiplex filter keeps the 53 kHz the multiplex reaches and stops what
// would fold onto it.
const double multiplexPassHz = 60000;

// The channel filter is flat to the channel's half width and stopped from
// 120 kHz, where a neighbour 200 kHz away begins (its carrier swings 75 kHz,
// and a little more for its sidebands).
const double channelStopHz = 120000;
const double channelCutoffHz = (FmReceiveChain::channelHalfWidthHz + channelStopHz) / 2;
// The resampler to the demodulation rate is rational, interpolation over
// decimation: exact, so that the audio keeps its pitch and its timing has no
// jitter. Where the rates have no such ratio with few phases, the nearest
// one that has, off by a few parts per million at most.
const unsigned int mostPhases = 256;
const unsigned int mostDecimation = 4096;

// The audio low-pass passes 15 kHz and is down by audioStopbandDb at the
// 19 kHz stereo pilot.
const double audioPassHz = 15000;
const double audioStopHz = 19000;

// The strength compares the mean power in the channel's core with the noise
// floor beside it: a low percentile of the spectrum from flankNearHz off the
// station outwards, so that a neighbour fills only the bins it covers.
const double coreHalfWidthHz = 90000;
const double flankNearHz = 95000;
const double floorPercentile = 0.1;
// Fewer bins than this beside the channel give no floor: strength 0.
const size_t fewestFloorBins = 4;
// The outer tenth of the band lies in the device's anti-alias roll-off.
const double usableBandShare = 0.9;
const double binWidthHz = 2000;
const double measurementSeconds = 0.1;
const double strengthPerDb = 2.5;

// Stereo from this signal-to-noise ratio up, mono below monoBelowDb: the
// difference signal carries about 20 dB more hiss than the sum. The blend
// follows over a tenth of a second.
const double monoBelowDb = 15;
const double stereoAboveDb = 30;
const double blendSeconds = 0.1;

// About 1.5 Hz: below what a loudspeaker plays, settled within a tenth of a
// second of a retune.
const float dcBlockerAlpha = 0.0002f;

// The number of taps for a Kaiser low-pass whose transition band is
// transitionShare of the sample rate wide (Kaiser's estimate), made odd.
unsigned int KaiserTaps(double transitionShare, float stopbandDb)
{
    const unsigned int taps
        = static_cast<unsigned int>(std::ceil((stopbandDb - 7.95) / (14.36 * transitionShare)));
    return taps | 1u;
}

// The last convergent of ratio's continued fraction within the bounds.
void Fraction(double ratio, unsigned int* interpolation, unsigned int* decimation)
{
    unsigned long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double rest = ratio;
    for (int term = 0; term < 40; ++term) {
        const double whole = std::floor(rest);
        const unsigned long long p2 = static_cast<unsigned long long>(whole) * p1 + p0;
        const unsigned long long q2 = static_cast<unsigned long long>(whole) * q1 + q0;
        if (p2 > mostPhases || q2 > mostDecimation)
            break;
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        if (rest - whole < 1e-9)
            break;
        rest = 1 / (rest - whole);
    }
    *interpolation = static_cast<unsigned int>(std::max(p1, 1ull));
    *decimation = static_cast<unsigned int>(std::max(q1, 1ull));
}

// The decimator before the resampler keeps everything up to channelStopHz
// and brings the rate down no further than the demodulation rate plus
// channelStopHz, so that its own transition band stays wide.
unsigned int Decimation(double inputRate)
{
    return std::max(1u, static_cast<unsigned int>(
                            inputRate / (FmReceiveChain::demodulationRate + channelStopHz)));
}

// The analogue de-emphasis 1/(1 + j w tau) as a first-order filter at the
// audio rate: one pole and one zero whose squared magnitude,
// (1 + a x) / (1 + b x) with x = 1 - cos(w) and unity at DC, equals the
// analogue one at 6 and 14 kHz. The two equations are linear in a and b;
// between 50 Hz and 15 kHz the fit stays within 0.05 dB of the curve.
iirfilt_rrrf CreateDeemphasis(double seconds)
{
    const double matchedHz[2] = {6000, 14000};
    double m[2][2];
    double r[2];
    for (int i = 0; i < 2; ++i) {
        const double x = 1 - std::cos(2 * pi * matchedHz[i] / FmReceiveChain::audioRate);
        const double wt = 2 * pi * matchedHz[i] * seconds;
        const double analogue = 1 / (1 + wt * wt);
        m[i][0] = x;
        m[i][1] = -analogue * x;
        r[i] = analogue - 1;
    }
    const double determinant = m[0][0] * m[1][1] - m[0][1] * m[1][0];
    const double a = (r[0] * m[1][1] - m[0][1] * r[1]) / determinant;
    const double b = (m[0][0] * r[1] - r[0] * m[1][0]) / determinant;
    // 2 c / (1 - c)^2 = k has the root below 1 at c = (k + 1 - sqrt(2 k + 1)) / k.
    const auto root = [](double k) { return (k + 1 - std::sqrt(2 * k + 1)) / k; };
    const double zero = root(a);
    const double pole = root(b);
    const double gain = (1 - pole) / (1 - zero);
    float numerator[2] = {static_cast<float>(gain), static_cast<float>(-gain * zero)};
    float denominator[2] = {1.0f, static_cast<float>(-pole)};
    return iirfilt_rrrf_create(numerator, 2, denominator, 2);
}

// A Kaiser low-pass at rate, flat to passHz and down by stopbandDb from
// stopHz, keeping one sample in factor. Unity gain at DC: the demodulator's
// output is 1 at full deviation.
firdecim_rrrf CreateDecimatingLowPass(double rate, double passHz, double stopHz,
                                      float stopbandDb, unsigned int factor)
{
    const unsigned int taps = KaiserTaps((stopHz - passHz) / rate, stopbandDb);
    std::vector<float> h(taps);
    liquid_firdes_kaiser(taps, static_cast<float>((passHz + stopHz) / 2 / rate), stopbandDb,
                         0.0f, h.data());
    float sum = 0.0f;
    for (float tap : h)
        sum += tap;
    for (float& tap : h)
        tap /= sum;
    return firdecim_rrrf_create(factor, h.data(), taps);
}

// From the demodulator to the stereo decoder.
firdecim_rrrf CreateMultiplexFilter()
{
    return CreateDecimatingLowPass(FmReceiveChain::demodulationRate, multiplexPassHz,
                                   FmReceiveChain::multiplexRate - multiplexPassHz,
                                   channelStopbandDb, multiplexDecimation);
}

firdecim_rrrf CreateAudioFilter()
{
    return CreateDecimatingLowPass(FmReceiveChain::multiplexRate, audioPassHz, audioStopHz,
                                   audioStopbandDb, audioDecimation);
}

unsigned int TransformSize(double inputRate)
{
    unsigned int size = 64;
    while (size < 4096 && inputRate / size > binWidthHz)
        size *= 2;
    return size;
}

}

FmReceiveChain::FmReceiveChain(double inputRate, double deemphasisSeconds)
    : inputRate(inputRate)
    , stationOffsetHz(0)
    , receiving(false)
    , strength(0)
    , snrDb(0)
    , blend(0)
    , measurementSamples(static_cast<unsigned int>(inputRate * measurementSeconds))
    , samplesSinceMeasurement(0)
    , mixer(nco_crcf_create(LIQUID_NCO))
    , spectrum(nullptr)
    , decimator(nullptr)
    , interpolation(1)
    , resamplerDecimation(1)
    , channelFilter(nullptr)
    , demodulator(freqdem_create(static_cast<float>(double(deviationHz) / demodulationRate)))
    , multiplexFilter(CreateMultiplexFilter())
    , stereo(multiplexRate)
    , sumFilter(CreateAudioFilter())
    , differenceFilter(CreateAudioFilter())
    , deemphasis{CreateDeemphasis(deemphasisSeconds), CreateDeemphasis(deemphasisSeconds)}
    , dcBlocker{iirfilt_rrrf_create_dc_blocker(dcBlockerAlpha),
                iirfilt_rrrf_create_dc_blocker(dcBlockerAlpha)}
{
    const unsigned int transformSize = TransformSize(inputRate);
    spectrum = spgramcf_create(transformSize, LIQUID_WINDOW_HANN, transformSize, transformSize);
    spgramcf_set_alpha(spectrum, -1.0f);
    psd.resize(transformSize);

    // Nothing that folds onto 0..channelStopHz at the decimated rate passes.
    const unsigned int factor = Decimation(inputRate);
    const double decimatedRate = inputRate / factor;
    if (factor > 1) {
        const unsigned int taps = KaiserTaps((decimatedRate - 2 * channelStopHz) / inputRate,
                                             channelStopbandDb);
        std::vector<float> h(taps);
        liquid_firdes_kaiser(taps, 0.5f / factor, channelStopbandDb, 0.0f, h.data());
        decimator = firdecim_crcf_create(factor, h.data(), taps);
    }
    Fraction(demodulationRate / decimatedRate, &interpolation, &resamplerDecimation);
    // The channel filter is the resampler's prototype, designed at the
    // decimated rate times the interpolation; at the lowest rates the channel
    // narrows to what the band holds.
    const double upsampledRate = decimatedRate * interpolation;
    const double cutoff
        = std::min(channelCutoffHz, 0.45 * std::min(decimatedRate, double(demodulationRate)));
    const double stop = std::min(channelStopHz, decimatedRate - cutoff);
    const unsigned int semiLength
        = KaiserTaps(2 * (stop - cutoff) / decimatedRate, channelStopbandDb) / 2 + 1;
    std::vector<float> h(2 * interpolation * semiLength);
    liquid_firdes_kaiser(static_cast<unsigned int>(h.size()),
                         static_cast<float>(cutoff / upsampledRate), channelStopbandDb, 0.0f,
                         h.data());
    channelFilter = rresamp_crcf_create(interpolation, resamplerDecimation, semiLength, h.data());
}

FmReceiveChain::~FmReceiveChain()
{
    for (iirfilt_rrrf filter : dcBlocker)
        iirfilt_rrrf_destroy(filter);
    for (iirfilt_rrrf filter : deemphasis)
        iirfilt_rrrf_destroy(filter);
    firdecim_rrrf_destroy(differenceFilter);
    firdecim_rrrf_destroy(sumFilter);
    firdecim_rrrf_destroy(multiplexFilter);
    freqdem_destroy(demodulator);
    rresamp_crcf_destroy(channelFilter);
    if (decimator)
        firdecim_crcf_destroy(decimator);
    spgramcf_destroy(spectrum);
    nco_crcf_destroy(mixer);
}

bool FmReceiveChain::SetStationOffset(double hz)
{
    stationOffsetHz = hz;
    receiving = std::isfinite(hz) && std::abs(hz) + channelHalfWidthHz <= inputRate / 2;
    strength = 0;
    snrDb = 0;
    samplesSinceMeasurement = 0;
    spgramcf_reset(spectrum);
    stereo.Reset();
    if (receiving)
        nco_crcf_set_frequency(mixer, static_cast<float>(2 * pi * hz / inputRate));
    return receiving;
}

void FmReceiveChain::Process(const std::complex<float>* samples, int count,
                             std::vector<float>& audio)
{
    if (!receiving || count <= 0)
        return;
    // Without a decimator the mixed samples wait for the resampler directly.
    std::vector<std::complex<float>>& waiting = decimator ? mixed : decimated;
    const size_t pendingInput = waiting.size();
    waiting.resize(pendingInput + count);
    std::complex<float>* fresh = waiting.data() + pendingInput;
    nco_crcf_mix_block_down(mixer, const_cast<std::complex<float>*>(samples), fresh, count);

    spgramcf_write(spectrum, fresh, count);
    samplesSinceMeasurement += count;
    if (samplesSinceMeasurement >= measurementSamples)
        Measure();

    if (decimator) {
        const unsigned int factor = Decimation(inputRate);
        const unsigned int outputs = static_cast<unsigned int>(mixed.size() / factor);
        const size_t pendingDecimated = decimated.size();
        decimated.resize(pendingDecimated + outputs);
        firdecim_crcf_execute_block(decimator, mixed.data(), outputs,
                                    decimated.data() + pendingDecimated);
        mixed.erase(mixed.begin(), mixed.begin() + outputs * factor);
    }

    const unsigned int blocks = static_cast<unsigned int>(decimated.size() / resamplerDecimation);
    const unsigned int produced = blocks * interpolation;
    channel.resize(produced);
    rresamp_crcf_execute_block(channelFilter, decimated.data(), blocks, channel.data());
    decimated.erase(decimated.begin(), decimated.begin() + blocks * resamplerDecimation);

    const size_t pendingDemodulated = demodulated.size();
    demodulated.resize(pendingDemodulated + produced);
    freqdem_demodulate_block(demodulator, channel.data(), produced,
                             demodulated.data() + pendingDemodulated);
    const unsigned int halved = static_cast<unsigned int>(demodulated.size() / multiplexDecimation);
    const size_t pending = multiplex.size();
    multiplex.resize(pending + halved);
    firdecim_rrrf_execute_block(multiplexFilter, demodulated.data(), halved,
                                multiplex.data() + pending);
    demodulated.erase(demodulated.begin(), demodulated.begin() + halved * multiplexDecimation);
    difference.resize(multiplex.size());
    stereo.Process(multiplex.data() + pending, static_cast<int>(halved),
                   difference.data() + pending);

    const unsigned int outputs = static_cast<unsigned int>(multiplex.size() / audioDecimation);
    sum.resize(outputs);
    side.resize(outputs);
    firdecim_rrrf_execute_block(sumFilter, multiplex.data(), outputs, sum.data());
    firdecim_rrrf_execute_block(differenceFilter, difference.data(), outputs, side.data());
    multiplex.erase(multiplex.begin(), multiplex.begin() + outputs * audioDecimation);
    difference.erase(difference.begin(), difference.begin() + outputs * audioDecimation);

    const double share = (snrDb - monoBelowDb) / (stereoAboveDb - monoBelowDb);
    const float target = stereo.PilotFound() ? static_cast<float>(std::clamp(share, 0.0, 1.0)) : 0.0f;
    const float blendStep = static_cast<float>(1 - std::exp(-1 / (blendSeconds * audioRate)));
    // The demodulator measures the phase turned over a whole sample: its
    // response falls as sin(x)/x, by 0.14 dB at the 38 kHz subcarrier.
    const double x = pi * 2 * StereoDecoder::pilotHz / demodulationRate;
    const float differenceGain = static_cast<float>(x / std::sin(x));
    const size_t first = audio.size();
    audio.resize(first + 2 * size_t(outputs));
    float* out = audio.data() + first;
    for (unsigned int i = 0; i < outputs; ++i) {
        blend += blendStep * (target - blend);
        const float heard = blend * differenceGain * side[i];
        float left = sum[i] + heard;
        float right = sum[i] - heard;
        iirfilt_rrrf_execute(deemphasis[0], left, &left);
        iirfilt_rrrf_execute(deemphasis[1], right, &right);
        iirfilt_rrrf_execute(dcBlocker[0], left, &left);
        iirfilt_rrrf_execute(dcBlocker[1], right, &right);
        out[2 * i] = std::clamp(left, -1.0f, 1.0f);
        out[2 * i + 1] = std::clamp(right, -1.0f, 1.0f);
    }
}

int FmReceiveChain::Strength() const
{
    return strength;
}

bool FmReceiveChain::IsStereo() const
{
    return receiving && stereo.PilotFound() && blend > 0.5f;
}

int FmReceiveChain::StrengthFromSnr(double snrDb)
{
    if (!(snrDb > 0))
        return 0;
    return static_cast<int>(std::lround(std::min(100.0, snrDb * strengthPerDb)));
}

void FmReceiveChain::Measure()
{
    spgramcf_get_psd_mag(spectrum, psd.data());
    spgramcf_clear(spectrum);
    samplesSinceMeasurement = 0;

    const int size = static_cast<int>(psd.size());
    const double binHz = inputRate / size;
    double core = 0;
    int coreBins = 0;
    beside.clear();
    for (int bin = 0; bin < size; ++bin) {
        const double hz = (bin - size / 2) * binHz;
        if (std::abs(hz + stationOffsetHz) > usableBandShare * inputRate / 2)
            continue;
        if (std::abs(hz) <= coreHalfWidthHz) {
            core += psd[bin];
            ++coreBins;
        } else if (std::abs(hz) >= flankNearHz) {
            beside.push_back(psd[bin]);
        }
    }
    strength = 0;
    snrDb = 0;
    if (coreBins == 0 || beside.size() < fewestFloorBins)
        return;
    const auto at = beside.begin() + static_cast<long>(floorPercentile * (beside.size() - 1));
    std::nth_element(beside.begin(), at, beside.end());
    const double floor = *at;
    if (!(floor > 0))
        return;
    const double signalOverNoise = (core / coreBins - floor) / floor;
    if (signalOverNoise > 0) {
        snrDb = 10 * std::log10(signalOverNoise);
        strength = StrengthFromSnr(snrDb);
    }
}
