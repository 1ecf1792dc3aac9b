#ifndef GAINRAMP_H
#define GAINRAMP_H

#include <atomic>

// The listener's volume and mute, applied to interleaved stereo samples.
// A new setting glides to its gain over rampFrames, so that turning the
// volume or muting never clicks and a run of small steps never buzzes.
// The first samples start at the gain set then; settings may come from
// another thread than the samples, and the gain follows the latest setting
// at the next Apply().
class GainRamp
{
public:
    static const int rampFrames = 960;  // 20 ms at 48 kHz

    GainRamp();

    void SetVolume(int volume);  // 0..100, bounded
    void SetMuted(bool muted);

    // The gain that volume stands for: quadratic, close to how loud a step
    // of the volume sounds; 1 at 100.
    static float VolumeGain(int volume);

    void Apply(float* interleaved, int frames);

private:
    std::atomic<int> volume;
    std::atomic<bool> muted;
    bool applied;
    float gain;
    float rampTarget;
    float rampStep;
};

#endif
