#include "platform/sensors/workingbackend.h"

#include <QList>
#include <QSensor>
#include <QSensorManager>

namespace {

bool Starts(const QByteArray& type, const QByteArray& identifier)
{
    QSensor probe(type);
    probe.setIdentifier(identifier);
    const bool started = probe.start();
    probe.stop();
    return started;
}

} // namespace

bool HasWorkingBackEnd(const QByteArray& type)
{
    const QByteArray systemDefault = QSensor::defaultSensorForType(type);
    if (!systemDefault.isEmpty() && Starts(type, systemDefault))
        return true;
    const QList<QByteArray> identifiers = QSensor::sensorsForType(type);
    for (const QByteArray& identifier : identifiers) {
        if (identifier != systemDefault && Starts(type, identifier)) {
            QSensorManager::setDefaultBackend(type, identifier);
            return true;
        }
    }
    return false;
}
