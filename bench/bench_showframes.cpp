// The floor of the show's frame rate: the show's own window, full screen,
// draws and swaps the show's frames with nothing else running: the stand-in
// tuner reports its strengths as in the show, which steer the picture, but
// makes no sound, and no service timer runs. Two frames to a service tick
// walk the whole timeline, every scene for as many frames as the next, as
// in the show. paced:0 draws back to back, what the
// renderer can do; paced:1 draws on the window's own 10 ms frame timer, the
// most the show can do. bench/showfps prints the show's own rate beside
// them. Needs a display: run it under tests/with-display. The show widget's
// own statistics line comes out as well, when the window goes.

#include "app/mainwindow.h"
#include "platform/tuner/standin/standintuner.h"
#include "platform/tuner/standin/standintunercontrol.h"
#include "show/demowidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace {

QApplication* application = nullptr;

void BM_ShowFrames(benchmark::State& state)
{
    const bool paced = state.range(0) != 0;
    MainWindow window;
    for (QTimer* timer : window.findChildren<QTimer*>()) {
        if (!paced || timer->interval() != 10)
            timer->stop();
    }
    // As the program does on X, where no window manager may size the window.
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    DemoWidget& show = *window.Show();
    QElapsedTimer waited;
    waited.start();
    while (!(show.windowHandle() && show.windowHandle()->isExposed()) && waited.elapsed() < 10000)
        application->processEvents(QEventLoop::AllEvents, 100);
    if (!show.windowHandle() || !show.windowHandle()->isExposed()) {
        state.SkipWithError("the show's window was never exposed");
        return;
    }
    window.ready();
    show.SetReady(1, true);
    int frames = 0;
    if (show.Texture(0) == 0) {
        state.SkipWithError("the pictures did not load");
        return;
    }
    for (auto _ : state) {
        if (paced) {
            const int drawn = show.FrameCount();
            while (show.FrameCount() == drawn)
                application->processEvents(QEventLoop::WaitForMoreEvents);
        } else {
            show.updateGL();
        }
        if (++frames % 2 == 0)
            show.Service();
    }
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    state.counters["scenes"] = show.SceneIndex() + 1;
}
// Three thousand frames are the show's 1500 service ticks, short of the last
// one, which would end the show.
BENCHMARK(BM_ShowFrames)->ArgName("paced")->Arg(0)->Arg(1)->Iterations(3000)->Unit(benchmark::kMillisecond)->UseRealTime();

}

int qInitResources_texture();

int main(int argc, char** argv)
{
    // The pictures live in the show's library, which no one else names.
    qInitResources_texture();
    QApplication app(argc, argv);
    application = &app;
    InstallStandInTuner();
    SetStandInControlFactory([](QObject* parent) {
        return new StandInTunerControl(parent, StandInTunerControl::Pacing::Caller);
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
