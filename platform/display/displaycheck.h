#ifndef DISPLAYCHECK_H
#define DISPLAYCHECK_H

// True when the application object would have no X server to connect to: it
// would use the xcb platform, and neither DISPLAY nor a -display argument
// names a server. Qt ends such a process with an abort.
bool LacksDisplay(int argc, char** argv);

#endif
