#include "signal/audioring.h"

#include <algorithm>

namespace {

const size_t primingFrames = SampleSource::sampleRate / 20;
const size_t channels = SampleSource::channels;

size_t PowerOfTwoAtLeast(int count)
{
    size_t size = 1;
    while (size < static_cast<size_t>(std::max(count, 1)))
        size *= 2;
    return size;
}

}

AudioRing::AudioRing(int capacity)
    : samples(channels * PowerOfTwoAtLeast(capacity))
    , mask(samples.size() / channels - 1)
    , written(0)
    , read(0)
    , primed(false)
{
}

int AudioRing::Push(const float* interleaved, int frames)
{
    const size_t head = written.load(std::memory_order_relaxed);
    const size_t tail = read.load(std::memory_order_acquire);
    const size_t room = mask + 1 - (head - tail);
    const size_t taken = std::min(room, static_cast<size_t>(std::max(frames, 0)));
    for (size_t i = 0; i < taken; ++i)
        std::copy_n(interleaved + channels * i, channels,
                    samples.begin() + channels * ((head + i) & mask));
    written.store(head + taken, std::memory_order_release);
    return static_cast<int>(taken);
}

int AudioRing::Held() const
{
    return static_cast<int>(written.load(std::memory_order_acquire)
                            - read.load(std::memory_order_relaxed));
}

void AudioRing::Render(float* interleaved, int frames)
{
    const size_t tail = read.load(std::memory_order_relaxed);
    const size_t head = written.load(std::memory_order_acquire);
    const size_t wanted = static_cast<size_t>(std::max(frames, 0));
    const size_t held = head - tail;
    if (held >= std::min(primingFrames, mask + 1))
        primed = true;
    const size_t taken = primed ? std::min(held, wanted) : 0;
    if (taken < wanted)
        primed = false;
    for (size_t i = 0; i < taken; ++i)
        std::copy_n(samples.begin() + channels * ((tail + i) & mask), channels,
                    interleaved + channels * i);
    std::fill(interleaved + channels * taken, interleaved + channels * wanted, 0.0f);
    read.store(tail + taken, std::memory_order_release);
}

void AudioRing::Clear()
{
    read.store(written.load());
    primed = false;
}
