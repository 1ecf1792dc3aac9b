#include "show/demowidget.h"

#include "audio/radio.h"
#include "scenes/linescene.h"
#include "scenes/picflap.h"
#include "sensing/camera.h"
#include "sensing/sensorarray.h"
#include "show/timeline.h"
#include "show/timesource.h"

#include <QImage>
#include <QMatrix4x4>
#include <QPainter>

#include <iostream>

namespace {

const char* const kPictures[7] = {
    ":/bkg1a.png", ":/bkg2a.png", ":/bkg3a.png", ":/bkg4a.png",
    ":/bkg5a.png", ":/bkg_spiral.png", ":/bkg_dude.png",
};

}

GLuint UploadPicture(QGLWidget& widget, const QString& path)
{
    const QImage image(path);
    if (image.isNull())
        return 0;
    return widget.bindTexture(image, GL_TEXTURE_2D, GL_RGBA);
}

DemoWidget::DemoWidget(QWidget* parent)
    : QGLWidget(parent),
      started(false),
      followSensors(false),
      radioEnabled(true),
      sensors(nullptr),
      radio(nullptr),
      camera(nullptr),
      lineScene(nullptr),
      picFlap(nullptr),
      textures{},
      tickCount(0),
      sceneIndex(0),
      phase(0.0f),
      frameCount(0),
      frameClock(SteadyTimeSource()),
      showClock(SteadyTimeSource())
{
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    // The GL window hangs straight off the top-level window. On Wayland a
    // native ancestor in between would be a surface without a buffer of its
    // own, and the compositor never shows what hangs off such a surface.
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAutoBufferSwap(false);
    setMinimumSize(300, 250);

    sensors = new SensorArray;
    sensors->Activate();
    radio = new Radio;
    camera = new Camera;
    camera->SetLimits(-60, 8, -22, 22);
    lineScene = new LineScene;
    picFlap = new PicFlap;
}

DemoWidget::~DemoWidget()
{
    if (started)
        std::cout << StatisticsLine(showClock.Elapsed(), frameCount) << std::flush;
    if (radioEnabled)
        radio->ForceOff();
    delete picFlap;
    delete lineScene;
    delete camera;
    delete radio;
    delete sensors;
}

void DemoWidget::SetTimeSource(const TimeSource& source)
{
    frameClock.SetSource(source);
    showClock.SetSource(source);
}

void DemoWidget::initializeGL()
{
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glGenTextures(8, textures);
    for (int entry = 0; entry < 7; ++entry)
        textures[entry] = UploadPicture(*this, QString::fromLatin1(kPictures[entry]));

    lineScene->HeavyLoad();
    picFlap->HeavyLoad();

    // Acts on the texture bound last: the waiting picture.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);

    frameClock.Start();
    std::cout << "loaded everything: waiting for user action\n" << std::flush;
}

void DemoWidget::resizeGL(int width, int height)
{
    // The toolkit keeps the viewport of the first size; the view must cover
    // the whole widget at any size.
    glViewport(0, 0, width, height);
}

void DemoWidget::SetReady(int mode, bool radioOn)
{
    followSensors = mode == 1;
    radioEnabled = radioOn;
    if (radioOn)
        radio->Switch(true);
    started = true;
    showClock.Start();
    frameCount = 0;
}

void DemoWidget::Service()
{
    if (!started)
        return;
    const int tick = tickCount;
    const TickPlan plan = PlanTick(tick, radioEnabled);
    if (plan.shuffle) {
        sceneIndex += 1;
        radio->Shuffle();
    }
    if (plan.radioOff)
        radio->Switch(false);
    if (plan.quit || ClockEndsShow(showClock.Elapsed()))
        emit Quit();
    tickCount += 1;
}

void DemoWidget::paintGL()
{
    frameCount += 1;
    const float showMs = float(showClock.Elapsed());
    const float dt = float(frameClock.Restart()) * 0.001f;
    phase = AdvancePhase(phase, dt);

    QPainter painter;
    painter.begin(this);
    painter.beginNativePainting();

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);

    if ((!started || followSensors) && frameCount % 2 == 0) {
        sensors->UpdateReadings();
        camera->UpdateFromReadings(*sensors, dt);
    }
    QMatrix4x4 matrix;
    camera->Apply(matrix);

    FramePlan plan;
    if (!started) {
        phase = kWaitingPhase;
        plan = PlanWaitingFrame();
    } else {
        const int noise = radio->GetNoise();
        const int superNoise = radio->GetSuperNoise();
        plan = PlanRunningFrame(sceneIndex, noise, superNoise, showMs);
    }

    picFlap->Paint(textures[plan.picture], PulseScale(phase), plan.angle, plan.mix,
                   plan.flag, phase, showMs);
    if (plan.drawLines) {
        lineScene->Update(dt);
        lineScene->Paint(matrix, plan.mix, showMs, phase, unsigned(sceneIndex));
    }

    painter.endNativePainting();
    painter.end();
    swapBuffers();
}
