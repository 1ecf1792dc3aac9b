#ifndef IIOACCELEROMETERBACKEND_H
#define IIOACCELEROMETERBACKEND_H

#include "platform/sensors/iio/iioaccelerometer.h"

#include <QAccelerometerReading>
#include <QSensorBackend>
#include <QString>
#include <QTimer>

#include <optional>

// An accelerometer of the kernel's Industrial I/O subsystem behind Qt's
// QAccelerometer. Starting opens the first usable device under the folder
// given to Install(); while started it reads the device every 16 ms, and a
// read that fails leaves the last reading standing. The device's own
// sampling frequency is left as the system set it.
class IioAccelerometerBackend : public QSensorBackend
{
    Q_OBJECT
public:
    static const char identifier[];

    // Makes this back end the default accelerometer when no back end that is
    // already registered starts and a usable device lies under root (the
    // system's is /sys/bus/iio/devices). True when it did. Qt's generic
    // sensor plugin then offers a rotation sensor computed from it.
    static bool Install(const QString& root);

    explicit IioAccelerometerBackend(QSensor* sensor);

    void start() override;
    void stop() override;

private:
    void Sample();
    void Publish();

    QTimer timer;
    std::optional<IioAccelerometer> device;
    QAccelerometerReading* reading;
};

#endif
