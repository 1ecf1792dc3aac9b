#ifndef STANDINTUNER_H
#define STANDINTUNER_H

// Makes the stand-in FM tuner the radio service where the system offers none.
void InstallStandInTuner();

#endif
