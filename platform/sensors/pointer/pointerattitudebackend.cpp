#include "platform/sensors/pointer/pointerattitudebackend.h"

#include "platform/sensors/pointer/pointerattitude.h"

#include <QAccelerometer>
#include <QCursor>
#include <QGuiApplication>
#include <QRotationSensor>
#include <QScreen>

const char PointerAttitudeBackend::identifier[] = "radioshow.pointerattitude";

PointerAttitudeBackend::PointerAttitudeBackend(QSensor* sensor)
    : QSensorBackend(sensor), accelerationReading(nullptr), rotationReading(nullptr)
{
    if (sensor->type() == QAccelerometer::type)
        accelerationReading = setReading<QAccelerometerReading>(nullptr);
    else
        rotationReading = setReading<QRotationReading>(nullptr);
    setDescription(QStringLiteral("device attitude taken from the mouse pointer"));
    addDataRate(50, 50);
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, this, &PointerAttitudeBackend::Sample);
}

void PointerAttitudeBackend::start()
{
    Sample();
    timer.start();
}

void PointerAttitudeBackend::stop()
{
    timer.stop();
}

void PointerAttitudeBackend::Sample()
{
    // The pointer and the screens belong to the GUI application; without one
    // (or without a screen) the device rests as if the pointer were centred.
    QPoint pointer;
    QRect screen;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* primary = QGuiApplication::primaryScreen()) {
            pointer = QCursor::pos(primary);
            screen = primary->geometry();
        }
    }
    const device_attitude attitude = pointer_attitude(pointer, screen);
    if (accelerationReading) {
        accelerationReading->setX(attitude.acceleration.x());
        accelerationReading->setY(attitude.acceleration.y());
        accelerationReading->setZ(attitude.acceleration.z());
    } else {
        rotationReading->setFromEuler(attitude.rotation.x(), attitude.rotation.y(),
                                      attitude.rotation.z());
    }
    newReadingAvailable();
}
