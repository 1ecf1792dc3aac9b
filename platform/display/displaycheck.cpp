#include "platform/display/displaycheck.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QtGui/qtgui-config.h>

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The value given to the option -NAME or --NAME, or null.
const char* OptionValue(int argc, char** argv, const char* name)
{
    const char* value = nullptr;
    for (int at = 1; at + 1 < argc; ++at) {
        const char* option = argv[at];
        if (option[0] == '-' && option[1] == '-')
            ++option;
        if (option[0] == '-' && std::strcmp(option + 1, name) == 0)
            value = argv[at + 1];
    }
    return value;
}

// The platform plugin QApplication will load: its -platform argument, else
// QT_QPA_PLATFORM, else the build's default; only the first of a ';' list,
// without its ':' options.
std::string PlatformName(int argc, char** argv)
{
    std::string name = QT_QPA_DEFAULT_PLATFORM_NAME;
    const char* fromEnvironment = std::getenv("QT_QPA_PLATFORM");
    if (fromEnvironment && *fromEnvironment)
        name = fromEnvironment;
    if (const char* fromArguments = OptionValue(argc, argv, "platform"))
        name = fromArguments;
    return name.substr(0, name.find_first_of(";:"));
}

bool IsSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}

bool WaylandPlatformInstalled()
{
    return QFileInfo::exists(QLibraryInfo::location(QLibraryInfo::PluginsPath)
                             + QStringLiteral("/platforms/libqwayland-egl.so"));
}

bool Connects(int family, const sockaddr* address, socklen_t length)
{
    const int probe = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    const bool connected = connect(probe, address, length) == 0;
    close(probe);
    return connected;
}

// Whether anything listens where the display name points, as xcb would look
// for it: the local socket (abstract, then on disk), or TCP port 6000 + n.
bool ServerListens(const char* displayName)
{
    char* host = nullptr;
    int number = 0;
    if (!xcb_parse_display(displayName, &host, &number, nullptr))
        return false;
    const std::unique_ptr<char, decltype(&std::free)> hostOwner(host, &std::free);
    if (!*host || std::strcmp(host, "unix") == 0) {
        sockaddr_un local{};
        local.sun_family = AF_UNIX;
        const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        std::memcpy(local.sun_path + 1, path.c_str(), path.size());
        const socklen_t abstractLength = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + path.size());
        if (Connects(AF_UNIX, reinterpret_cast<sockaddr*>(&local), abstractLength))
            return true;
        std::memcpy(local.sun_path, path.c_str(), path.size() + 1);
        return Connects(AF_UNIX, reinterpret_cast<sockaddr*>(&local), sizeof(local));
    }
    addrinfo wanted{};
    wanted.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, std::to_string(6000 + number).c_str(), &wanted, &found) != 0)
        return false;
    bool listens = false;
    for (addrinfo* entry = found; entry && !listens; entry = entry->ai_next)
        listens = Connects(entry->ai_family, entry->ai_addr, entry->ai_addrlen);
    freeaddrinfo(found);
    return listens;
}

// Whether a compositor listens where a Wayland client would look: the
// socket WAYLAND_DISPLAY (by default "wayland-0") names, in XDG_RUNTIME_DIR
// unless the name is a path.
bool CompositorListens(const std::string& name)
{
    std::string path = name;
    if (name.front() != '/') {
        if (!IsSet("XDG_RUNTIME_DIR"))
            return false;
        path = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" + name;
    }
    sockaddr_un local{};
    local.sun_family = AF_UNIX;
    if (path.size() >= sizeof(local.sun_path))
        return false;
    std::memcpy(local.sun_path, path.c_str(), path.size() + 1);
    return Connects(AF_UNIX, reinterpret_cast<sockaddr*>(&local), sizeof(local));
}

// The check's own connection, while it keeps the server up.
xcb_connection_t* heldConnection = nullptr;

// Why an X client cannot connect to the display, or empty when it can. A
// connection that succeeds is held: an X server resets when its last client
// leaves, and while it resets the next client cannot connect, so letting go
// here would make the application object's own connection fail on a server
// that had no other client.
std::string ConnectionProblem(const char* displayName)
{
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(displayName, &screen);
    const int error = xcb_connection_has_error(connection);
    if (error == 0 && !heldConnection)
        heldConnection = connection;
    else
        xcb_disconnect(connection);
    switch (error) {
    case 0:
        return std::string();
    case XCB_CONN_CLOSED_PARSE_ERR:
        return "not a display name";
    case XCB_CONN_CLOSED_INVALID_SCREEN:
        return "the X server there has no screen " + std::to_string(screen);
    case XCB_CONN_ERROR:
        return ServerListens(displayName) ? "the X server there refuses the connection: not authorised"
                                          : "no X server answers there";
    default:
        return "the connection to the X server failed (xcb error " + std::to_string(error) + ")";
    }
}

}

void PreferWaylandWithoutX(int argc, char** argv)
{
    if (OptionValue(argc, argv, "platform") || IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY")
        || OptionValue(argc, argv, "display") || !IsSet("WAYLAND_DISPLAY") || !WaylandPlatformInstalled())
        return;
    setenv("QT_QPA_PLATFORM", "wayland", 1);
}

std::string DisplayProblem(int argc, char** argv)
{
    const std::string platform = PlatformName(argc, argv);
    if (platform.compare(0, 7, "wayland") == 0) {
        const std::string name = IsSet("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "wayland-0";
        if (CompositorListens(name))
            return std::string();
        return "radioshow: cannot show on Wayland display " + name + " (no compositor answers there)";
    }
    if (platform != "xcb")
        return std::string();
    const char* displayName = OptionValue(argc, argv, "display");
    if (!displayName)
        displayName = std::getenv("DISPLAY");
    if (!displayName || !*displayName) {
        if (!IsSet("WAYLAND_DISPLAY"))
            return "radioshow: no display to show on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        if (!WaylandPlatformInstalled())
            return "radioshow: no display to show on (DISPLAY is not set, and for WAYLAND_DISPLAY "
                   "Qt's wayland platform is missing: Debian package qtwayland5)";
        return "radioshow: no display to show on (DISPLAY is not set, and the xcb platform was asked for)";
    }
    const std::string problem = ConnectionProblem(displayName);
    if (problem.empty())
        return problem;
    return "radioshow: cannot show on display " + std::string(displayName) + " (" + problem + ")";
}

void ReleaseDisplayCheck()
{
    if (heldConnection)
        xcb_disconnect(heldConnection);
    heldConnection = nullptr;
}
