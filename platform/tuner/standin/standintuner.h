#ifndef STANDINTUNER_H
#define STANDINTUNER_H

#include "platform/tuner/tunerservice.h"

// Makes the stand-in FM tuner the radio service where the system offers none.
void InstallStandInTuner();

// Radio services created from now on take their tuner from factory instead
// of the stand-in's own; an empty factory brings the stand-in back. Tests use
// this to see what the radio asks of its tuner, the capture tool to pace it.
void SetStandInControlFactory(TunerControlFactory factory);

// The stand-in's control as its plugin makes it (from the factory set, if
// any): also what another tuner falls back to when its device fails.
QRadioTunerControl* MakeStandInControl(QObject* parent);

#endif
