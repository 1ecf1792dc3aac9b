#ifndef WAVETABLES_H
#define WAVETABLES_H

#include <vector>

// Single-cycle waveforms for the stand-in's instruments, one table per
// timbre and octave of the fundamental, each with only the harmonics that
// stay inside FM's audio band (15 kHz) at the top of its octave: notes
// played from them do not alias. Built once, shared, read-only afterwards.
class Wavetables
{
public:
    enum Timbre { Sine, Soft, Hollow, Bright, timbreCount };

    static const int sizeBits = 11;
    static const int size = 1 << sizeBits;

    static const Wavetables& Shared();

    // size + 1 samples (the first repeated at the end, for interpolation),
    // peak 1, for a note of fundamental hz.
    const float* Table(Timbre timbre, float hz) const;

private:
    static const int octaves = 9;

    Wavetables();

    std::vector<float> samples;
};

#endif
