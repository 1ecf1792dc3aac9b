#ifndef WORKINGBACKEND_H
#define WORKINGBACKEND_H

#include <QByteArray>

// True when a back end registered for the sensor type (QAccelerometer::type,
// say) really starts. A back end that is registered but cannot start (a
// plugin installed on a machine without the hardware) would leave the show
// printing a failure line and standing still, so it does not count. The
// system's default is kept when it starts; otherwise another back end that
// starts becomes the default.
bool HasWorkingBackEnd(const QByteArray& type);

#endif
