#include "support/sensorbackends.h"

#include "platform/sensors/iio/iioaccelerometerbackend.h"
#include "platform/sensors/pointer/pointerattitudebackend.h"
#include "platform/sensors/scripted/scriptedattitude.h"

#include <QAccelerometer>
#include <QRotationSensor>
#include <QSensorManager>

void ForgetOurSensorBackEnds()
{
    for (const QByteArray type : {QAccelerometer::type, QRotationSensor::type}) {
        for (const char* identifier : {ScriptedAttitude::identifier, IioAccelerometerBackend::identifier,
                                       PointerAttitudeBackend::identifier}) {
            if (QSensorManager::isBackendRegistered(type, identifier))
                QSensorManager::unregisterBackend(type, identifier);
        }
    }
}
