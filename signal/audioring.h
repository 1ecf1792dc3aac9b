#ifndef AUDIORING_H
#define AUDIORING_H

#include "signal/samplesource.h"

#include <atomic>
#include <cstddef>
#include <vector>

// Stereo audio handed from the receive thread, which pushes, to the sound
// output, which renders it: frames of interleaved left and right samples,
// one producer, one consumer, no lock. Neither side ever waits: audio that
// does not fit is dropped, and a render that finds too little plays silence
// for the rest. After running dry the ring plays silence until it holds a
// twentieth of a second again, so that a late producer costs one gap instead
// of a gap at every render.
class AudioRing : public SampleSource
{
public:
    // Holds up to capacity frames, rounded up to a power of two.
    explicit AudioRing(int capacity);

    // Producer side: frames of left and right. Returns how many were taken.
    int Push(const float* interleaved, int frames);

    // Consumer side: the frames waiting, and taking them.
    int Held() const;
    void Render(float* interleaved, int frames) override;

    // Forgets what is held; only while neither side runs.
    void Clear();

private:
    std::vector<float> samples;
    size_t mask;
    // Running counts of frames written and read; their difference is the fill.
    std::atomic<size_t> written;
    std::atomic<size_t> read;
    // Consumer side only.
    bool primed;
};

#endif
