#ifndef IIOACCELEROMETERBACKEND_H
#define IIOACCELEROMETERBACKEND_H

#include "platform/sensors/iio/iioaccelerometer.h"

#include <QAccelerometerReading>
#include <QSensorBackend>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

// An accelerometer of the kernel's Industrial I/O subsystem behind Qt's
// QAccelerometer. Starting opens the first usable device under the folder
// given to Install(); while started, a reading thread of its own reads the
// device every 16 ms and hands each reading to the sensor's thread, so that a
// driver that takes its time over a read never holds up a frame. A read that
// fails leaves the last reading standing. The device's own sampling
// frequency is left as the system set it.
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
    ~IioAccelerometerBackend() override;

    void start() override;
    void stop() override;

private:
    void Read(IioAccelerometer device);
    void Publish(const QVector3D& acceleration);

    QAccelerometerReading* reading;
    std::thread reader;
    std::mutex stopGuard;
    std::condition_variable stopRequested;
    bool stopping;
};

#endif
