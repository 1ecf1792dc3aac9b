#include "platform/standins.h"

#include "platform/sensors/iio/iioaccelerometerbackend.h"
#include "platform/sensors/pointer/pointerattitude.h"
#include "platform/tuner/sdr/sdrtuner.h"
#include "platform/tuner/standin/standintuner.h"

void InstallStandIns(const QString& iioDevices)
{
    // The pointer comes last: it takes only what neither the system nor the
    // kernel's accelerometer provides.
    IioAccelerometerBackend::Install(iioDevices);
    InstallPointerAttitudeSensors();
    InstallSdrTuner();
    InstallStandInTuner();
}
