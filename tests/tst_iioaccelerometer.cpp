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
#include <QDir>
#include <QRotationSensor>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

int Lines(const std::string& text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

// Within what whole raw counts at the typical scale can tell apart.
bool Near(const QVector3D& measured, const QVector3D& expected)
{
    return (measured - expected).length() < 0.01f;
}

// Attribute files, keyed by their path under the root.
QVariantMap Accelerometer(const QString& device, const QByteArray& x, const QByteArray& y, const QByteArray& z)
{
    return {{device + "/in_accel_x_raw", x}, {device + "/in_accel_y_raw", y}, {device + "/in_accel_z_raw", z}};
}

QVariantMap With(QVariantMap files, const QVariantMap& more)
{
    files.insert(more);
    return files;
}

bool Lay(const QString& root, const QVariantMap& files)
{
    for (auto file = files.begin(); file != files.end(); ++file) {
        const QString device = file.key().section('/', 0, 0);
        const QString attribute = file.key().section('/', 1);
        if (!FakeIioDevice(root, device).Write(attribute, file.value().toByteArray()))
            return false;
    }
    return true;
}

} // namespace

// Fake devices in a temporary folder stand for /sys/bus/iio/devices. The
// machine's own sensor plugins stay loaded: Qt's generic plugin is the one
// that computes the rotation sensor from an accelerometer.
class IioAccelerometerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void readings_data();
    void readings();
    void faultsInAShowKeepTheLastReading_data();
    void faultsInAShowKeepTheLastReading();
    void preference_data();
    void preference();
};

void IioAccelerometerTest::initTestCase()
{
    // Qt's linuxsys plugin offers an accelerometer only where this names a file.
    qunsetenv("QT_ACCEL_FILEPATH");
}

void IioAccelerometerTest::cleanup()
{
    ForgetOurSensorBackEnds();
}

void IioAccelerometerTest::readings_data()
{
    QTest::addColumn<QVariantMap>("files");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QVector3D>("acceleration");
    QTest::addColumn<int>("errorLines");

    const QString device0 = "iio:device0";
    const QVariantMap level = Accelerometer(device0, "0", "512", "-1024");
    QTest::newRow("shared scale") << With(level, {{device0 + "/in_accel_scale", "0.009576806"}}) << device0
                                  << QVector3D(0, 4.903325f, -9.806649f) << 0;
    QTest::newRow("scale and offset per axis before the shared ones")
        << With(Accelerometer(device0, "20", "50", "10"),
                {{device0 + "/in_accel_scale", "3"}, {device0 + "/in_accel_x_scale", "0.5"},
                 {device0 + "/in_accel_y_scale", "0.25"}, {device0 + "/in_accel_z_scale", "2"},
                 {device0 + "/in_accel_offset", "-10"}, {device0 + "/in_accel_z_offset", "-4"}})
        << device0 << QVector3D(5, 10, 12) << 0;
    const QVariantMap chip = With(Accelerometer(device0, "100", "200", "-300"), {{device0 + "/in_accel_scale", "0.01"}});
    QTest::newRow("mount matrix of the channel")
        << With(chip, {{device0 + "/in_accel_mount_matrix", "0, 1, 0; -1, 0, 0; 0, 0, 1"}}) << device0
        << QVector3D(2, -1, -3) << 0;
    QTest::newRow("mount matrix of the device")
        << With(chip, {{device0 + "/mount_matrix", "-1, 0, 0; 0, 1, 0; 0, 0, -1"}}) << device0
        << QVector3D(-1, 2, 3) << 0;
    QTest::newRow("malformed raw value") << With(chip, {{device0 + "/in_accel_y_raw", "2OO"}}) << QString()
                                         << QVector3D() << 1;
    QTest::newRow("malformed scale") << With(chip, {{device0 + "/in_accel_scale", "0,0095"}}) << QString()
                                     << QVector3D() << 1;
    QTest::newRow("scale of 0") << With(chip, {{device0 + "/in_accel_scale", "0.000000000"}}) << QString()
                                << QVector3D() << 1;
    QTest::newRow("mount matrix not 3x3") << With(chip, {{device0 + "/in_accel_mount_matrix", "1, 0; 0, 1"}})
                                          << QString() << QVector3D() << 1;
    QTest::newRow("unreadable raw value") << With(chip, {{device0 + "/in_accel_z_raw", QByteArray()}}) << QString()
                                          << QVector3D() << 1;
    QTest::newRow("a light sensor is no accelerometer") << QVariantMap{{device0 + "/in_illuminance_raw", "40"}}
                                                        << QString() << QVector3D() << 0;
    QTest::newRow("a broken device gives way to the next")
        << With(With(chip, {{device0 + "/in_accel_scale", "0"}}), Accelerometer("iio:device1", "0", "0", "981"))
        << "iio:device1" << QVector3D(0, 0, 981) << 1;
    QTest::newRow("the lid's before the base's")
        << With(With(chip, {{device0 + "/label", "accel-base"}}), Accelerometer("iio:device3", "0", "0", "981"))
        << "iio:device3" << QVector3D(0, 0, 981) << 0;
}

void IioAccelerometerTest::readings()
{
    QFETCH(QVariantMap, files);
    QFETCH(QString, chosen);
    QFETCH(QVector3D, acceleration);
    QFETCH(int, errorLines);

    QTemporaryDir root;
    QVERIFY(Lay(root.path(), files));
    CoutCapture errors(std::cerr);
    std::optional<IioAccelerometer> device = IioAccelerometer::Open(root.path());
    QCOMPARE(device.has_value(), !chosen.isEmpty());
    if (device) {
        QCOMPARE(device->Folder(), QDir(root.path()).filePath(chosen));
        QVERIFY2(Near(device->Acceleration(), acceleration),
                 qPrintable(QStringLiteral("(%1, %2, %3)").arg(device->Acceleration().x())
                                .arg(device->Acceleration().y()).arg(device->Acceleration().z())));
    }
    // A second look at the same devices tells nothing new.
    IioAccelerometer::Open(root.path());
    QCOMPARE(Lines(errors.Text()), errorLines);
}

void IioAccelerometerTest::faultsInAShowKeepTheLastReading_data()
{
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("the device goes away") << QString() << QByteArray();
    QTest::newRow("a raw value turns malformed") << "in_accel_x_raw" << QByteArray("1e9999");
    QTest::newRow("a raw value turns unreadable") << "in_accel_y_raw" << QByteArray();
}

void IioAccelerometerTest::faultsInAShowKeepTheLastReading()
{
    QFETCH(QString, attribute);
    QFETCH(QByteArray, text);

    QTemporaryDir root;
    const FakeIioDevice fake(root.path());
    const QVector3D held = resting_acceleration(QVector3D(60, 10, 0));
    QVERIFY(fake.Hold(held));
    std::optional<IioAccelerometer> device = IioAccelerometer::Open(root.path());
    QVERIFY(device);
    const QVector3D before = device->Acceleration();
    QVERIFY(Near(before, held));

    CoutCapture errors(std::cerr);
    if (attribute.isEmpty())
        QVERIFY(QDir(fake.folder).removeRecursively());
    else
        QVERIFY(fake.Write(attribute, text));
    for (int sample = 0; sample < 5; ++sample) {
        QVERIFY(!device->Sample());
        QCOMPARE(device->Acceleration(), before);
    }
    QCOMPARE(Lines(errors.Text()), 1);

    // Once the device reads again, so do its readings.
    QVERIFY(fake.Hold(-held));
    QVERIFY(device->Sample());
    QVERIFY(Near(device->Acceleration(), -held));
}

void IioAccelerometerTest::preference_data()
{
    QTest::addColumn<bool>("systemSensors");
    QTest::addColumn<bool>("systemAccelerometerStarts");
    QTest::addColumn<QByteArray>("scale");
    QTest::addColumn<QByteArray>("accelerometer");
    QTest::addColumn<QByteArray>("rotationSensor");

    const QByteArray scripted = ScriptedAttitude::identifier;
    const QByteArray kernel = IioAccelerometerBackend::identifier;
    const QByteArray pointer = PointerAttitudeBackend::identifier;
    const QByteArray typical = QByteArray::number(FakeIioDevice::typicalScale, 'f', 9);
    QTest::newRow("a system accelerometer that starts comes first") << true << true << typical << scripted << scripted;
    QTest::newRow("one that does not start gives way to the device") << true << false << typical << kernel
                                                                      << scripted;
    QTest::newRow("no system sensors: the device, and Qt's rotation from it")
        << false << false << typical << kernel << QByteArray("generic.rotation");
    QTest::newRow("no device: the pointer") << false << false << QByteArray() << pointer << pointer;
    QTest::newRow("an unusable device: the pointer") << false << false << QByteArray("0") << pointer << pointer;
}

void IioAccelerometerTest::preference()
{
    QFETCH(bool, systemSensors);
    QFETCH(bool, systemAccelerometerStarts);
    QFETCH(QByteArray, scale);
    QFETCH(QByteArray, accelerometer);
    QFETCH(QByteArray, rotationSensor);

    if (systemSensors) {
        ScriptedAttitude::Install();
        ScriptedAttitude::SetStartRefused(QAccelerometer::type, !systemAccelerometerStarts);
    }
    QTemporaryDir root;
    const FakeIioDevice device(root.path());
    const QVector3D tilt(60, 10, 0);
    if (!scale.isNull()) {
        QVERIFY(device.Hold(resting_acceleration(tilt)));
        QVERIFY(device.Write("in_accel_scale", scale));
    }
    CoutCapture errors(std::cerr);
    InstallStandIns(root.path());

    QCOMPARE(QSensor::defaultSensorForType(QAccelerometer::type), accelerometer);
    QCOMPARE(QSensor::defaultSensorForType(QRotationSensor::type), rotationSensor);
    const bool pointerInstalled =
        QSensorManager::isBackendRegistered(QAccelerometer::type, PointerAttitudeBackend::identifier)
        || QSensorManager::isBackendRegistered(QRotationSensor::type, PointerAttitudeBackend::identifier);
    QCOMPARE(pointerInstalled, accelerometer == PointerAttitudeBackend::identifier);

    QAccelerometer accelerometerSensor;
    QRotationSensor rotation;
    QVERIFY(accelerometerSensor.start());
    QVERIFY(rotation.start());
    if (accelerometer == IioAccelerometerBackend::identifier) {
        const QAccelerometerReading* reading = accelerometerSensor.reading();
        QVERIFY(Near(QVector3D(reading->x(), reading->y(), reading->z()), resting_acceleration(tilt)));
    }
    if (rotationSensor == "generic.rotation") {
        // Qt takes the pitch from gravity as the pointer stand-in does; its
        // roll leans the same way, by less.
        QVERIFY(qAbs(rotation.reading()->x() - tilt.x()) < 0.1f);
        QVERIFY(rotation.reading()->y() > 0.0f && rotation.reading()->y() < tilt.y());
    }
    // However many sensors looked at it, an unusable device is told of once.
    QCOMPARE(Lines(errors.Text()), scale == "0" ? 1 : 0);
}

QTEST_MAIN(IioAccelerometerTest)
#include "tst_iioaccelerometer.moc"
