#ifndef SCRIPTEDATTITUDEBACKEND_H
#define SCRIPTEDATTITUDEBACKEND_H

#include <QAccelerometerReading>
#include <QRotationReading>
#include <QSensorBackend>

// One accelerometer or rotation sensor of the scripted back end: while
// started it reports the script's current values, each time they change.
class ScriptedAttitudeBackend : public QSensorBackend
{
    Q_OBJECT
public:
    explicit ScriptedAttitudeBackend(QSensor* sensor);
    ~ScriptedAttitudeBackend() override;

    void start() override;
    void stop() override;

    void Deliver();

private:
    bool started;
    QAccelerometerReading* accelerationReading;
    QRotationReading* rotationReading;
};

#endif
