#ifndef SYNTHVOICES_H
#define SYNTHVOICES_H

#include "signal/broadcast/wavetables.h"

#include <array>
#include <cstdint>

// The notes an instrument section plays at once: wavetable oscillators with
// an attack, a decay to a sustain level, a hold and a release, each placed
// in the stereo field. A new note takes a free voice, else the quietest.
class SynthVoices
{
public:
    struct Note
    {
        float hz = 440.0f;
        Wavetables::Timbre timbre = Wavetables::Soft;
        float level = 0.2f;
        float attackSeconds = 0.005f;
        float decaySeconds = 0.3f;   // time to fall by a factor of e toward sustain
        float sustain = 0.0f;        // fraction of level
        float holdSeconds = 0.5f;    // from the start to the release
        float releaseSeconds = 0.2f; // time to fall by a factor of e
        float pan = 0.0f;            // -1 left .. +1 right
    };

    static const int voiceCount = 16;

    void Play(const Note& note);
    void Silence();

    // Adds the voices' sound to frames of interleaved stereo.
    void Render(float* interleaved, int frames);

private:
    struct Voice
    {
        const float* table = nullptr;
        std::uint32_t phase = 0;
        std::uint32_t increment = 0;
        float level = 0.0f;
        float peak = 0.0f;
        float attackStep = 0.0f;
        float sustain = 0.0f;
        float decay = 1.0f;
        float release = 1.0f;
        int holdFrames = 0;
        bool attacking = false;
        float left = 0.0f;
        float right = 0.0f;
    };

    std::array<Voice, voiceCount> voices;
};

#endif
