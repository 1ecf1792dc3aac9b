#include "app/usage.h"

#include <algorithm>
#include <cstring>

namespace {

struct EnvironmentVariable
{
    const char* name;
    const char* meaning;
};

// Every variable the program or its back ends read.
const EnvironmentVariable environment[] = {
    {"QT_QPA_PLATFORM", "Qt's window-system platform (xcb, wayland...); else the two below choose"},
    {"DISPLAY", "the X server to show on"},
    {"WAYLAND_DISPLAY", "the Wayland compositor to show on when DISPLAY is unset"},
    {"RADIOSHOW_SDR_RECORDING", "FILE,CENTRE_HZ,RATE_HZ: an rtl_sdr recording played as an SDR"},
    {"RADIOSHOW_FM_DEEMPHASIS", "50 or 75: the SDR receiver's de-emphasis in us; else by the locale's territory"},
};

const char usage[] =
    "Usage: radioshow [Qt options]\n"
    "\n"
    "A self-running, full-screen audio-visual show. Press \"Radio\" to start it: for\n"
    "150 s a pulsing picture blended with noise and a tangle of branching lines fill\n"
    "the screen, the view follows the device's tilt, and the FM radio steps through\n"
    "twenty stations whose signal strength drives the noise. Then the program prints\n"
    "the elapsed time and the mean frame rate and exits.\n"
    "\n"
    "Escape or Q closes the show at any moment, as do SIGINT, SIGTERM and SIGHUP.\n"
    "\n"
    "Options:\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n"
    "Every other argument goes to Qt, e.g. -platform wayland or -display :1.\n"
    "\n"
    "Environment:\n";

std::string UsageText()
{
    std::size_t widest = 0;
    for (const EnvironmentVariable& variable : environment)
        widest = std::max(widest, std::strlen(variable.name));
    std::string text = usage;
    for (const EnvironmentVariable& variable : environment) {
        text += "  ";
        text += variable.name;
        text += std::string(widest + 2 - std::strlen(variable.name), ' ');
        text += variable.meaning;
        text += '\n';
    }
    return text;
}

}

std::string InformationAskedFor(int argc, char** argv)
{
    for (int at = 1; at < argc; ++at) {
        if (std::strcmp(argv[at], "--help") == 0)
            return UsageText();
        if (std::strcmp(argv[at], "--version") == 0)
            return std::string("radioshow ") + RADIOSHOW_VERSION + "\n";
    }
    return std::string();
}
