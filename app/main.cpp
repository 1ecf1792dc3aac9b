#include "app/mainwindow.h"
#include "app/terminationsignals.h"
#include "app/usage.h"
#include "platform/display/displaycheck.h"
#include "platform/display/screenawake.h"
#include "platform/standins.h"

#include <QApplication>
#include <QGLFormat>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <iostream>

int qInitResources_texture();

int main(int argc, char** argv)
{
    const std::string information = InformationAskedFor(argc, argv);
    if (!information.empty()) {
        std::cout << information << std::flush;
        return 0;
    }
    qInitResources_texture();
    PreferWaylandWithoutX(argc, argv);
    const std::string displayProblem = DisplayProblem(argc, argv);
    if (!displayProblem.empty()) {
        std::cout << displayProblem << "\n" << std::flush;
        return 1;
    }
    QApplication application(argc, argv);
    ReleaseDisplayCheck();
    if (!QGLFormat::hasOpenGL()
        || !(QGLFormat::openGLVersionFlags()
             & (QGLFormat::OpenGL_Version_2_0 | QGLFormat::OpenGL_ES_Version_2_0))) {
        std::cout << "no OpenGL 2.0 or OpenGL ES 2.0 on this display: cannot show anything\n" << std::flush;
        return 1;
    }
    InstallStandIns();

    // Declared before the window, so that they outlive its closing: the
    // screen is let go once the show has ended, however it ended.
    ScreenAwake screenAwake;
    TerminationSignals terminationSignals;
    MainWindow window;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &window, [&window] { window.close(); });
    // The show starts at the press of its one button.
    QObject::connect(window.findChild<QPushButton*>(), &QPushButton::clicked, &window,
                     [&window, &screenAwake] { screenAwake.Hold(window.windowHandle()); });
    // Without a window manager a full-screen request alone may leave the
    // window small: give it the whole screen first.
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    return application.exec();
}
