#ifndef TIMESOURCE_H
#define TIMESOURCE_H

#include <QtGlobal>

// Where the show's clocks take their time from, in milliseconds. The real
// source is monotonic, so a change of the wall clock neither ends nor
// stretches the show; tests and the capture tool give a virtual one.
class TimeSource
{
public:
    virtual ~TimeSource() = default;
    virtual qint64 NowMs() const = 0;
};

// The process-wide monotonic source.
const TimeSource& SteadyTimeSource();

#endif
