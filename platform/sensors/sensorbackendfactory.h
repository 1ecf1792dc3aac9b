#ifndef SENSORBACKENDFACTORY_H
#define SENSORBACKENDFACTORY_H

#include <QSensorBackend>
#include <QSensorManager>

// Hands the sensor manager a new Backend for each sensor that asks for one.
// Registrations last for the whole process, so a factory must too.
template <typename Backend>
class SensorBackendFactory : public QSensorBackendFactory
{
public:
    QSensorBackend* createBackend(QSensor* sensor) override { return new Backend(sensor); }
};

#endif
