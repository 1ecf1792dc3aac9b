#include "platform/pointerattitude.h"

void InstallPointerAttitudeSensors()
{
}
