#include "sensing/camera.h"

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

void Camera::UpdateFromReadings(SensorArray const&, float)
{
}

void Camera::Apply(QMatrix4x4&) const
{
}
