#include "signal/peaklimiter.h"

#include <algorithm>
#include <cmath>

void PeakLimiter::Apply(float& left, float& right)
{
    const float peak = std::max(std::fabs(left), std::fabs(right)) * gain;
    if (peak > ceiling)
        gain *= ceiling / peak;
    else
        gain += (1.0f - gain) * release;
    left *= gain;
    right *= gain;
}
