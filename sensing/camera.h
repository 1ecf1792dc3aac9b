#ifndef CAMERA_H
#define CAMERA_H

#include <QMatrix4x4>
#include <QVector3D>

class SensorArray;

// Pitch and roll chase targets taken from the rotation sensor through damped
// springs, bounded by reflecting limits; Apply() turns them into the line
// scene's view-projection matrix.
class Camera
{
public:
    Camera();

    void SetLimits(float pitchMin, float pitchMax, float rollMin, float rollMax);
    void UpdateFromReadings(SensorArray const& sensors, float dt);
    void Apply(QMatrix4x4& matrix) const;

    float Pitch() const { return pitch; }
    float Roll() const { return roll; }
    float PitchSpeed() const { return pitchSpeed; }
    float RollSpeed() const { return rollSpeed; }

private:
    QVector3D eye;
    QVector3D center;
    float pitch;
    float roll;
    float pitchSpeed;
    float rollSpeed;
    float pitchMin;
    float pitchMax;
    float rollMin;
    float rollMax;
};

#endif
