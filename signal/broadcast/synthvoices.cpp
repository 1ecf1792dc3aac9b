#include "signal/broadcast/synthvoices.h"

#include "signal/samplesource.h"

#include <algorithm>
#include <cmath>

namespace {

// A voice below this level is silent and free.
const float silentLevel = 1.0e-4f;
const float rate = float(SampleSource::sampleRate);
const int fractionBits = 32 - Wavetables::sizeBits;

float PerFrameFactor(float seconds)
{
    return std::exp(-1.0f / std::max(seconds * rate, 1.0f));
}

}

void SynthVoices::Play(const Note& note)
{
    Voice* chosen = &voices[0];
    for (Voice& voice : voices) {
        if (!voice.table) {
            chosen = &voice;
            break;
        }
        if (voice.level < chosen->level)
            chosen = &voice;
    }
    Voice& voice = *chosen;
    voice.table = Wavetables::Shared().Table(note.timbre, note.hz);
    voice.phase = 0;
    voice.increment = std::uint32_t(std::lround(double(note.hz) / rate * 4294967296.0));
    voice.peak = note.level;
    voice.level = 0.0f;
    voice.attackStep = note.level / std::max(note.attackSeconds * rate, 1.0f);
    voice.attacking = true;
    voice.sustain = note.level * note.sustain;
    voice.decay = PerFrameFactor(note.decaySeconds);
    voice.release = PerFrameFactor(note.releaseSeconds);
    voice.holdFrames = int(note.holdSeconds * rate);
    // Equal-power panning.
    const float angle = (std::clamp(note.pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
    voice.left = std::cos(angle);
    voice.right = std::sin(angle);
}

void SynthVoices::Silence()
{
    for (Voice& voice : voices)
        voice.table = nullptr;
}

void SynthVoices::Render(float* interleaved, int frames)
{
    for (Voice& voice : voices) {
        if (!voice.table)
            continue;
        for (int frame = 0; frame < frames; ++frame) {
            if (voice.attacking) {
                voice.level += voice.attackStep;
                if (voice.level >= voice.peak) {
                    voice.level = voice.peak;
                    voice.attacking = false;
                }
            } else if (voice.holdFrames > 0) {
                voice.level = voice.sustain + (voice.level - voice.sustain) * voice.decay;
            } else {
                voice.level *= voice.release;
            }
            --voice.holdFrames;
            const std::uint32_t index = voice.phase >> fractionBits;
            const float fraction = float(voice.phase & ((1u << fractionBits) - 1)) * (1.0f / float(1u << fractionBits));
            const float sample = voice.table[index] + (voice.table[index + 1] - voice.table[index]) * fraction;
            voice.phase += voice.increment;
            const float value = sample * voice.level;
            interleaved[2 * frame] += value * voice.left;
            interleaved[2 * frame + 1] += value * voice.right;
        }
        if (voice.holdFrames <= 0 && voice.level < silentLevel)
            voice.table = nullptr;
    }
}
