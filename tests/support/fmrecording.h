#ifndef FMRECORDING_H
#define FMRECORDING_H

#include <QByteArray>
#include <QVector>

// Synthesised IQ recordings as rtl_sdr writes them (8-bit unsigned, I then
// Q): FM stations, each a carrier at an offset from the centre modulated by
// its multiplex, over white noise. A station's SNR is its carrier power over
// the noise power in a 200 kHz channel; a recording with strong stations is
// scaled down to fit the 8 bits, as a receiver's gain would. Whole seconds loop without a seam as
// long as every component of the multiplex has a whole number of hertz. The
// noise comes from a generator seeded with seed, so a recording is the same
// on every run.
namespace fmrecording {

// One cosine of the multiplex; an amplitude of 1 swings the full deviation.
struct Component
{
    double hz;
    double amplitude;
    double phase;
};
using Multiplex = QVector<Component>;

const double toneHz = 1000;
const double deviationHz = 75000;
const double pilotHz = 19000;

// A 1 kHz tone at full deviation, mono.
Multiplex MonoTone();
// A 1 kHz tone of amplitude left in the left channel and right in the right,
// in stereo: 90 % of the deviation for (L+R)/2 and for (L-R)/2 on the
// 38 kHz subcarrier (double sideband, suppressed carrier, in phase with the
// doubled pilot), 10 % for the 19 kHz pilot.
Multiplex StereoTone(double left, double right);
// Mono tones of the same level after de-emphasis with the time constant
// seconds, each raised by the pre-emphasis 1 + j w tau.
Multiplex PreemphasisedTones(const QVector<double>& hz, double level, double seconds);

struct Station
{
    double offsetHz;
    double snrDb;
    Multiplex multiplex = MonoTone();
};

QByteArray Synthesise(double sampleRate, int seconds, const QVector<Station>& stations,
                      quint64 seed);

}

#endif
