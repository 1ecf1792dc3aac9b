#include "platform/sensors/scripted/scriptedattitudebackend.h"

#include "platform/sensors/scripted/scriptedattitude.h"

#include <QAccelerometer>

ScriptedAttitudeBackend::ScriptedAttitudeBackend(QSensor* sensor)
    : QSensorBackend(sensor), started(false), accelerationReading(nullptr), rotationReading(nullptr)
{
    if (sensor->type() == QAccelerometer::type)
        accelerationReading = setReading<QAccelerometerReading>(nullptr);
    else
        rotationReading = setReading<QRotationReading>(nullptr);
    ScriptedAttitude::Attach(this);
}

ScriptedAttitudeBackend::~ScriptedAttitudeBackend()
{
    ScriptedAttitude::Detach(this);
}

void ScriptedAttitudeBackend::start()
{
    if (ScriptedAttitude::StartRefused(sensor()->type())) {
        sensorStopped();
        return;
    }
    started = true;
    Deliver();
}

void ScriptedAttitudeBackend::stop()
{
    started = false;
}

void ScriptedAttitudeBackend::Deliver()
{
    if (!started)
        return;
    if (accelerationReading) {
        const QVector3D acceleration = ScriptedAttitude::Acceleration();
        accelerationReading->setX(acceleration.x());
        accelerationReading->setY(acceleration.y());
        accelerationReading->setZ(acceleration.z());
    } else {
        const QVector3D rotation = ScriptedAttitude::Rotation();
        rotationReading->setFromEuler(rotation.x(), rotation.y(), rotation.z());
    }
    newReadingAvailable();
}
