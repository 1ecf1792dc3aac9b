#ifndef IQDEVICE_H
#define IQDEVICE_H

#include <complex>

// Where complex baseband samples come from: an SDR receiver, or a recording
// of one played back as if it were the receiver. Used by the receive thread
// only. A device reports its own faults on standard error, one line each, and
// then delivers no samples: the show goes on in silence.
class IqDevice
{
public:
    virtual ~IqDevice() = default;

    // Complex samples per second that Read() delivers.
    virtual double SampleRate() const = 0;

    // Tunes the device for a station at stationHz and returns the frequency
    // that now sits at the centre of the samples, or false when the device
    // cannot receive there.
    virtual bool Tune(double stationHz, double* centreHz) = 0;

    // Fills up to count samples, waiting at most timeoutMs for them, and
    // returns how many it filled: 0 when none came in that time.
    virtual int Read(std::complex<float>* samples, int count, int timeoutMs) = 0;
};

#endif
