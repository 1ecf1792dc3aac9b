#ifndef SENSORBACKENDS_H
#define SENSORBACKENDS_H

// Unregisters our motion sensor back ends: the next installation meets a
// machine with no motion sensors.
void ForgetOurSensorBackEnds();

#endif
