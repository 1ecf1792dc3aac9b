#include "platform/standins.h"

#include "platform/sensors/pointer/pointerattitude.h"
#include "platform/tuner/sdr/sdrtuner.h"
#include "platform/tuner/standin/standintuner.h"

void InstallStandIns()
{
    InstallPointerAttitudeSensors();
    InstallSdrTuner();
    InstallStandInTuner();
}
