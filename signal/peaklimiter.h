#ifndef PEAKLIMITER_H
#define PEAKLIMITER_H

// Keeps stereo peaks at or under a ceiling: a peak above it lowers the gain
// at once, and the gain recovers toward 1 by a share of the way each frame.
class PeakLimiter
{
public:
    PeakLimiter(float ceiling, float release) : ceiling(ceiling), release(release) {}

    void Apply(float& left, float& right);

private:
    float ceiling;
    float release;
    float gain = 1.0f;
};

#endif
