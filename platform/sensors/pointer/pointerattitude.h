#ifndef POINTERATTITUDE_H
#define POINTERATTITUDE_H

#include <QPoint>
#include <QRect>
#include <QVector3D>

// What an accelerometer and a rotation sensor report for one device attitude.
struct device_attitude
{
    QVector3D rotation;     // degrees about the device's x, y and z axes
    QVector3D acceleration; // m/s² along the device's x, y and z axes
};

// The reading of a device held still at the given rotation: the reaction to
// gravity (9.81 m/s² straight up) expressed in the device's own axes.
QVector3D resting_acceleration(const QVector3D& rotation);

// The attitude the mouse pointer stands for on a screen: the middle is a
// device tilted 60 degrees up about x and level about y; toward the top and
// bottom edges the tilt about x runs to 90 and 30 degrees, toward the right
// and left edges the tilt about y to +22 and -22 degrees. A pointer off the
// screen counts as on its nearest edge, an empty screen as the middle.
device_attitude pointer_attitude(const QPoint& pointer, const QRect& screen);

// Registers the mouse-pointer attitude back end for the accelerometer and the
// rotation sensor, each only where no back end registered before it works.
void InstallPointerAttitudeSensors();

#endif
