#ifndef DISPLAYCHECK_H
#define DISPLAYCHECK_H

#include <string>

// Chooses Qt's wayland platform where a Wayland compositor is named and no X
// server is (WAYLAND_DISPLAY set, DISPLAY not), as on Linux phones and X-less
// desktops; a platform named by -platform or QT_QPA_PLATFORM is kept.
void PreferWaylandWithoutX(int argc, char** argv);

// Why the application object would have no display to show on, as one line
// for the user; empty when it has one. Qt's xcb and wayland platforms end
// the process with an abort when their server is missing or does not let it
// in: this is decided before the platform plugin is loaded.
std::string DisplayProblem(int argc, char** argv);

// Lets go of the X connection DisplayProblem() holds when it found the
// display good, once the application object has its own.
void ReleaseDisplayCheck();

#endif
