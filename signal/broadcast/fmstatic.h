#ifndef FMSTATIC_H
#define FMSTATIC_H

#include "signal/xorshift.h"

#include <cstdint>

// The hiss of an FM receiver on a weak signal: white noise tilted toward
// the treble, as the discriminator leaves it, and cut off above 15 kHz
// where FM's audio band ends. Independent in each channel. Its loudness,
// K-weighted as the ear hears it, is Programme::loudnessLufs, the
// programmes' own, so that gains set the mix of the two directly.
class FmStatic
{
public:
    explicit FmStatic(std::uint32_t seed);

    // Writes (does not add) frames of interleaved stereo.
    void Render(float* interleaved, int frames);

private:
    struct Channel
    {
        explicit Channel(std::uint32_t seed) : noise(seed) {}
        Xorshift noise;
        float previous = 0.0f;
        float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
        float Next(float scale);
    };

    // What brings the filtered noise to the programmes' loudness: measured
    // once on a stretch of it.
    static float Scale();

    Channel channels[2];
    float scale;
};

#endif
