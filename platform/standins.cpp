#include "platform/standins.h"

void InstallStandIns()
{
}
