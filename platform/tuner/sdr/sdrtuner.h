#ifndef SDRTUNER_H
#define SDRTUNER_H

#include "signal/receiver/iqdevice.h"

#include <memory>

// Makes the SDR tuner the radio service where an SDR device is present: an
// IQ recording named in RADIOSHOW_SDR_RECORDING, or a receiver SoapySDR
// finds. Returns whether it did. Call once, after the application object
// exists and before InstallStandInTuner(), so that it comes before the
// stand-in (a radio plugin of the system still comes before both).
bool InstallSdrTuner();

// Opens the device the SDR tuner receives from: the recording named when the
// tuner was installed, else the first receiver SoapySDR finds; null when
// neither opens. Called on the receive thread.
std::unique_ptr<IqDevice> OpenSdrDevice();

#endif
