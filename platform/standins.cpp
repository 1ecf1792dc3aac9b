#include "platform/standins.h"

#include "platform/pointerattitude.h"
#include "platform/standintuner.h"

void InstallStandIns()
{
    InstallPointerAttitudeSensors();
    InstallStandInTuner();
}
