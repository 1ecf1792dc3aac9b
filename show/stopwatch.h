#ifndef STOPWATCH_H
#define STOPWATCH_H

#include <QtGlobal>

class TimeSource;

// Milliseconds since Start() on a TimeSource; reads 0 before it was started.
class Stopwatch
{
public:
    explicit Stopwatch(const TimeSource& source);

    void SetSource(const TimeSource& source);
    void Start();
    // Milliseconds since the last start, then starts again from now.
    qint64 Restart();
    qint64 Elapsed() const;
    bool IsStarted() const { return started; }

private:
    const TimeSource* source;
    qint64 startMs;
    bool started;
};

#endif
