#include "sensing/sensorarray.h"

SensorArray::SensorArray()
    : active(false), accelerometer(nullptr), rotationSensor(nullptr)
{
}

SensorArray::~SensorArray() = default;

bool SensorArray::Activate()
{
    return false;
}

void SensorArray::UpdateReadings()
{
}
