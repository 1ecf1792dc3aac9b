#include "tools/capture/capturesession.h"

#include "platform/sensors/scripted/scriptedattitude.h"
#include "platform/tuner/standin/standintuner.h"
#include "platform/tuner/standin/standintunercontrol.h"
#include "show/demowidget.h"
#include "signal/samplesource.h"
#include "tools/capture/framesink.h"
#include "tools/capture/soundsink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QOpenGLContext>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

const int mapTimeoutMs = 20000;
const int progressWidth = 40;
const int framesPerInstant = SampleSource::sampleRate * CaptureOptions::frameMs / 1000;

}

CaptureSession::CaptureSession(const CaptureOptions& options, const SensorScript& script, FrameSink* frames,
                               SoundSink* sound)
    : options(options), script(script), frames(frames), sound(sound)
{
}

CaptureSession::~CaptureSession()
{
    SetStandInControlFactory({});
}

void CaptureSession::PrepareEnvironment()
{
    qputenv("QT_MULTIMEDIA_PREFERRED_PLUGINS", "standintuner");
    qputenv("QT_QPA_PLATFORM", "xcb");
}

bool CaptureSession::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget.get() && event->type() == QEvent::Paint)
        return true;
    return QObject::eventFilter(watched, event);
}

bool CaptureSession::ShowWidget(QString* error)
{
    widget->installEventFilter(this);
    widget->setWindowTitle(QStringLiteral("radioshow-capture"));
    widget->setFixedSize(options.size);
    widget->show();
    QElapsedTimer waited;
    waited.start();
    while (!widget->testAttribute(Qt::WA_Mapped)) {
        if (waited.elapsed() > mapTimeoutMs) {
            *error = QStringLiteral("the window system did not show the window within %1 s").arg(mapTimeoutMs / 1000);
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    if (!widget->isValid()) {
        *error = QStringLiteral("no GL context on this display");
        return false;
    }
    if (widget->size() != options.size) {
        *error = QStringLiteral("the window system made the view %1x%2, not %3x%4")
                     .arg(widget->width())
                     .arg(widget->height())
                     .arg(options.size.width())
                     .arg(options.size.height());
        return false;
    }
    return true;
}

void CaptureSession::SetSensors(qint64 showMs)
{
    const SensorScript::Attitude attitude = script.At(showMs);
    ScriptedAttitude::SetAcceleration(attitude.acceleration);
    ScriptedAttitude::SetRotation(attitude.rotation);
}

QImage CaptureSession::ReadFrame()
{
    const int width = options.size.width();
    const int height = options.size.height();
    widget->makeCurrent();
    // Mesa's window buffers keep the back buffer's content through a swap,
    // and the back buffer, unlike the window on screen, is never clipped or
    // covered by other windows. OpenGL ES reads the back buffer already, and
    // ES 2.0 has no glReadBuffer.
    if (!QOpenGLContext::currentContext()->isOpenGLES())
        glReadBuffer(GL_BACK);
    // RGBA bytes are the one read every OpenGL ES version accepts.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    QByteArray pixels(width * height * 4, Qt::Uninitialized);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    QImage frame(width, height, QImage::Format_RGB888);
    // GL's rows run bottom up.
    for (int row = 0; row < height; ++row) {
        const char* from = pixels.constData() + qsizetype(height - 1 - row) * width * 4;
        uchar* to = frame.scanLine(row);
        for (int column = 0; column < width; ++column)
            std::memcpy(to + 3 * column, from + 4 * column, 3);
    }
    return frame;
}

bool CaptureSession::WriteSound(QString* error)
{
    std::vector<float> block(size_t(framesPerInstant) * SampleSource::channels, 0.0f);
    if (tunerControl)
        tunerControl->RenderSound(block.data(), framesPerInstant);
    return sound->Write(block.data(), framesPerInstant, error);
}

void CaptureSession::ShowProgress(int written, int total)
{
    if (!isatty(STDERR_FILENO) || total <= 0)
        return;
    const int percent = written * 100 / total;
    if (percent == shownPercent)
        return;
    shownPercent = percent;
    const int filled = written * progressWidth / total;
    std::fprintf(stderr, "\r[%s%s] %3d%% %d/%d frames", QByteArray(filled, '#').constData(),
                 QByteArray(progressWidth - filled, ' ').constData(), percent, written, total);
    if (written == total)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool CaptureSession::Run(QString* error)
{
    ScriptedAttitude::Install();
    InstallStandInTuner();
    SetStandInControlFactory([this](QObject* parent) {
        StandInTunerControl* control = new StandInTunerControl(parent, StandInTunerControl::Pacing::Caller);
        tunerControl = control;
        return control;
    });
    SetSensors(-options.pressAtMs);
    if ((frames && !frames->Open(error)) || (sound && !sound->Open(error)))
        return false;

    clock.Set(0);
    widget.reset(new DemoWidget(nullptr));
    widget->SetTimeSource(clock);
    connect(widget.get(), &DemoWidget::Quit, this, [this] { quitEmitted = true; });
    if (!ShowWidget(error))
        return false;

    const qint64 frameStepMs = qint64(CaptureOptions::frameMs);
    const qint64 firstMs = std::max(options.fromMs, frameStepMs - options.pressAtMs);
    const int instants = firstMs < options.toMs ? int((options.toMs - firstMs - 1) / frameStepMs + 1) : 0;
    const int total = frames ? (instants + options.every - 1) / options.every : instants;
    int inRange = 0;
    int written = 0;
    ShowProgress(0, total);
    for (qint64 now = 0; now - options.pressAtMs < options.toMs; now += frameStepMs) {
        const qint64 showMs = now - options.pressAtMs;
        clock.Set(now);
        SetSensors(showMs);
        if (showMs == 0)
            widget->SetReady(1, true);
        if (now > 0 && now % CaptureOptions::serviceMs == 0) {
            widget->Service();
            if (quitEmitted)
                break;
        }
        if (showMs > 0 && showMs % StandInTunerControl::reportIntervalMs == 0 && tunerControl)
            tunerControl->ReportNow();
        if (now == 0)
            continue;
        if (frames)
            widget->updateGL();
        if (showMs < options.fromMs)
            continue;
        if (sound && !WriteSound(error))
            return false;
        if (!frames) {
            ShowProgress(++written, total);
            continue;
        }
        if (inRange++ % options.every != 0)
            continue;
        if (!frames->Write(ReadFrame(), error))
            return false;
        ShowProgress(++written, total);
    }
    widget.reset();
    return (!sound || sound->Close(error)) && (!frames || frames->Close(error));
}
