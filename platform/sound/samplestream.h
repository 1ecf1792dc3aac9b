#ifndef SAMPLESTREAM_H
#define SAMPLESTREAM_H

#include <QIODevice>

#include <vector>

class GainRamp;
class SampleSource;

// An endless, read-only byte stream of a sample source's sound through a
// gain stage, as signed 16-bit little-endian stereo frames: what a
// QAudioOutput in pull mode reads. It renders exactly the frames asked for,
// so the source advances with the sound that is played.
class SampleStream : public QIODevice
{
    Q_OBJECT
public:
    static const int bytesPerFrame = 4;

    SampleStream(SampleSource& source, GainRamp& gain, QObject* parent = nullptr);

    bool isSequential() const override;
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    SampleSource& source;
    GainRamp& gain;
    std::vector<float> block;
};

#endif
