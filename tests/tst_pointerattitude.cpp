#include "platform/sensors/pointer/pointerattitude.h"
#include "platform/sensors/pointer/pointerattitudebackend.h"

#include <QAccelerometer>
#include <QCursor>
#include <QGuiApplication>
#include <QQuaternion>
#include <QRotationSensor>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {

// Gravity's reaction as a device turned by z, then x, then y (each about the
// axis as already turned) feels it: the world's upward 9.81 m/s² seen from
// the device's own axes.
QVector3D FeltGravity(const QVector3D& rotation)
{
    const QQuaternion attitude = QQuaternion::fromAxisAndAngle(0, 0, 1, rotation.z())
        * QQuaternion::fromAxisAndAngle(1, 0, 0, rotation.x())
        * QQuaternion::fromAxisAndAngle(0, 1, 0, rotation.y());
    return attitude.conjugated().rotatedVector(QVector3D(0, 0, 9.81f));
}

bool Finite(const QVector3D& vector)
{
    return std::isfinite(vector.x()) && std::isfinite(vector.y()) && std::isfinite(vector.z());
}

} // namespace

class PointerAttitudeTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void standInOnlyWhereNothingWorks();
    void mapping_data();
    void mapping();
    void liveSensors();

private:
    QSet<QByteArray> working;
};

// Whatever sensor plugins this machine has: where none of them starts, the
// pointer becomes the default, also for the rotation sensor that Qt's generic
// plugin offers on top of the stand-in accelerometer.
void PointerAttitudeTest::initTestCase()
{
    working.clear();
    for (const QByteArray type : {QAccelerometer::type, QRotationSensor::type}) {
        for (const QByteArray& identifier : QSensor::sensorsForType(type)) {
            QSensor probe(type);
            probe.setIdentifier(identifier);
            if (probe.start())
                working.insert(type);
        }
    }
    InstallPointerAttitudeSensors();
    InstallPointerAttitudeSensors();
}

void PointerAttitudeTest::standInOnlyWhereNothingWorks()
{
    for (const QByteArray type : {QAccelerometer::type, QRotationSensor::type}) {
        const QByteArray chosen = QSensor::defaultSensorForType(type);
        if (working.contains(type))
            QVERIFY(chosen != PointerAttitudeBackend::identifier);
        else
            QCOMPARE(chosen, QByteArray(PointerAttitudeBackend::identifier));
        QSensor sensor(type);
        QVERIFY(sensor.start());
        QCOMPARE(sensor.identifier(), chosen);
    }
}

void PointerAttitudeTest::mapping_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QVector3D>("rotation");

    const QRect screen(0, 0, 1280, 800);
    QTest::newRow("middle") << QPoint(640, 400) << screen << QVector3D(60, 0, 0);
    QTest::newRow("top left") << QPoint(0, 0) << screen << QVector3D(90, -22, 0);
    QTest::newRow("top right") << QPoint(1280, 0) << screen << QVector3D(90, 22, 0);
    QTest::newRow("bottom left") << QPoint(0, 800) << screen << QVector3D(30, -22, 0);
    QTest::newRow("bottom right") << QPoint(1280, 800) << screen << QVector3D(30, 22, 0);
    QTest::newRow("quarter across") << QPoint(960, 200) << screen << QVector3D(75, 11, 0);
    QTest::newRow("far off to the top left") << QPoint(-1000000, -1000000) << screen << QVector3D(90, -22, 0);
    QTest::newRow("far off to the bottom right") << QPoint(2000000000, 2000000000) << screen << QVector3D(30, 22, 0);
    QTest::newRow("second screen, middle") << QPoint(1920 + 640, 100 + 400) << QRect(1920, 100, 1280, 800)
                                          << QVector3D(60, 0, 0);
    QTest::newRow("second screen, its left edge") << QPoint(1920, 500) << QRect(1920, 100, 1280, 800)
                                                  << QVector3D(60, -22, 0);
    QTest::newRow("zero-size screen") << QPoint(300, -40) << QRect(10, 10, 0, 0) << QVector3D(60, 0, 0);
    QTest::newRow("no screen") << QPoint(0, 0) << QRect() << QVector3D(60, 0, 0);
}

void PointerAttitudeTest::mapping()
{
    QFETCH(QPoint, pointer);
    QFETCH(QRect, screen);
    QFETCH(QVector3D, rotation);

    const device_attitude attitude = pointer_attitude(pointer, screen);
    QVERIFY(Finite(attitude.rotation));
    QVERIFY(Finite(attitude.acceleration));
    QVERIFY2((attitude.rotation - rotation).length() < 1e-4f,
             qPrintable(QStringLiteral("%1 %2").arg(attitude.rotation.x()).arg(attitude.rotation.y())));

    // The camera chases x - 90 and y; both stay inside its limits.
    QVERIFY(attitude.rotation.x() - 90.0f >= -60.0f && attitude.rotation.x() - 90.0f <= 8.0f);
    QVERIFY(std::fabs(attitude.rotation.y()) <= 22.0f);

    QVERIFY(std::fabs(attitude.acceleration.length() - 9.81f) < 1e-4f);
    const QVector3D felt = FeltGravity(attitude.rotation);
    QVERIFY2((attitude.acceleration - felt).length() < 1e-4f,
             qPrintable(QStringLiteral("(%1, %2, %3), expected (%4, %5, %6)")
                            .arg(attitude.acceleration.x()).arg(attitude.acceleration.y())
                            .arg(attitude.acceleration.z()).arg(felt.x()).arg(felt.y()).arg(felt.z())));
}

void PointerAttitudeTest::liveSensors()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    QVERIFY(screen);
    const QRect geometry = screen->geometry();
    QCursor::setPos(screen, geometry.center());
    if (QCursor::pos(screen) != geometry.center())
        QSKIP("this platform does not move the pointer");

    QRotationSensor rotationSensor;
    rotationSensor.setIdentifier(PointerAttitudeBackend::identifier);
    QAccelerometer accelerometer;
    accelerometer.setIdentifier(PointerAttitudeBackend::identifier);
    QVERIFY(rotationSensor.start());
    QVERIFY(accelerometer.start());
    const device_attitude middle = pointer_attitude(geometry.center(), geometry);
    QCOMPARE(QVector3D(rotationSensor.reading()->x(), rotationSensor.reading()->y(),
                       rotationSensor.reading()->z()),
             middle.rotation);
    QCOMPARE(QVector3D(accelerometer.reading()->x(), accelerometer.reading()->y(),
                       accelerometer.reading()->z()),
             middle.acceleration);

    // Readings keep coming while the sensor runs, following the pointer.
    QCursor::setPos(screen, geometry.topLeft());
    QSignalSpy rotationReadings(&rotationSensor, &QSensor::readingChanged);
    QVERIFY(rotationReadings.wait());
    const device_attitude corner = pointer_attitude(geometry.topLeft(), geometry);
    QCOMPARE(QVector3D(rotationSensor.reading()->x(), rotationSensor.reading()->y(),
                       rotationSensor.reading()->z()),
             corner.rotation);
    QSignalSpy accelerometerReadings(&accelerometer, &QSensor::readingChanged);
    QVERIFY(accelerometerReadings.wait());
    QVERIFY(std::fabs(QVector3D(accelerometer.reading()->x(), accelerometer.reading()->y(),
                                accelerometer.reading()->z()).length() - 9.81f) < 1e-4f);

    rotationSensor.stop();
    accelerometer.stop();
    QVERIFY(!rotationSensor.isActive());
    QVERIFY(!accelerometer.isActive());
}

QTEST_MAIN(PointerAttitudeTest)
#include "tst_pointerattitude.moc"
