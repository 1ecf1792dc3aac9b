#ifndef FAKECLOCK_H
#define FAKECLOCK_H

#include "show/timesource.h"

// A virtual clock that moves only when told, and counts how often it was read.
class FakeClock : public TimeSource
{
public:
    qint64 NowMs() const override
    {
        ++reads;
        return now;
    }

    qint64 now = 0;
    mutable int reads = 0;
};

#endif
