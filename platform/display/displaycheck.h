#ifndef DISPLAYCHECK_H
#define DISPLAYCHECK_H

#include <string>

// Why the application object would have no display to show on, as one line
// for the user; empty when it has one. Qt's xcb platform ends the process
// with an abort when DISPLAY is missing or names an X server that does not
// let it in: this is decided before the platform plugin is loaded.
std::string DisplayProblem(int argc, char** argv);

#endif
