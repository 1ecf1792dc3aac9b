#ifndef FMRECEIVECHAIN_H
#define FMRECEIVECHAIN_H

#include <complex>
#include <vector>

#include <liquid/liquid.h>

// Wideband FM reception, from a receiver's complex baseband samples to 48 kHz
// mono audio, built from liquid-dsp objects: a mixer moves the station from
// its offset to zero, a multi-stage resampler brings it to the demodulation
// rate, a channel filter keeps the 200 kHz broadcast channel, the frequency
// demodulator gives the audio, a decimating low-pass at 15 kHz brings it to
// 48 kHz (and removes the stereo pilot), then de-emphasis and a DC block.
//
// The signal strength comes from the spectrum of the mixed samples: the
// channel's power over the noise floor beside it, 0 dB giving 0 and 40 dB
// giving 100, linear in dB.
//
// Plain code with no threads: the receive thread runs it, tests and
// benchmarks run it on arrays.
class FmReceiveChain
{
public:
    static const int audioRate = 48000;
    // Where the demodulator runs: wide enough for the channel, and a whole
    // multiple of the audio rate.
    static const int demodulationRate = 6 * audioRate;
    static const int channelHalfWidthHz = 100000;
    static const int deviationHz = 75000;
    // Europe's de-emphasis; the Americas and Korea use 75 us.
    static constexpr double deemphasisSeconds = 50e-6;

    explicit FmReceiveChain(double inputRate);
    ~FmReceiveChain();
    FmReceiveChain(const FmReceiveChain&) = delete;
    FmReceiveChain& operator=(const FmReceiveChain&) = delete;

    // Where the station lies from the centre of the samples. Returns false,
    // and stays silent with strength 0 until the next call, when its channel
    // does not fit inside the band the samples cover.
    bool SetStationOffset(double hz);

    // Demodulates count samples and appends the audio they give to audio.
    void Process(const std::complex<float>* samples, int count, std::vector<float>& audio);

    // 0 to 100 from the last measurement, made every tenth of a second of
    // input; 0 until the first one after tuning.
    int Strength() const;

    static int StrengthFromSnr(double snrDb);

private:
    void Measure();
    double MeanPower(double fromHz, double toHz, int* bins) const;

    double inputRate;
    double stationOffsetHz;
    bool receiving;
    int strength;
    unsigned int measurementSamples;
    unsigned int samplesSinceMeasurement;

    nco_crcf mixer;
    spgramcf spectrum;
    msresamp_crcf resampler;
    firfilt_crcf channelFilter;
    freqdem demodulator;
    firdecim_rrrf audioFilter;
    iirfilt_rrrf deemphasis;
    iirfilt_rrrf dcBlocker;

    std::vector<std::complex<float>> mixed;
    std::vector<std::complex<float>> channel;
    std::vector<float> demodulated;
    std::vector<float> psd;
};

#endif
