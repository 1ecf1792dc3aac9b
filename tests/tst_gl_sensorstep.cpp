#include "platform/sensors/scripted/scriptedattitude.h"
#include "sensing/camera.h"
#include "show/demowidget.h"
#include "support/showundertest.h"

#include <QtTest>

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

QTEST_MAIN(SensorStepTest)
#include "tst_gl_sensorstep.moc"
