#ifndef SOUNDSINK_H
#define SOUNDSINK_H

#include <QString>

// Where the captured radio goes: 48 kHz stereo, 480 frames for every 10 ms
// of show time. Each operation returns false with a one-line reason in
// error when it fails.
class SoundSink
{
public:
    virtual ~SoundSink() = default;
    virtual bool Open(QString* error) = 0;
    virtual bool Write(const float* interleaved, int frames, QString* error) = 0;
    virtual bool Close(QString* error) = 0;
};

#endif
