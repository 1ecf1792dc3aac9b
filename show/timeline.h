#ifndef TIMELINE_H
#define TIMELINE_H

#include <QtGlobal>

#include <string>

// The show's decisions as plain functions, so that they can be checked
// without GL and without waiting for real time. The show widget calls them.

// What one service tick of the running show does besides counting itself.
struct TickPlan
{
    bool shuffle = false;   // next scene, next station
    bool radioOff = false;
    bool quit = false;      // the last tick: quit without reading the clock
};

TickPlan PlanTick(int tick, bool radioEnabled);
// A show clock past this ends the show on any tick.
bool ClockEndsShow(qint64 showMs);

// What one frame draws.
struct FramePlan
{
    int picture;     // entry of the texture table
    float angle;     // degrees
    float mix;       // the flap's noise mix and the lines' spread
    float flag;      // the station's flag, passed through to the flap
    bool drawLines;
};

// The picture of the waiting screen, and of the first scene.
constexpr int kWaitingPicture = 6;
// Stored into the phase on every waiting frame.
constexpr float kWaitingPhase = 1.1f;

FramePlan PlanWaitingFrame();
FramePlan PlanRunningFrame(int sceneIndex, int noise, int superNoise, float showMs);

// The pulse phase moved on by dt seconds, wrapped into (0, 1].
float AdvancePhase(float phase, float dt);
// The flap's size for a pulse phase: 1.42 to 1.75.
float PulseScale(float phase);

// The closing statistics line, newline included.
std::string StatisticsLine(qint64 elapsedMs, int frameCount);

#endif
