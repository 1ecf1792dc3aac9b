#ifndef SENSORARRAY_H
#define SENSORARRAY_H

#include <QVector3D>

class QAccelerometer;
class QRotationSensor;

// The accelerometer and the rotation sensor behind one object. Users poll it:
// UpdateReadings() copies the sensors' current readings into the two public
// vectors, which then hold still until the next poll.
class SensorArray
{
public:
    SensorArray();
    ~SensorArray();
    SensorArray(const SensorArray&) = delete;
    SensorArray& operator=(const SensorArray&) = delete;

    bool Activate();
    void UpdateReadings();

    bool active;
    QAccelerometer* accelerometer;
    QRotationSensor* rotationSensor;
    QVector3D acceleration;
    QVector3D rotation;
};

#endif
