#ifndef WAVFILESINK_H
#define WAVFILESINK_H

#include "tools/capture/soundsink.h"

#include <QFile>

// A WAV file of 16-bit stereo PCM at 48 kHz. Its header gives the sizes
// once it is closed; an earlier file of the same name is replaced.
class WavFileSink : public SoundSink
{
public:
    explicit WavFileSink(const QString& path);

    bool Open(QString* error) override;
    bool Write(const float* interleaved, int frames, QString* error) override;
    bool Close(QString* error) override;

private:
    bool WriteHeader(quint32 dataBytes, QString* error);

    QFile file;
    quint32 dataBytes = 0;
};

#endif
