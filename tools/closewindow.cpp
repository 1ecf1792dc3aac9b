// Asks the top-level windows of one process to close, the way a window
// manager does: a WM_DELETE_WINDOW message to each window that takes it.
// Usage: closewindow PID. Exit status 0 when at least one window was asked.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool OwnedBy(Display* display, Window window, Atom pidAtom, unsigned long pid)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* value = nullptr;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &value) != Success || !value)
        return false;
    const bool owned = format == 32 && count == 1 && *reinterpret_cast<unsigned long*>(value) == pid;
    XFree(value);
    return owned;
}

bool TakesDelete(Display* display, Window window, Atom deleteAtom)
{
    Atom* protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display, window, &protocols, &count))
        return false;
    bool takes = false;
    for (int i = 0; i < count; ++i)
        takes = takes || protocols[i] == deleteAtom;
    XFree(protocols);
    return takes;
}

}

int main(int argc, char** argv)
{
    char* end = nullptr;
    const unsigned long pid = argc == 2 ? std::strtoul(argv[1], &end, 10) : 0;
    if (pid == 0 || *end != '\0') {
        std::fprintf(stderr, "usage: closewindow PID\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "closewindow: cannot open the display\n");
        return 2;
    }
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    const Atom protocolsAtom = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);

    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    int asked = 0;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        if (!OwnedBy(display, children[i], pidAtom, pid) || !TakesDelete(display, children[i], deleteAtom))
            continue;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = children[i];
        event.xclient.message_type = protocolsAtom;
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(deleteAtom);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, children[i], False, NoEventMask, &event);
        ++asked;
    }
    if (children)
        XFree(children);
    XCloseDisplay(display);
    if (asked == 0) {
        std::fprintf(stderr, "closewindow: process %lu has no window to close\n", pid);
        return 1;
    }
    return 0;
}
