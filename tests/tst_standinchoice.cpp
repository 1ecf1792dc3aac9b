#include "platform/sensors/pointer/pointerattitude.h"
#include "platform/sensors/pointer/pointerattitudebackend.h"
#include "platform/sensors/scripted/scriptedattitude.h"

#include <QAccelerometer>
#include <QRotationSensor>
#include <QtTest>

// The machine's own sensor plugins stay out, so that the scripted back end
// plays the system's: its accelerometer works, its rotation sensor is
// registered but refuses to start.
class StandInChoiceTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void workingBackEndIsKept();
    void brokenBackEndIsReplaced();
};

void StandInChoiceTest::initTestCase()
{
    qputenv("QT_SENSORS_LOAD_PLUGINS", "0");
    ScriptedAttitude::Install();
    ScriptedAttitude::SetStartRefused(QRotationSensor::type, true);
    InstallPointerAttitudeSensors();
}

void StandInChoiceTest::workingBackEndIsKept()
{
    QVERIFY(!QSensor::sensorsForType(QAccelerometer::type)
                 .contains(QByteArray(PointerAttitudeBackend::identifier)));
    QCOMPARE(QSensor::defaultSensorForType(QAccelerometer::type),
             QByteArray(ScriptedAttitude::identifier));
    QAccelerometer accelerometer;
    QVERIFY(accelerometer.start());
    QCOMPARE(accelerometer.identifier(), QByteArray(ScriptedAttitude::identifier));
}

void StandInChoiceTest::brokenBackEndIsReplaced()
{
    QCOMPARE(QSensor::defaultSensorForType(QRotationSensor::type),
             QByteArray(PointerAttitudeBackend::identifier));
    QRotationSensor rotationSensor;
    QVERIFY(rotationSensor.start());
    QCOMPARE(rotationSensor.identifier(), QByteArray(PointerAttitudeBackend::identifier));
    const QVector3D rotation(rotationSensor.reading()->x(), rotationSensor.reading()->y(),
                             rotationSensor.reading()->z());
    // Without a GUI application there is no pointer: the device rests as if
    // the pointer were in the middle of the screen.
    QCOMPARE(rotation, pointer_attitude(QPoint(), QRect()).rotation);
}

QTEST_GUILESS_MAIN(StandInChoiceTest)
#include "tst_standinchoice.moc"
