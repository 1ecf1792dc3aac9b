#include "platform/sensors/iio/iioaccelerometerbackend.h"

#include "platform/sensors/sensorbackendfactory.h"
#include "platform/sensors/workingbackend.h"

#include <QAccelerometer>
#include <QSensorManager>

#include <chrono>

namespace {

// Above the 50 readings a second the show takes (one every second frame).
const std::chrono::milliseconds sampleInterval(16);

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
    : QSensorBackend(sensor), reading(setReading<QAccelerometerReading>(nullptr)), stopping(false)
{
    setDescription(QStringLiteral("accelerometer of the kernel's Industrial I/O subsystem, read through sysfs"));
    const int rate = int(1000 / sampleInterval.count());
    addDataRate(rate, rate);
}

IioAccelerometerBackend::~IioAccelerometerBackend()
{
    stop();
}

void IioAccelerometerBackend::start()
{
    stop();
    // The device is looked for anew on every start: it may have come back
    // under another number.
    std::optional<IioAccelerometer> device = IioAccelerometer::Open(DevicesRoot());
    if (!device) {
        sensorStopped();
        return;
    }
    Publish(device->Acceleration());
    stopping = false;
    reader = std::thread(&IioAccelerometerBackend::Read, this, std::move(*device));
}

void IioAccelerometerBackend::stop()
{
    if (!reader.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(stopGuard);
        stopping = true;
    }
    stopRequested.notify_all();
    reader.join();
}

// On the reading thread. The device belongs to this thread alone; readings
// reach the sensor as queued calls, which Qt drops should the back end be
// gone by the time they arrive, and which a stopped sensor ignores.
void IioAccelerometerBackend::Read(IioAccelerometer device)
{
    auto next = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lock(stopGuard);
    while (!stopping) {
        lock.unlock();
        if (device.Sample()) {
            const QVector3D acceleration = device.Acceleration();
            QMetaObject::invokeMethod(
                this,
                [this, acceleration] {
                    if (!stopping)
                        Publish(acceleration);
                },
                Qt::QueuedConnection);
        }
        // A device slower than the interval is read again at once, with no
        // burst of reads to catch up afterwards.
        next = std::max(next + sampleInterval, std::chrono::steady_clock::now());
        lock.lock();
        stopRequested.wait_until(lock, next, [this] { return stopping; });
    }
}

void IioAccelerometerBackend::Publish(const QVector3D& acceleration)
{
    reading->setTimestamp(MonotonicMicroseconds());
    reading->setX(acceleration.x());
    reading->setY(acceleration.y());
    reading->setZ(acceleration.z());
    newReadingAvailable();
}
