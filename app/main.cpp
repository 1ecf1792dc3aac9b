#include "app/mainwindow.h"
#include "platform/standins.h"

#include <QApplication>
#include <QGLFormat>
#include <QGuiApplication>
#include <QScreen>
#include <QtGui/qtgui-config.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

int qInitResources_texture();

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

// The xcb plugin ends the process through qFatal (an abort) when it is given
// no X server to connect to, neither by DISPLAY nor by a -display argument;
// without one there is nothing to show on, which is worth a plain line and an
// error status instead.
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

}

int main(int argc, char** argv)
{
    qInitResources_texture();
    if (LacksDisplay(argc, argv)) {
        std::cout << "radioshow: no display to show on (DISPLAY is not set)\n";
        return 1;
    }
    QApplication application(argc, argv);
    if (!QGLFormat::hasOpenGL()
        || !(QGLFormat::openGLVersionFlags()
             & (QGLFormat::OpenGL_Version_2_0 | QGLFormat::OpenGL_ES_Version_2_0))) {
        std::cout << "no OpenGL 2.0 or OpenGL ES 2.0 on this display: cannot show anything\n";
        return 1;
    }
    InstallStandIns();

    MainWindow window;
    // Without a window manager a full-screen request alone may leave the
    // window small: give it the whole screen first.
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    return application.exec();
}
