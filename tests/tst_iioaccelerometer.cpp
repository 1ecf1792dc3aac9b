#include "platform/sensors/iio/iioaccelerometer.h"
#include "platform/sensors/iio/iioaccelerometerbackend.h"
#include "platform/sensors/pointer/pointerattitude.h"
#include "platform/sensors/pointer/pointerattitudebackend.h"
#include "platform/sensors/scripted/scriptedattitude.h"
#include "platform/standins.h"
#include "support/coutcapture.h"
#include "support/fakeiiodevice.h"
#include "support/sensorbackends.h"

#include <QAccelerometer>
#include <QRotationSensor>
#include <QTemporaryDir>
#include <QtTest>

namespace {

int Lines(const std::string& text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

// Within what whole raw counts at a scale of about 0.01 can tell apart.
bool Near(const QVector3D& measured, const QVector3D& expected)
{
    return (measured - expected).length() < 0.01f;
}

} // namespace

// Fake devices in a temporary folder stand for /sys/bus/iio/devices. The
// machine's sensor plugins stay: Qt's generic one computes the rotation.
class IioAccelerometerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qunsetenv("QT_ACCEL_FILEPATH"); } // else Qt's linuxsys plugin reads that file
    void cleanup() { ForgetOurSensorBackEnds(); }
    void readings_data();
    void readings();
    void preference_data();
    void preference();
};

void IioAccelerometerTest::readings_data()
{
    QTest::addColumn<QStringList>("files"); // [iio:deviceN/]attribute=text, iio:device0 unless named; "/" makes a folder
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QVector3D>("acceleration");
    QTest::addColumn<QString>("fault"); // written once the device is open; "/" takes the device away
    QTest::addColumn<int>("errorLines");

    const QStringList chip = {"in_accel_x_raw=100", "in_accel_y_raw=200", "in_accel_z_raw=-300", "in_accel_scale=0.01"};
    const QString device0 = "iio:device0";
    QTest::newRow("shared scale") << QStringList{"in_accel_x_raw=0", "in_accel_y_raw=512", "in_accel_z_raw=-1024",
                                                 "in_accel_scale=0.009576806"}
                                  << device0 << QVector3D(0, 4.903325f, -9.806649f) << "" << 0;
    QTest::newRow("scale and offset per axis before the shared ones")
        << chip + QStringList{"in_accel_x_scale=0.5", "in_accel_z_scale=0.02", "in_accel_offset=-50", "in_accel_z_offset=10"}
        << device0 << QVector3D(25, 1.5f, -5.8f) << "" << 0;
    QTest::newRow("mount matrix") << chip + QStringList{"in_accel_mount_matrix=0, 1, 0; -1, 0, 0; 0, 0, 1"}
                                  << device0 << QVector3D(2, -1, -3) << "" << 0;
    QTest::newRow("malformed raw value") << chip + QStringList{"in_accel_y_raw=2OO"} << "" << QVector3D() << "" << 1;
    QTest::newRow("scale of 0") << chip + QStringList{"in_accel_scale=0.000000000"} << "" << QVector3D() << "" << 1;
    QTest::newRow("mount matrix not 3x3") << chip + QStringList{"mount_matrix=1, 0; 0, 1"} << "" << QVector3D() << ""
                                          << 1;
    QTest::newRow("unreadable raw value") << chip + QStringList{"in_accel_z_raw=/"} << "" << QVector3D() << "" << 1;
    QTest::newRow("past a broken device, the lid's before the base's")
        << chip + QStringList{"in_accel_scale=0", "iio:device1/label=accel-base", "iio:device1/in_accel_x_raw=1",
                              "iio:device1/in_accel_y_raw=1", "iio:device1/in_accel_z_raw=1",
                              "iio:device2/in_accel_x_raw=0", "iio:device2/in_accel_y_raw=0",
                              "iio:device2/in_accel_z_raw=981"}
        << "iio:device2" << QVector3D(0, 0, 981) << "" << 1;
    QTest::newRow("in the show, the device goes away") << chip << device0 << QVector3D(1, 2, -3) << "/" << 1;
    QTest::newRow("in the show, a value turns malformed") << chip << device0 << QVector3D(1, 2, -3)
                                                          << "in_accel_x_raw=1e9999" << 1;
    QTest::newRow("in the show, a value turns unreadable") << chip << device0 << QVector3D(1, 2, -3)
                                                           << "in_accel_y_raw=/" << 1;
}

void IioAccelerometerTest::readings()
{
    QFETCH(QStringList, files);
    QFETCH(QString, chosen);
    QFETCH(QVector3D, acceleration);
    QFETCH(QString, fault);
    QFETCH(int, errorLines);

    QTemporaryDir root;
    const auto write = [&root](const QString& file) {
        const QString path = file.section('=', 0, 0);
        const QByteArray text = file.section('=', 1).toLatin1();
        const QString device = path.contains('/') ? path.section('/', 0, 0) : "iio:device0";
        return FakeIioDevice(root.path(), device).Write(path.section('/', -1), text == "/" ? QByteArray() : text);
    };
    for (const QString& file : files)
        QVERIFY(write(file));
    CoutCapture errors(std::cerr);
    std::optional<IioAccelerometer> device = IioAccelerometer::Open(root.path());
    QCOMPARE(device ? device->Folder() : QString(), chosen.isEmpty() ? chosen : root.filePath(chosen));
    QVERIFY(!device || Near(device->Acceleration(), acceleration));
    IioAccelerometer::Open(root.path()); // tells nothing new
    if (!fault.isEmpty()) {
        QVERIFY(fault == "/" ? QDir(device->Folder()).removeRecursively() : write(fault));
        QVERIFY(!device->Sample() && !device->Sample());
        QVERIFY(Near(device->Acceleration(), acceleration));
        for (const QString& file : files) // and back again
            QVERIFY(write(file));
        QVERIFY(device->Sample());
    }
    QCOMPARE(Lines(errors.Text()), errorLines);
}

void IioAccelerometerTest::preference_data()
{
    QTest::addColumn<int>("systemSensors"); // 0 none, 1 working, 2 whose accelerometer will not start
    QTest::addColumn<QByteArray>("scale");  // null: no device
    QTest::addColumn<QByteArray>("accelerometer");
    QTest::addColumn<QByteArray>("rotationSensor");

    const QByteArray scripted = ScriptedAttitude::identifier;
    const QByteArray kernel = IioAccelerometerBackend::identifier;
    const QByteArray pointer = PointerAttitudeBackend::identifier;
    const QByteArray typical = "0.009576806";
    QTest::newRow("the system's first") << 1 << typical << scripted << scripted;
    QTest::newRow("a system accelerometer that will not start") << 2 << typical << kernel << scripted;
    QTest::newRow("the device, and Qt's rotation from it") << 0 << typical << kernel << QByteArray("generic.rotation");
    QTest::newRow("no device: the pointer") << 0 << QByteArray() << pointer << pointer;
    QTest::newRow("an unusable device: the pointer") << 0 << QByteArray("0") << pointer << pointer;
}

void IioAccelerometerTest::preference()
{
    QFETCH(int, systemSensors);
    QFETCH(QByteArray, scale);
    QFETCH(QByteArray, accelerometer);
    QFETCH(QByteArray, rotationSensor);

    if (systemSensors) {
        ScriptedAttitude::Install();
        ScriptedAttitude::SetStartRefused(QAccelerometer::type, systemSensors == 2);
    }
    QTemporaryDir root;
    const FakeIioDevice device(root.path());
    QVERIFY(scale.isNull() || (device.Hold(QVector3D(0, 0, 9.81f)) && device.Write("in_accel_scale", scale)));
    CoutCapture errors(std::cerr);
    InstallStandIns(root.path());

    QCOMPARE(QSensor::defaultSensorForType(QAccelerometer::type), accelerometer);
    QCOMPARE(QSensor::defaultSensorForType(QRotationSensor::type), rotationSensor);
    QCOMPARE(QSensorManager::isBackendRegistered(QRotationSensor::type, PointerAttitudeBackend::identifier),
             rotationSensor == PointerAttitudeBackend::identifier);
    QAccelerometer accelerometerSensor;
    QRotationSensor rotation;
    QVERIFY(accelerometerSensor.start() && rotation.start());
    QCOMPARE(Lines(errors.Text()), scale == "0" ? 1 : 0); // however many sensors looked
}

QTEST_MAIN(IioAccelerometerTest)
#include "tst_iioaccelerometer.moc"
