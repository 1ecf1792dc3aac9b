#include "platform/sensors/iio/iioaccelerometerbackend.h"

#include "platform/sensors/sensorbackendfactory.h"
#include "platform/sensors/workingbackend.h"

#include <QAccelerometer>
#include <QSensorManager>

#include <chrono>

namespace {

// Above the 50 readings a second the show takes (one every second frame),
// even when a long frame delays a tick.
const int sampleIntervalMs = 16;

// Where started sensors look for devices: the last root given to Install().
QString& DevicesRoot()
{
    static QString root;
    return root;
}

quint64 MonotonicMicroseconds()
{
    return quint64(std::chrono::duration_cast<std::chrono::microseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                       .count());
}

} // namespace

const char IioAccelerometerBackend::identifier[] = "radioshow.iioaccelerometer";

bool IioAccelerometerBackend::Install(const QString& root)
{
    DevicesRoot() = root;
    if (HasWorkingBackEnd(QAccelerometer::type) || !IioAccelerometer::Open(root))
        return false;
    static SensorBackendFactory<IioAccelerometerBackend> factory;
    if (!QSensorManager::isBackendRegistered(QAccelerometer::type, identifier))
        QSensorManager::registerBackend(QAccelerometer::type, identifier, &factory);
    // The manager reads its configuration file the first time it is asked
    // for a default; asking now keeps that file from overriding ours later.
    QSensor::defaultSensorForType(QAccelerometer::type);
    QSensorManager::setDefaultBackend(QAccelerometer::type, identifier);
    return true;
}

IioAccelerometerBackend::IioAccelerometerBackend(QSensor* sensor)
    : QSensorBackend(sensor), reading(setReading<QAccelerometerReading>(nullptr))
{
    setDescription(QStringLiteral("accelerometer of the kernel's Industrial I/O subsystem, read through sysfs"));
    addDataRate(1000 / sampleIntervalMs, 1000 / sampleIntervalMs);
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(sampleIntervalMs);
    connect(&timer, &QTimer::timeout, this, &IioAccelerometerBackend::Sample);
}

void IioAccelerometerBackend::start()
{
    // The device is looked for anew on every start: it may have come back
    // under another number.
    device = IioAccelerometer::Open(DevicesRoot());
    if (!device) {
        timer.stop();
        sensorStopped();
        return;
    }
    Publish();
    timer.start();
}

void IioAccelerometerBackend::stop()
{
    timer.stop();
}

void IioAccelerometerBackend::Sample()
{
    if (device->Sample())
        Publish();
}

void IioAccelerometerBackend::Publish()
{
    const QVector3D acceleration = device->Acceleration();
    reading->setTimestamp(MonotonicMicroseconds());
    reading->setX(acceleration.x());
    reading->setY(acceleration.y());
    reading->setZ(acceleration.z());
    newReadingAvailable();
}
