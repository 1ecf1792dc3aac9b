#include "platform/sensors/pointer/pointerattitude.h"

#include "platform/sensors/pointer/pointerattitudebackend.h"
#include "platform/sensors/sensorbackendfactory.h"
#include "platform/sensors/workingbackend.h"

#include <QAccelerometer>
#include <QRotationSensor>
#include <QSensorManager>

#include <algorithm>
#include <cmath>

namespace {

const double standardGravity = 9.81;

// Where a coordinate lies between the middle of a span (0) and its ends (±1).
double OffsetFromMiddle(int coordinate, int start, int length)
{
    if (length <= 0)
        return 0.0;
    const double halfLength = length / 2.0;
    return std::clamp((coordinate - (start + halfLength)) / halfLength, -1.0, 1.0);
}

void InstallAsDefault(const QByteArray& type)
{
    static SensorBackendFactory<PointerAttitudeBackend> factory;
    QSensorManager::registerBackend(type, PointerAttitudeBackend::identifier, &factory);
    // The manager reads its configuration file the first time it is asked
    // for a default; asking now keeps that file from overriding ours later.
    QSensor::defaultSensorForType(type);
    QSensorManager::setDefaultBackend(type, PointerAttitudeBackend::identifier);
}

} // namespace

QVector3D resting_acceleration(const QVector3D& rotation)
{
    const double degree = M_PI / 180.0;
    const double aboutX = rotation.x() * degree;
    const double aboutY = rotation.y() * degree;
    // Turning about z leaves the vertical where it is, so only x and y count.
    return QVector3D(float(-standardGravity * std::sin(aboutY) * std::cos(aboutX)),
                     float(standardGravity * std::sin(aboutX)),
                     float(standardGravity * std::cos(aboutX) * std::cos(aboutY)));
}

device_attitude pointer_attitude(const QPoint& pointer, const QRect& screen)
{
    const double across = OffsetFromMiddle(pointer.x(), screen.x(), screen.width());
    const double down = OffsetFromMiddle(pointer.y(), screen.y(), screen.height());
    const QVector3D rotation(float(60.0 - 30.0 * down), float(22.0 * across), 0.0f);
    return device_attitude{rotation, resting_acceleration(rotation)};
}

void InstallPointerAttitudeSensors()
{
    const QByteArray types[] = {QAccelerometer::type, QRotationSensor::type};
    // Both types are judged before either stand-in exists: Qt's generic
    // plugin answers a new accelerometer with a rotation sensor computed from
    // it, which must not pass for a device of the system's own.
    bool missing[2];
    for (int index = 0; index < 2; ++index) {
        missing[index] = !QSensorManager::isBackendRegistered(types[index], PointerAttitudeBackend::identifier)
            && !HasWorkingBackEnd(types[index]);
    }
    for (int index = 0; index < 2; ++index) {
        if (missing[index])
            InstallAsDefault(types[index]);
    }
}
