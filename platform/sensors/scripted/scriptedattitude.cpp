#include "platform/sensors/scripted/scriptedattitude.h"

#include "platform/sensors/scripted/scriptedattitudebackend.h"
#include "platform/sensors/sensorbackendfactory.h"

#include <QAccelerometer>
#include <QList>
#include <QRotationSensor>
#include <QSensorManager>
#include <QSet>

namespace {

struct attitude_script
{
    QVector3D acceleration;
    QVector3D rotation;
    QSet<QByteArray> refusedTypes;
    QList<ScriptedAttitudeBackend*> backends;
};

attitude_script& Script()
{
    static attitude_script script;
    return script;
}

void Register(const QByteArray& type)
{
    static SensorBackendFactory<ScriptedAttitudeBackend> factory;
    if (!QSensorManager::isBackendRegistered(type, ScriptedAttitude::identifier))
        QSensorManager::registerBackend(type, ScriptedAttitude::identifier, &factory);
    // Asking for the default first makes the manager read its configuration
    // file now rather than over our choice later.
    QSensor::defaultSensorForType(type);
    QSensorManager::setDefaultBackend(type, ScriptedAttitude::identifier);
}

void Deliver()
{
    for (ScriptedAttitudeBackend* backend : Script().backends)
        backend->Deliver();
}

} // namespace

const char ScriptedAttitude::identifier[] = "radioshow.scriptedattitude";

void ScriptedAttitude::Install()
{
    Register(QAccelerometer::type);
    Register(QRotationSensor::type);
}

void ScriptedAttitude::SetAcceleration(const QVector3D& acceleration)
{
    Script().acceleration = acceleration;
    Deliver();
}

void ScriptedAttitude::SetRotation(const QVector3D& rotation)
{
    Script().rotation = rotation;
    Deliver();
}

void ScriptedAttitude::SetStartRefused(const QByteArray& type, bool refused)
{
    if (refused)
        Script().refusedTypes.insert(type);
    else
        Script().refusedTypes.remove(type);
}

QVector3D ScriptedAttitude::Acceleration()
{
    return Script().acceleration;
}

QVector3D ScriptedAttitude::Rotation()
{
    return Script().rotation;
}

bool ScriptedAttitude::StartRefused(const QByteArray& type)
{
    return Script().refusedTypes.contains(type);
}

void ScriptedAttitude::Attach(ScriptedAttitudeBackend* backend)
{
    Script().backends.append(backend);
}

void ScriptedAttitude::Detach(ScriptedAttitudeBackend* backend)
{
    Script().backends.removeAll(backend);
}
