#ifndef POINTERATTITUDE_H
#define POINTERATTITUDE_H

// Registers the mouse-pointer attitude back end for the accelerometer and the
// rotation sensor, each only where the system has no working back end of its own.
void InstallPointerAttitudeSensors();

#endif
