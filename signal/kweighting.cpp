#include "signal/kweighting.h"

#include <algorithm>
#include <cmath>

double KWeighting::Biquad::Next(double x)
{
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    // Through a pause the state would decay into the denormals, where
    // arithmetic is many times slower: it ends at 0 instead.
    if (std::fabs(y) < 1.0e-30)
        y = 0.0;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

float KWeighting::Next(float x)
{
    return float(highPass.Next(shelf.Next(x)));
}

double KWeighting::Lufs(double weightedPower)
{
    return -0.691 + 10.0 * std::log10(std::max(weightedPower, 1.0e-30));
}

double KWeighting::Power(double lufs)
{
    return std::pow(10.0, (lufs + 0.691) / 10.0);
}
