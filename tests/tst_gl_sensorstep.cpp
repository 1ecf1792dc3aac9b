#include "platform/sensors/pointer/pointerattitude.h"
#include "platform/sensors/pointer/pointerattitudebackend.h"
#include "platform/sensors/scripted/scriptedattitude.h"
#include "platform/standins.h"
#include "sensing/camera.h"
#include "show/demowidget.h"
#include "support/coutcapture.h"
#include "support/fakeiiodevice.h"
#include "support/sensorbackends.h"
#include "support/showundertest.h"

#include <QAccelerometer>
#include <QRotationSensor>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

int qInitResources_texture();

// The show samples the sensors on every second frame only: while waiting, and
// after a start in mode 1. These tests watch the camera move to tell.
class SensorStepTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void evenFramesTakeTheSensorStep_data();
    void evenFramesTakeTheSensorStep();
    void modeZeroFreezesTheCamera();
    // Last: it replaces the scripted sensors with those the show installs.
    void theCameraFollowsTheKernelsAccelerometer_data();
    void theCameraFollowsTheKernelsAccelerometer();

private:
    // Draws one frame 10 ms later; true when the camera moved in it.
    bool FrameMovedTheCamera();

    std::unique_ptr<ShowUnderTest> show;
};

void SensorStepTest::initTestCase()
{
    qInitResources_texture();
    ScriptedAttitude::Install();
    // Far from the camera's rest: every sampled frame moves it.
    ScriptedAttitude::SetRotation(QVector3D(60, 10, 0));
}

void SensorStepTest::init()
{
    show = std::make_unique<ShowUnderTest>(QSize(160, 100));
}

void SensorStepTest::cleanup()
{
    show.reset();
}

bool SensorStepTest::FrameMovedTheCamera()
{
    const Camera& camera = *show->widget->ViewCamera();
    const float pitch = camera.Pitch();
    const float roll = camera.Roll();
    show->Frames(1);
    return camera.Pitch() != pitch || camera.Roll() != roll;
}

void SensorStepTest::evenFramesTakeTheSensorStep_data()
{
    QTest::addColumn<bool>("started");
    QTest::newRow("waiting") << false;
    QTest::newRow("after a start in mode 1") << true;
}

void SensorStepTest::evenFramesTakeTheSensorStep()
{
    QFETCH(bool, started);
    if (started)
        show->widget->SetReady(1, false);
    const int first = show->widget->FrameCount() + 1;
    if (started)
        QCOMPARE(first, 1);
    for (int frame = first; frame < first + 8; ++frame) {
        const bool moved = FrameMovedTheCamera();
        QCOMPARE(show->widget->FrameCount(), frame);
        QVERIFY2(moved == (frame % 2 == 0), qPrintable(QString("frame %1").arg(frame)));
    }
}

void SensorStepTest::modeZeroFreezesTheCamera()
{
    for (int frame = 0; frame < 4; ++frame)
        FrameMovedTheCamera();
    show->widget->SetReady(0, false);
    for (int frame = 1; frame <= 8; ++frame)
        QVERIFY2(!FrameMovedTheCamera(), qPrintable(QString("frame %1").arg(frame)));
}

void SensorStepTest::theCameraFollowsTheKernelsAccelerometer_data()
{
    QTest::addColumn<bool>("device");
    QTest::newRow("a tilting device") << true;
    QTest::newRow("no device: the pointer stands in") << false;
}

void SensorStepTest::theCameraFollowsTheKernelsAccelerometer()
{
    QFETCH(bool, device);

    show.reset();
    ForgetOurSensorBackEnds();
    qunsetenv("QT_ACCEL_FILEPATH");
    QTemporaryDir root;
    const FakeIioDevice fake(root.path());
    if (device)
        QVERIFY(fake.Hold(resting_acceleration(QVector3D(60, 15, 0))));
    InstallStandIns(root.path());
    for (const QByteArray type : {QAccelerometer::type, QRotationSensor::type})
        QCOMPARE(QSensor::defaultSensorForType(type) == PointerAttitudeBackend::identifier, !device);

    CoutCapture output;
    show = std::make_unique<ShowUnderTest>(QSize(160, 100));
    QVERIFY2(output.Text().find("failure") == std::string::npos, output.Text().c_str());
    if (!device)
        return;

    // Held 60 degrees up, the device sets the pitch chasing 60 - 90; rolled
    // to one side and then the other, it leans the camera after it.
    const Camera& camera = *show->widget->ViewCamera();
    const auto leansTo = [&](float side) {
        show->Frames(20);
        return std::fabs(camera.Pitch() + 30.0f) < 3.0f && camera.Roll() * side > 3.0f;
    };
    QTRY_VERIFY(leansTo(1.0f));
    QVERIFY(fake.Hold(resting_acceleration(QVector3D(60, -15, 0))));
    QTRY_VERIFY(leansTo(-1.0f));
}

QTEST_MAIN(SensorStepTest)
#include "tst_gl_sensorstep.moc"
