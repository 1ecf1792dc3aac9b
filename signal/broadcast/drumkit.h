#ifndef DRUMKIT_H
#define DRUMKIT_H

#include "signal/xorshift.h"

#include <cstdint>

// A small drum machine: a kick (a sine falling in pitch), a snare (a short
// tone under a burst of noise) and a hi-hat (bright, very short noise), each
// station's tuned a little differently. A drum struck while it still rings
// keeps its oscillator running and swells to the new hit within a couple of
// milliseconds: no click. Its noise comes from its own generator, seeded per
// station.
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
    // A level that rises to a hit over a few frames, then decays.
    struct Envelope
    {
        float level = 0.0f;
        float target = 0.0f;
        float step = 0.0f;
        float fall = 1.0f;
        void Strike(float peak);
        float Next();
    };

    Xorshift noise;
    float kickEndHz;
    float snareHz;
    Envelope kick;
    float kickPhase = 0.0f;
    float kickHz = 0.0f;
    Envelope snare;
    float snarePhase = 0.0f;
    Envelope hat;
    float hatLeft = 0.0f;
    float hatRight = 0.0f;
    float lastNoise = 0.0f;
};

#endif
