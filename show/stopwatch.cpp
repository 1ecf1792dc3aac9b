#include "show/stopwatch.h"

#include "show/timesource.h"

#include <QElapsedTimer>

namespace {

class SteadySource final : public TimeSource
{
public:
    SteadySource() { origin.start(); }
    qint64 NowMs() const override { return origin.elapsed(); }

private:
    QElapsedTimer origin;
};

}

const TimeSource& SteadyTimeSource()
{
    static const SteadySource source;
    return source;
}

Stopwatch::Stopwatch(const TimeSource& source)
    : source(&source), startMs(0), started(false)
{
}

void Stopwatch::SetSource(const TimeSource& newSource)
{
    source = &newSource;
    started = false;
}

void Stopwatch::Start()
{
    startMs = source->NowMs();
    started = true;
}

qint64 Stopwatch::Restart()
{
    const qint64 now = source->NowMs();
    const qint64 elapsed = started ? now - startMs : 0;
    startMs = now;
    started = true;
    return elapsed;
}

qint64 Stopwatch::Elapsed() const
{
    return started ? source->NowMs() - startMs : 0;
}
