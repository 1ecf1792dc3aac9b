#ifndef VIRTUALCLOCK_H
#define VIRTUALCLOCK_H

#include "show/timesource.h"

// The capture's time: it stands still between frames and moves only when the
// capture loop sets it, so every run sees the same instants.
class VirtualClock : public TimeSource
{
public:
    qint64 NowMs() const override { return nowMs; }
    void Set(qint64 ms) { nowMs = ms; }

private:
    qint64 nowMs = 0;
};

#endif
