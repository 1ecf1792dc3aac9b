#include "app/mainwindow.h"
#include "app/terminationsignals.h"
#include "app/usage.h"
#include "platform/display/childwindowpainter.h"
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
    // Only the view and the button get windows of their own (see the
    // window's layout), not their neighbours.
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
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
    QPushButton* radioButton = window.findChild<QPushButton*>();
    ChildWindowPainter::KeepPainted(radioButton);
    // The show starts at the press of its one button.
    QObject::connect(radioButton, &QPushButton::clicked, &window,
                     [&window, &screenAwake] { screenAwake.Hold(window.windowHandle()); });
    // Without a window manager, which only X runs without, a full-screen
    // request alone may leave the window small: give it the whole screen
    // first. A Wayland compositor always sizes the window; there a window
    // already of the final size before the compositor's first answer never
    // has its child windows exposed, and the view would never draw.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    return application.exec();
}
