#ifndef BANDLIMIT_H
#define BANDLIMIT_H

// FM's audio band ends at 15 kHz, and a receiver's output has nothing above
// it: a steep elliptic low-pass (liquid-dsp's design) on interleaved stereo,
// flat within 0.1 dB to 15 kHz and at least 70 dB down from 16 kHz.
class BandLimit
{
public:
    BandLimit();
    ~BandLimit();
    BandLimit(const BandLimit&) = delete;
    BandLimit& operator=(const BandLimit&) = delete;

    // In place.
    void Apply(float* interleaved, int frames);

private:
    // liquid-dsp's iirfilt_rrrf objects, one per channel.
    struct iirfilt_rrrf_s* channels[2];
};

#endif
