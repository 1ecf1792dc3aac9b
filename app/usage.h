#ifndef USAGE_H
#define USAGE_H

#include <string>

// What the program prints instead of showing when asked on its command line:
// the usage for --help, the version for --version; empty for any other
// command line, which goes to the application object unchanged.
std::string InformationAskedFor(int argc, char** argv);

#endif
