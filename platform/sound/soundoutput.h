#ifndef SOUNDOUTPUT_H
#define SOUNDOUTPUT_H

#include "signal/gainramp.h"

#include <QObject>

#include <memory>

class QAudioOutput;
class SampleSource;
class SampleStream;

// Plays a sample source on the system's default sound output through
// QAudioOutput in pull mode, 48 kHz stereo, with at most about 100 ms of
// sound queued ahead. Volume and mute glide (see GainRamp). Where there is
// no sound device or no sound server the sound is dropped silently, after
// one line on standard error for the whole process.
class SoundOutput : public QObject
{
    Q_OBJECT
public:
    explicit SoundOutput(SampleSource& source, QObject* parent = nullptr);
    ~SoundOutput() override;

    void Start();
    void Stop();
    void SetVolume(int volume);  // 0..100
    void SetMuted(bool muted);

private:
    void ReportFault(const char* what);

    SampleSource& source;
    GainRamp gain;
    std::unique_ptr<SampleStream> stream;
    std::unique_ptr<QAudioOutput> output;
};

#endif
