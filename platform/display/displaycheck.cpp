#include "platform/display/displaycheck.h"

#include <QtGui/qtgui-config.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The platform plugin QApplication will load: its -platform argument, else
// QT_QPA_PLATFORM, else the build's default; only the first of a ';' list,
// without its ':' options.
std::string PlatformName(int argc, char** argv)
{
    std::string name = QT_QPA_DEFAULT_PLATFORM_NAME;
    const char* fromEnvironment = std::getenv("QT_QPA_PLATFORM");
    if (fromEnvironment && *fromEnvironment)
        name = fromEnvironment;
    for (int at = 1; at + 1 < argc; ++at) {
        if (std::strcmp(argv[at], "-platform") == 0 || std::strcmp(argv[at], "--platform") == 0)
            name = argv[at + 1];
    }
    return name.substr(0, name.find_first_of(";:"));
}

}

bool LacksDisplay(int argc, char** argv)
{
    if (PlatformName(argc, argv) != "xcb")
        return false;
    for (int at = 1; at + 1 < argc; ++at) {
        if (std::strcmp(argv[at], "-display") == 0 || std::strcmp(argv[at], "--display") == 0)
            return false;
    }
    const char* display = std::getenv("DISPLAY");
    return !(display && *display);
}
