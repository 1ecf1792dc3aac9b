#ifndef SENSORBACKENDS_H
#define SENSORBACKENDS_H

// Unregisters the scripted, kernel accelerometer and pointer back ends from
// the accelerometer and the rotation sensor and lets the scripted sensors
// start again, so that the next installation meets a machine with no motion
// sensors (Qt's generic plugin drops its rotation sensor with the last
// accelerometer).
void ForgetOurSensorBackEnds();

#endif
