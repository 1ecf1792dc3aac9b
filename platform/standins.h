#ifndef STANDINS_H
#define STANDINS_H

// Back ends for the devices this machine may lack: motion sensors steered by
// the mouse pointer; an FM tuner on an SDR device where one is present, and
// otherwise a stand-in tuner with repeatable signal strengths. Each serves
// only where the system offers no back end of its own for that device. Call
// once, after the application object exists.
void InstallStandIns();

#endif
