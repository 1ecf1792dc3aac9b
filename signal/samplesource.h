#ifndef SAMPLESOURCE_H
#define SAMPLESOURCE_H

// Where the radio's sound comes from: the stand-in's synthesised broadcast,
// or a real receiver's demodulated audio. The sound output and the capture
// tool pull it by sample count, 48 kHz stereo.
class SampleSource
{
public:
    static const int sampleRate = 48000;
    static const int channels = 2;

    virtual ~SampleSource() = default;

    // Fills frames stereo frames, interleaved left/right, full scale +-1.
    // Called from the thread that plays the sound; must not block.
    virtual void Render(float* interleaved, int frames) = 0;
};

#endif
