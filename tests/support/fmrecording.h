#ifndef FMRECORDING_H
#define FMRECORDING_H

#include <QByteArray>
#include <QVector>

// Synthesised IQ recordings as rtl_sdr writes them (8-bit unsigned, I then
// Q): FM stations, each a carrier at an offset from the centre modulated by
// a 1 kHz tone at 75 kHz deviation, over white noise. A station's SNR is its
// carrier power over the noise power in a 200 kHz channel. Whole seconds loop
// without a seam in the tone. The noise comes from a generator seeded with
// seed, so a recording is the same on every run.
namespace fmrecording {

struct Station
{
    double offsetHz;
    double snrDb;
};

const double toneHz = 1000;
const double deviationHz = 75000;

QByteArray Synthesise(double sampleRate, int seconds, const QVector<Station>& stations,
                      quint64 seed);

}

#endif
