#ifndef SCRIPTEDATTITUDE_H
#define SCRIPTEDATTITUDE_H

#include <QByteArray>
#include <QVector3D>

class ScriptedAttitudeBackend;

// Motion sensors that report what they are told: the caller sets the
// acceleration and the rotation, and every started accelerometer or rotation
// sensor of this back end reports them from its next reading() on. A type can
// be told to refuse to start. The script is one for the whole process, like
// the sensor manager's registrations.
class ScriptedAttitude
{
public:
    static const char identifier[];

    // Registers the back end for the accelerometer and the rotation sensor
    // and makes it the default for both. Repeated calls change nothing.
    static void Install();

    static void SetAcceleration(const QVector3D& acceleration);
    static void SetRotation(const QVector3D& rotation);
    // type: QAccelerometer::type or QRotationSensor::type.
    static void SetStartRefused(const QByteArray& type, bool refused);

    static QVector3D Acceleration();
    static QVector3D Rotation();
    static bool StartRefused(const QByteArray& type);

    static void Attach(ScriptedAttitudeBackend* backend);
    static void Detach(ScriptedAttitudeBackend* backend);
};

#endif
