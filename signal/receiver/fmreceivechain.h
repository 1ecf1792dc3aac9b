#ifndef FMRECEIVECHAIN_H
#define FMRECEIVECHAIN_H

#include "signal/receiver/stereodecoder.h"

#include <complex>
#include <vector>

#include <liquid/liquid.h>

// Wideband FM reception, from a receiver's complex baseband samples to 48 kHz
// stereo audio, built from liquid-dsp objects. A mixer moves the station from
// its offset to zero; the channel is selected before the rate falls far
// enough for a neighbour 200 kHz away to fold into it: a decimator whose
// stop band starts where its own aliases would land on the channel, then a
// resampler to the demodulation rate whose filter is the channel filter
// (flat to 80 kHz, stopped from 120 kHz). The frequency demodulator gives the
// multiplex, halved in rate; the stereo decoder recovers L-R from it; a decimating low-pass
// at 15 kHz brings the sum and the difference to 48 kHz (and removes the
// pilot); the difference is blended in by the signal-to-noise ratio; then
// de-emphasis and a DC block on each side.
//
// The signal strength comes from the spectrum of the mixed samples: the
// channel's power over the noise floor, taken as a low percentile of the
// spectrum beside the channel so that neighbouring stations do not count as
// noise; 0 dB gives 0 and 40 dB gives 100, linear in dB.
//
// Plain code with no threads: the receive thread runs it, tests and
// benchmarks run it on arrays.
class FmReceiveChain
{
public:
    static const int audioRate = 48000;
    // Where the demodulator runs: well above the channel's width, so that
    // noise near the threshold seldom turns the phase by more than half a
    // turn between two samples (each such turn is a false click; at 240 kHz
    // they cost 9 dB of THD+N at 10 dB SNR). A whole multiple of the audio
    // rate.
    static const int demodulationRate = 8 * audioRate;
    // Where the stereo decoder and the audio filters run: the multiplex
    // reaches 53 kHz.
    static const int multiplexRate = 4 * audioRate;
    // The part of the channel that must lie inside the band the samples
    // cover.
    static const int channelHalfWidthHz = 80000;
    static const int deviationHz = 75000;
    // The de-emphasis time constants in use: Europe and most of the world,
    // and the Americas and South Korea.
    static constexpr double europeanDeemphasisSeconds = 50e-6;
    static constexpr double americanDeemphasisSeconds = 75e-6;

    FmReceiveChain(double inputRate, double deemphasisSeconds);
    ~FmReceiveChain();
    FmReceiveChain(const FmReceiveChain&) = delete;
    FmReceiveChain& operator=(const FmReceiveChain&) = delete;

    // Where the station lies from the centre of the samples. Returns false,
    // and stays silent with strength 0 until the next call, when its channel
    // does not fit inside the band the samples cover.
    bool SetStationOffset(double hz);

    // Demodulates count samples and appends the audio they give to audio:
    // stereo frames, left then right.
    void Process(const std::complex<float>* samples, int count, std::vector<float>& audio);

    // 0 to 100 from the last measurement, made every tenth of a second of
    // input; 0 until the first one after tuning.
    int Strength() const;

    // Whether the station sends a pilot and the difference signal is heard.
    bool IsStereo() const;

    static int StrengthFromSnr(double snrDb);

private:
    void Measure();

    double inputRate;
    double stationOffsetHz;
    bool receiving;
    int strength;
    double snrDb;
    float blend;
    unsigned int measurementSamples;
    unsigned int samplesSinceMeasurement;

    nco_crcf mixer;
    spgramcf spectrum;
    firdecim_crcf decimator;
    unsigned int interpolation;
    unsigned int resamplerDecimation;
    rresamp_crcf channelFilter;
    freqdem demodulator;
    firdecim_rrrf multiplexFilter;
    StereoDecoder stereo;
    firdecim_rrrf sumFilter;
    firdecim_rrrf differenceFilter;
    iirfilt_rrrf deemphasis[2];
    iirfilt_rrrf dcBlocker[2];

    std::vector<std::complex<float>> mixed;
    std::vector<std::complex<float>> decimated;
    std::vector<std::complex<float>> channel;
    std::vector<float> demodulated;
    std::vector<float> multiplex;
    std::vector<float> difference;
    std::vector<float> sum;
    std::vector<float> side;
    std::vector<float> psd;
    std::vector<float> beside;
};

#endif
