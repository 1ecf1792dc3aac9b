#include "platform/sensors/scripted/scriptedattitude.h"
#include "sensing/sensorarray.h"
#include "support/coutcapture.h"

#include <QAccelerometer>
#include <QRotationSensor>
#include <QtTest>

class SensingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void startFailure_data();
    void startFailure();
    void activationUsesTheDefaultBackEnds();
    void snapshotHoldsUntilNextPoll();
    void secondActivationReusesTheSensors();
    void secondActivationRetriesAfterFailure();
    void inactiveArrayIgnoresPolls();
};

void SensingTest::initTestCase()
{
    ScriptedAttitude::Install();
}

void SensingTest::init()
{
    ScriptedAttitude::SetStartRefused(QAccelerometer::type, false);
    ScriptedAttitude::SetStartRefused(QRotationSensor::type, false);
    ScriptedAttitude::SetAcceleration(QVector3D(0.5f, -9.5f, 2.0f));
    ScriptedAttitude::SetRotation(QVector3D(40.0f, -15.0f, 170.0f));
}

void SensingTest::startFailure_data()
{
    QTest::addColumn<bool>("accelerometerRefuses");
    QTest::addColumn<bool>("rotationRefuses");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("accelerometerRuns");

    QTest::newRow("accelerometer fails") << true << false << "accelerometer failure\n" << false;
    QTest::newRow("both fail") << true << true << "accelerometer failure\n" << false;
    QTest::newRow("rotation sensor fails") << false << true << "rotation sensor failure\n" << true;
}

void SensingTest::startFailure()
{
    QFETCH(bool, accelerometerRefuses);
    QFETCH(bool, rotationRefuses);
    QFETCH(QString, output);
    QFETCH(bool, accelerometerRuns);
    ScriptedAttitude::SetStartRefused(QAccelerometer::type, accelerometerRefuses);
    ScriptedAttitude::SetStartRefused(QRotationSensor::type, rotationRefuses);

    SensorArray sensors;
    CoutCapture capture;
    QVERIFY(!sensors.Activate());
    QCOMPARE(QString::fromStdString(capture.Text()), output);

    QVERIFY(!sensors.active);
    QVERIFY(sensors.accelerometer);
    QVERIFY(sensors.rotationSensor);
    QCOMPARE(sensors.accelerometer->isActive(), accelerometerRuns);
    QVERIFY(!sensors.rotationSensor->isActive());

    for (int poll = 0; poll < 5; ++poll) {
        ScriptedAttitude::SetAcceleration(QVector3D(1.0f + poll, 2.0f, 3.0f));
        ScriptedAttitude::SetRotation(QVector3D(4.0f, 5.0f + poll, 6.0f));
        sensors.UpdateReadings();
        QCOMPARE(sensors.acceleration, QVector3D(0, 0, 0));
        QCOMPARE(sensors.rotation, QVector3D(0, 0, 0));
    }
}

void SensingTest::activationUsesTheDefaultBackEnds()
{
    SensorArray sensors;
    CoutCapture capture;
    QVERIFY(sensors.Activate());
    QVERIFY(capture.Text().empty());
    QVERIFY(sensors.active);
    QVERIFY(sensors.accelerometer->isActive());
    QVERIFY(sensors.rotationSensor->isActive());
    QCOMPARE(sensors.accelerometer->identifier(), QByteArray(ScriptedAttitude::identifier));
    QCOMPARE(sensors.rotationSensor->identifier(), QByteArray(ScriptedAttitude::identifier));
}

void SensingTest::snapshotHoldsUntilNextPoll()
{
    SensorArray sensors;
    QVERIFY(sensors.Activate());
    QCOMPARE(sensors.acceleration, QVector3D(0, 0, 0));
    QCOMPARE(sensors.rotation, QVector3D(0, 0, 0));

    const QVector3D firstAcceleration(1.25f, -3.5f, 9.0f);
    const QVector3D firstRotation(12.0f, 100.0f, -45.0f);
    ScriptedAttitude::SetAcceleration(firstAcceleration);
    ScriptedAttitude::SetRotation(firstRotation);
    sensors.UpdateReadings();
    QCOMPARE(sensors.acceleration, firstAcceleration);
    QCOMPARE(sensors.rotation, firstRotation);

    const QVector3D secondAcceleration(-7.0f, 0.0f, 0.125f);
    const QVector3D secondRotation(-80.0f, -170.0f, 3.0f);
    ScriptedAttitude::SetAcceleration(secondAcceleration);
    ScriptedAttitude::SetRotation(secondRotation);
    QCOMPARE(sensors.acceleration, firstAcceleration);
    QCOMPARE(sensors.rotation, firstRotation);

    sensors.UpdateReadings();
    QCOMPARE(sensors.acceleration, secondAcceleration);
    QCOMPARE(sensors.rotation, secondRotation);
}

void SensingTest::secondActivationReusesTheSensors()
{
    SensorArray sensors;
    QVERIFY(sensors.Activate());
    QAccelerometer* accelerometer = sensors.accelerometer;
    QRotationSensor* rotationSensor = sensors.rotationSensor;

    CoutCapture capture;
    QVERIFY(sensors.Activate());
    QVERIFY(capture.Text().empty());
    QCOMPARE(sensors.accelerometer, accelerometer);
    QCOMPARE(sensors.rotationSensor, rotationSensor);
    QVERIFY(sensors.accelerometer->isActive());
    QVERIFY(sensors.rotationSensor->isActive());
}

void SensingTest::secondActivationRetriesAfterFailure()
{
    ScriptedAttitude::SetStartRefused(QRotationSensor::type, true);
    SensorArray sensors;
    {
        CoutCapture capture;
        QVERIFY(!sensors.Activate());
    }
    QRotationSensor* rotationSensor = sensors.rotationSensor;

    ScriptedAttitude::SetStartRefused(QRotationSensor::type, false);
    CoutCapture capture;
    QVERIFY(sensors.Activate());
    QVERIFY(capture.Text().empty());
    QCOMPARE(sensors.rotationSensor, rotationSensor);
    QVERIFY(sensors.active);

    sensors.UpdateReadings();
    QCOMPARE(sensors.rotation, ScriptedAttitude::Rotation());
}

void SensingTest::inactiveArrayIgnoresPolls()
{
    SensorArray sensors;
    sensors.UpdateReadings();
    QVERIFY(!sensors.accelerometer);
    QVERIFY(!sensors.rotationSensor);
    QCOMPARE(sensors.acceleration, QVector3D(0, 0, 0));
    QCOMPARE(sensors.rotation, QVector3D(0, 0, 0));
}

QTEST_GUILESS_MAIN(SensingTest)
#include "tst_sensing.moc"
