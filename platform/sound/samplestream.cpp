#include "platform/sound/samplestream.h"

#include "signal/gainramp.h"
#include "signal/samplesource.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

// Rendered in blocks of at most this many frames, so that the scratch
// buffer stays small whatever the output asks for at once.
const int blockFrames = 1024;

qint16 ToInt16(float sample)
{
    return qint16(std::lrint(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

}

SampleStream::SampleStream(SampleSource& source, GainRamp& gain, QObject* parent)
    : QIODevice(parent), source(source), gain(gain), block(blockFrames * SampleSource::channels)
{
}

bool SampleStream::isSequential() const
{
    return true;
}

// Always a second's worth: the stream never runs dry.
qint64 SampleStream::bytesAvailable() const
{
    return qint64(SampleSource::sampleRate) * bytesPerFrame + QIODevice::bytesAvailable();
}

qint64 SampleStream::readData(char* data, qint64 maxSize)
{
    const qint64 frames = maxSize / bytesPerFrame;
    uchar* out = reinterpret_cast<uchar*>(data);
    for (qint64 done = 0; done < frames;) {
        const int count = int(std::min<qint64>(blockFrames, frames - done));
        source.Render(block.data(), count);
        gain.Apply(block.data(), count);
        for (int sample = 0; sample < count * SampleSource::channels; ++sample, out += 2)
            qToLittleEndian<qint16>(ToInt16(block[size_t(sample)]), out);
        done += count;
    }
    return frames * bytesPerFrame;
}

qint64 SampleStream::writeData(const char*, qint64)
{
    return -1;
}
