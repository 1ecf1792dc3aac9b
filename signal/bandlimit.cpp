#include "signal/bandlimit.h"

#include "signal/samplesource.h"

#include <liquid/liquid.h>

#include <algorithm>

namespace {

const unsigned order = 10;
const float passEndHz = 15000.0f;
const float passRippleDb = 0.1f;
const float stopDb = 70.0f;
const int blockFrames = 256;

}

BandLimit::BandLimit()
{
    for (iirfilt_rrrf& channel : channels)
        channel = iirfilt_rrrf_create_prototype(LIQUID_IIRDES_ELLIP, LIQUID_IIRDES_LOWPASS, LIQUID_IIRDES_SOS, order,
                                                passEndHz / float(SampleSource::sampleRate), 0.0f, passRippleDb, stopDb);
}

BandLimit::~BandLimit()
{
    for (iirfilt_rrrf channel : channels)
        iirfilt_rrrf_destroy(channel);
}

void BandLimit::Apply(float* interleaved, int frames)
{
    // A channel at a time, in blocks: far fewer calls than a sample at a time.
    float block[blockFrames];
    for (int done = 0; done < frames; done += blockFrames) {
        const int count = std::min(blockFrames, frames - done);
        for (int channel = 0; channel < 2; ++channel) {
            float* samples = interleaved + 2 * done + channel;
            for (int frame = 0; frame < count; ++frame)
                block[frame] = samples[2 * frame];
            iirfilt_rrrf_execute_block(channels[channel], block, unsigned(count), block);
            for (int frame = 0; frame < count; ++frame)
                samples[2 * frame] = block[frame];
        }
    }
}
