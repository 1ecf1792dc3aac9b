#ifndef SDRTUNER_H
#define SDRTUNER_H

#include "signal/receiver/iqdevice.h"

#include <memory>

// Makes the SDR tuner the radio service where an SDR device may be present:
// an IQ recording named in RADIOSHOW_SDR_RECORDING, or a receiver of an
// installed SoapySDR module. Returns whether it did. The search for a
// receiver starts here on a thread of its own, so that it holds nothing up;
// the radio service waits for it when it is first asked for, and where it
// finds no receiver that opens, the service's control is the stand-in's.
// Call once, after the application object exists (the search ends with it at
// the latest) and before InstallStandInTuner(), so that it comes before the
// stand-in (a radio plugin of the system still comes before both).
bool InstallSdrTuner();

// Whether the SDR tuner has a device to receive from: a recording, or a
// receiver the search found. Waits for the search to end. GUI thread.
bool SdrDeviceChosen();

// Opens the device the SDR tuner receives from: the recording named when the
// tuner was installed, else the receiver the search chose; null when it does
// not open. Called on the receive thread.
std::unique_ptr<IqDevice> OpenSdrDevice();

#endif
