#ifndef STANDINS_H
#define STANDINS_H

#include <QString>

// Our own back ends for the devices the system offers none for, each
// installed only where no back end of the system's own works. Motion sensors:
// the kernel's accelerometer under iioDevices (with the rotation sensor Qt's
// generic plugin computes from it), or else a stand-in steered by the mouse
// pointer. An FM tuner: an SDR device where one is present, or else a
// stand-in that plays a synthesised broadcast. Call once, after the
// application object exists.
void InstallStandIns(const QString& iioDevices = QStringLiteral("/sys/bus/iio/devices"));

#endif
