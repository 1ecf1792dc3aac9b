#ifndef DRUMKIT_H
#define DRUMKIT_H

#include "signal/xorshift.h"

#include <cstdint>

// A small drum machine: a kick (a sine falling in pitch), a snare (a short
// tone under a burst of noise) and a hi-hat (bright, very short noise).
// Its noise comes from its own generator, seeded per station.
class DrumKit
{
public:
    explicit DrumKit(std::uint32_t seed);

    void Kick(float level);
    void Snare(float level);
    void Hat(float level, float pan);

    // Adds the drums' sound to frames of interleaved stereo.
    void Render(float* interleaved, int frames);

private:
    Xorshift noise;
    float kickLevel = 0.0f;
    float kickPhase = 0.0f;
    float kickHz = 0.0f;
    float snareLevel = 0.0f;
    float snarePhase = 0.0f;
    float hatLevel = 0.0f;
    float hatLeft = 0.0f;
    float hatRight = 0.0f;
    float lastNoise = 0.0f;
};

#endif
