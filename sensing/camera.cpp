#include "sensing/camera.h"

#include "sensing/sensorarray.h"

#include <cmath>

Camera::Camera()
    : eye(0, 2, -7), center(0, 0, 0), pitch(0), roll(0), pitchSpeed(0), rollSpeed(0),
      pitchMin(-360), pitchMax(360), rollMin(-360), rollMax(360)
{
}

void Camera::SetLimits(float newPitchMin, float newPitchMax, float newRollMin, float newRollMax)
{
    pitchMin = newPitchMin;
    pitchMax = newPitchMax;
    rollMin = newRollMin;
    rollMax = newRollMax;
}

void Camera::UpdateFromReadings(SensorArray const& sensors, float dt)
{
    const QVector3D rotation = sensors.rotation;
    const float a = rotation.x();
    const float b = rotation.y();

    // Past ±90 about y the device is upside down: the targets are mirrored
    // so that the view keeps turning the same way.
    float pitchTarget;
    float rollTarget;
    if (b > 90.0f) {
        pitchTarget = 90.0f - a;
        rollTarget = 180.0f - b;
    } else if (b < -90.0f) {
        pitchTarget = 90.0f - a;
        rollTarget = -180.0f - b;
    } else {
        pitchTarget = a - 90.0f;
        rollTarget = b;
    }

    float nextPitchSpeed = (pitchSpeed + (pitchTarget - pitch) * 10.0f * dt) * 0.9f;
    float nextRollSpeed = (rollSpeed + (rollTarget - roll) * 16.0f * dt) * 0.9f;
    float nextPitch = pitch + dt * nextPitchSpeed;
    float nextRoll = roll + dt * nextRollSpeed;

    if (nextPitch < pitchMin) {
        nextPitch = pitchMin;
        nextPitchSpeed = -nextPitchSpeed;
    } else if (nextPitch > pitchMax) {
        nextPitch = pitchMax;
        nextPitchSpeed = -nextPitchSpeed;
    }
    if (nextRoll < rollMin) {
        nextRoll = rollMin;
        nextRollSpeed = -nextRollSpeed;
    } else if (nextRoll > rollMax) {
        nextRoll = rollMax;
        nextRollSpeed = -nextRollSpeed;
    }

    // One non-finite value would stay in the springs for the rest of the run:
    // a step that produces one is dropped and the camera keeps its last state.
    if (!std::isfinite(nextPitch) || !std::isfinite(nextRoll) || !std::isfinite(nextPitchSpeed)
        || !std::isfinite(nextRollSpeed))
        return;

    pitch = nextPitch;
    roll = nextRoll;
    pitchSpeed = nextPitchSpeed;
    rollSpeed = nextRollSpeed;
}

void Camera::Apply(QMatrix4x4& matrix) const
{
    matrix.perspective(62.0f, 1.67f, 0.02f, 40.0f);
    matrix.lookAt(eye, center, QVector3D(0, 1, 0));
    matrix.rotate(pitch, 1, 0, 0);
    matrix.rotate(roll, 0, 0, 1);
    matrix.translate(0, -0.2f, 0);
}
