#include "platform/standintuner.h"

void InstallStandInTuner()
{
}
