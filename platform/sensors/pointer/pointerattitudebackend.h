#ifndef POINTERATTITUDEBACKEND_H
#define POINTERATTITUDEBACKEND_H

#include <QAccelerometerReading>
#include <QRotationReading>
#include <QSensorBackend>
#include <QTimer>

// An accelerometer or rotation sensor steered by the mouse pointer: while
// started it reports, every 20 ms, the attitude the pointer's place on the
// primary screen stands for.
class PointerAttitudeBackend : public QSensorBackend
{
    Q_OBJECT
public:
    static const char identifier[];

    explicit PointerAttitudeBackend(QSensor* sensor);

    void start() override;
    void stop() override;

private:
    void Sample();

    QTimer timer;
    QAccelerometerReading* accelerationReading;
    QRotationReading* rotationReading;
};

#endif
