#ifndef SOUNDOUTPUT_H
#define SOUNDOUTPUT_H

#include "signal/gainramp.h"

#include <QThread>

#include <memory>

class QAudioOutput;
class SampleSource;
class SampleStream;

// Plays a sample source on the system's default sound output through
// QAudioOutput in pull mode, 48 kHz stereo, with at most about 100 ms of
// sound queued ahead. The output lives on a thread of its own with its own
// event loop, so that no frame of the GUI, however slow, can starve it: the
// source is rendered on that thread. Volume and mute cross as atomic values
// and glide (see GainRamp). Where there is no sound device or no sound server
// the sound is dropped silently, after one line on standard error for the
// whole process.
class SoundOutput
{
public:
    explicit SoundOutput(SampleSource& source);
    // Stops the sound and ends its thread.
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    void Start();
    // Returns once the output no longer pulls from the source.
    void Stop();
    void SetVolume(int volume);  // 0..100
    void SetMuted(bool muted);

private:
    // On the sound thread.
    void StartOnThread();
    void StopOnThread();
    void CloseOnThread();
    static void ReportFault(const char* what);

    SampleSource& source;
    GainRamp gain;
    QThread thread;
    // Lives on the sound thread: what Start and Stop post their work to.
    std::unique_ptr<QObject> onThread;
    // Made, used and destroyed on the sound thread only.
    std::unique_ptr<SampleStream> stream;
    std::unique_ptr<QAudioOutput> output;
};

#endif
