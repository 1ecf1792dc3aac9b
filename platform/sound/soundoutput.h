#ifndef SOUNDOUTPUT_H
#define SOUNDOUTPUT_H

#include "signal/gainramp.h"

#include <atomic>
#include <thread>

class SampleSource;

// Plays a sample source on the system's default sound output through
// QAudioOutput in pull mode, 48 kHz stereo, with at most about 100 ms of
// sound queued ahead. The output lives on a thread of its own with its own
// event loop, so that no frame of the GUI, however slow, can starve it: the
// source is rendered on that thread. The thread plays from Start() to
// Stop(); volume, mute and the stop cross to it as atomic values, and volume
// and mute glide (see GainRamp). Where there is no sound device or no sound server
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
    // Returns once the output no longer pulls from the source: within a few
    // tens of milliseconds.
    void Stop();
    void SetVolume(int volume);  // 0..100
    void SetMuted(bool muted);

private:
    // The sound thread: sets the output up, plays until told to stop.
    void Play();
    static void ReportFault(const char* what);

    SampleSource& source;
    GainRamp gain;
    std::atomic<bool> stopping;
    std::thread thread;
};

#endif
