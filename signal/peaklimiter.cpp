#include "signal/peaklimiter.h"

#include <algorithm>
#include <cmath>

void PeakLimiter::Apply(float& left, float& right)
{
    // Recover first, then hold to the ceiling with the gain actually used:
    // a gain that recovers after the check would let the next peak through.
    gain += (1.0f - gain) * release;
    const float peak = std::max(std::fabs(left), std::fabs(right));
    if (peak * gain > ceiling)
        gain = ceiling / peak;
    left *= gain;
    right *= gain;
}
