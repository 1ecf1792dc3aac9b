#include "show/timeline.h"

#include <cmath>

namespace {

constexpr int kTicksPerScene = 60;
constexpr int kLastShuffleTick = 1497;
constexpr int kRadioOffTick = 1498;
constexpr int kQuitTick = 1500;
constexpr qint64 kLongestShowMs = 155000;

// One step above the float nearest to 0.7: the mix while the signal is strong.
constexpr float kStrongSignalBase = 0.70000005f;

}

TickPlan PlanTick(int tick, bool radioEnabled)
{
    TickPlan plan;
    if (radioEnabled && tick != 0) {
        plan.shuffle = tick <= kLastShuffleTick && tick % kTicksPerScene == 0;
        plan.radioOff = tick == kRadioOffTick;
    }
    plan.quit = tick == kQuitTick;
    return plan;
}

bool ClockEndsShow(qint64 showMs)
{
    return showMs > kLongestShowMs;
}

FramePlan PlanWaitingFrame()
{
    return {kWaitingPicture, 0.0f, 0.0f, 0.0f, false};
}

FramePlan PlanRunningFrame(int sceneIndex, int noise, int superNoise, float showMs)
{
    const float base = noise <= 1 ? 1.0f + float(noise) * -0.01f : kStrongSignalBase;
    const float flag = float(superNoise);
    const int slot = sceneIndex % 6;

    if (sceneIndex == 0)
        return {kWaitingPicture, 0.0f, 0.3f, flag, false};
    if (slot == 5)
        return {5, showMs * 290.0f, base * 0.6f, flag, true};
    if (flag > 0.5f)
        return {slot, showMs * 280.0f, base, flag, true};
    if (sceneIndex % 3 == 0)
        return {slot, showMs * -200.0f, base, flag, true};
    return {slot, 0.0f, base, flag, true};
}

float AdvancePhase(float phase, float dt)
{
    phase = phase + dt / 0.44f;
    // The same result as subtracting 1 while above 1 (each subtraction is exact
    // below 2^24), without looping for ever after a stall of hours.
    if (phase > 1.0f) {
        phase = std::fmod(phase, 1.0f);
        if (phase == 0.0f)
            phase = 1.0f;
    }
    return phase;
}

float PulseScale(float phase)
{
    return 1.75f + phase * -0.3f;
}

std::string StatisticsLine(qint64 elapsedMs, int frameCount)
{
    // Both numbers share the divisor e + 1, so a reading of 0 ms cannot divide by zero.
    // 64-bit arithmetic gives the 32-bit results wherever those do not overflow.
    const qint64 divisor = elapsedMs + 1;
    return "time elapsed: " + std::to_string(divisor / 1000) + ", fps: "
        + std::to_string(qint64(frameCount) * 1000 / divisor) + "\n";
}
