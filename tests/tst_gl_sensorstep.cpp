#include "platform/scriptedattitude.h"
#include "sensing/camera.h"
#include "show/demowidget.h"
#include "support/fakeclock.h"

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

    FakeClock clock;
    std::unique_ptr<DemoWidget> widget;
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
    widget = std::make_unique<DemoWidget>(nullptr);
    widget->SetTimeSource(clock);
    widget->resize(160, 100);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
}

void SensorStepTest::cleanup()
{
    widget.reset();
}

bool SensorStepTest::FrameMovedTheCamera()
{
    const Camera& camera = *widget->ViewCamera();
    const float pitch = camera.Pitch();
    const float roll = camera.Roll();
    clock.now += 10;
    widget->updateGL();
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
        widget->SetReady(1, false);
    const int first = widget->FrameCount() + 1;
    if (started)
        QCOMPARE(first, 1);
    for (int frame = first; frame < first + 8; ++frame) {
        const bool moved = FrameMovedTheCamera();
        QCOMPARE(widget->FrameCount(), frame);
        QVERIFY2(moved == (frame % 2 == 0), qPrintable(QString("frame %1").arg(frame)));
    }
}

void SensorStepTest::modeZeroFreezesTheCamera()
{
    for (int frame = 0; frame < 4; ++frame)
        FrameMovedTheCamera();
    widget->SetReady(0, false);
    for (int frame = 1; frame <= 8; ++frame)
        QVERIFY2(!FrameMovedTheCamera(), qPrintable(QString("frame %1").arg(frame)));
}

QTEST_MAIN(SensorStepTest)
#include "tst_gl_sensorstep.moc"
