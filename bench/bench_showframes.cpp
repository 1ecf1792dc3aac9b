// The floor of the show's frame rate: the show's own window, full screen,
// draws and swaps the show's frames back to back with nothing else running,
// no frame timer, no radio and no sound. Ten frames to a service tick walk
// the timeline as the show does. bench/showfps prints the show's own rate
// beside it. Needs a display: run it under tests/with-display.

#include "app/mainwindow.h"
#include "show/demowidget.h"

#include <QApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

QApplication* application = nullptr;

void BM_ShowFrames(benchmark::State& state)
{
    MainWindow window;
    for (QTimer* timer : window.findChildren<QTimer*>())
        timer->stop();
    window.showFullScreen();
    for (int i = 0; i < 50; ++i)
        application->processEvents();
    DemoWidget& show = *window.Show();
    window.ready();
    show.SetReady(1, false);
    int frames = 0;
    for (auto _ : state) {
        show.updateGL();
        if (++frames % 10 == 0)
            show.Service();
    }
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    state.counters["scenes"] = show.SceneIndex() + 1;
}
// Three thousand frames are thirty seconds of the show's timeline: six scenes.
BENCHMARK(BM_ShowFrames)->Iterations(3000)->Unit(benchmark::kMillisecond)->UseRealTime();

}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    application = &app;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
