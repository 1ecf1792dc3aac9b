#include "sensing/sensorarray.h"

#include <QAccelerometer>
#include <QRotationSensor>

#include <iostream>

SensorArray::SensorArray()
    : active(false), accelerometer(nullptr), rotationSensor(nullptr)
{
}

SensorArray::~SensorArray()
{
    delete accelerometer;
    delete rotationSensor;
}

// A repeated call keeps the sensors it already made and asks them to start
// again, so a back end that came up late can still be picked up; starting a
// sensor that already runs succeeds at once.
bool SensorArray::Activate()
{
    if (!accelerometer)
        accelerometer = new QAccelerometer;
    if (!rotationSensor)
        rotationSensor = new QRotationSensor;

    if (!accelerometer->start()) {
        std::cout << "accelerometer failure\n" << std::flush;
        return false;
    }
    if (!rotationSensor->start()) {
        std::cout << "rotation sensor failure\n" << std::flush;
        return false;
    }
    active = true;
    return true;
}

void SensorArray::UpdateReadings()
{
    if (!active)
        return;
    QAccelerometerReading* accelerometerReading = accelerometer->reading();
    QRotationReading* rotationReading = rotationSensor->reading();
    // A back end that never set up its reading objects has nothing to copy.
    if (!accelerometerReading || !rotationReading)
        return;
    acceleration = QVector3D(accelerometerReading->x(), accelerometerReading->y(),
                             accelerometerReading->z());
    rotation = QVector3D(rotationReading->x(), rotationReading->y(), rotationReading->z());
}
