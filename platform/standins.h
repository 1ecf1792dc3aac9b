#ifndef STANDINS_H
#define STANDINS_H

// Stand-in back ends for the devices this machine may lack: motion sensors
// steered by the mouse pointer, and an FM tuner with repeatable signal
// strengths. Each is installed only where the system offers no back end of
// its own for that device. Call once, after the application object exists.
void InstallStandIns();

#endif
