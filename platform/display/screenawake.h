#ifndef SCREENAWAKE_H
#define SCREENAWAKE_H

#include <QDBusPendingCall>

#include <optional>

class QWindow;
struct _XDisplay;
struct wl_display;
struct wl_event_queue;
struct zwp_idle_inhibit_manager_v1;
struct zwp_idle_inhibitor_v1;

// Keeps the screen from blanking while held, with every means the session
// offers: the desktop's screen saver over the session bus
// (org.freedesktop.ScreenSaver), the X server's screen saver (suspended for
// as long as the program's X connection lives) and the Wayland compositor's
// idle inhibition of the window's surface. Where none is offered the screen
// may blank and one line on standard error says so. Released on Release()
// or destruction, whichever comes first.
class ScreenAwake
{
public:
    ScreenAwake() = default;
    ~ScreenAwake();
    ScreenAwake(const ScreenAwake&) = delete;
    ScreenAwake& operator=(const ScreenAwake&) = delete;

    // window: the shown window whose surface a Wayland compositor keeps awake.
    void Hold(QWindow* window);
    void Release();

private:
    bool HoldOverSessionBus();
    bool HoldOnX11();
    bool HoldOnWayland(QWindow* window);

    bool held = false;
    std::optional<QDBusPendingCall> inhibitCall;
    _XDisplay* x11 = nullptr;
    wl_display* wayland = nullptr;
    wl_event_queue* waylandQueue = nullptr;
    zwp_idle_inhibit_manager_v1* inhibitManager = nullptr;
    zwp_idle_inhibitor_v1* inhibitor = nullptr;
};

#endif
