#include "platform/display/screenawake.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <iostream>

#include "idle-inhibit-unstable-v1-client-protocol.h"
#include <wayland-client.h>

// Xlib's macros (None, Bool, Status) would clash with Qt's names: last.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace {

const char* const kScreenSaverService = "org.freedesktop.ScreenSaver";
const char* const kScreenSaverPath = "/org/freedesktop/ScreenSaver";
// A desktop answers within milliseconds; one that does not must not hold up
// the press or the end of the show.
const int kBusTimeoutMs = 1000;

// Without a named session bus, libdbus would launch one of its own.
bool SessionBusNamed()
{
    return qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
           || (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")
               && QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus")));
}

QDBusMessage ScreenSaverCall(const char* method)
{
    return QDBusMessage::createMethodCall(QLatin1String(kScreenSaverService), QLatin1String(kScreenSaverPath),
                                          QLatin1String(kScreenSaverService), QLatin1String(method));
}

void AnnounceGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0) {
        *static_cast<zwp_idle_inhibit_manager_v1**>(data) = static_cast<zwp_idle_inhibit_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_idle_inhibit_manager_v1_interface, 1));
    }
}

void RemoveGlobal(void*, wl_registry*, uint32_t)
{
}

const wl_registry_listener kRegistryListener = {AnnounceGlobal, RemoveGlobal};

}

ScreenAwake::~ScreenAwake()
{
    Release();
}

void ScreenAwake::Hold(QWindow* window)
{
    if (held)
        return;
    held = true;
    const bool overBus = HoldOverSessionBus();
    const bool onX11 = HoldOnX11();
    const bool onWayland = HoldOnWayland(window);
    if (!overBus && !onX11 && !onWayland)
        std::cerr << "radioshow: no screen saver to hold off here: the screen may blank during the show\n";
}

void ScreenAwake::Release()
{
    if (!held)
        return;
    held = false;
    if (inhibitCall) {
        inhibitCall->waitForFinished();
        const QDBusMessage reply = inhibitCall->reply();
        inhibitCall.reset();
        if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1) {
            QDBusMessage unInhibit = ScreenSaverCall("UnInhibit");
            unInhibit << reply.arguments().constFirst().toUInt();
            QDBusConnection::sessionBus().call(unInhibit, QDBus::Block, kBusTimeoutMs);
        }
    }
    if (x11) {
        XScreenSaverSuspend(x11, False);
        XFlush(x11);
        x11 = nullptr;
    }
    if (wayland) {
        if (inhibitor)
            zwp_idle_inhibitor_v1_destroy(inhibitor);
        if (inhibitManager)
            zwp_idle_inhibit_manager_v1_destroy(inhibitManager);
        wl_display_flush(wayland);
        wl_event_queue_destroy(waylandQueue);
        inhibitor = nullptr;
        inhibitManager = nullptr;
        waylandQueue = nullptr;
        wayland = nullptr;
    }
}

bool ScreenAwake::HoldOverSessionBus()
{
    if (!SessionBusNamed())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(QLatin1String(kScreenSaverService)))
        return false;
    QDBusMessage inhibit = ScreenSaverCall("Inhibit");
    inhibit << QStringLiteral("radioshow") << QStringLiteral("A show is playing");
    // The reply, the cookie to release with, is awaited only at the release.
    inhibitCall = bus.asyncCall(inhibit, kBusTimeoutMs);
    return true;
}

bool ScreenAwake::HoldOnX11()
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !native)
        return false;
    // The toolkit's own connection: the server ends the suspension when it closes, also on a crash.
    auto* display = static_cast<Display*>(native->nativeResourceForIntegration(QByteArrayLiteral("display")));
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!display || !XScreenSaverQueryExtension(display, &eventBase, &errorBase)
        || !XScreenSaverQueryVersion(display, &major, &minor) || (major == 1 && minor < 1))
        return false;
    XScreenSaverSuspend(display, True);
    XFlush(display);
    x11 = display;
    return true;
}

bool ScreenAwake::HoldOnWayland(QWindow* window)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || !native || !window)
        return false;
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration(QByteArrayLiteral("wl_display")));
    auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow(QByteArrayLiteral("surface"), window));
    if (!display || !surface)
        return false;
    // A queue of our own: the toolkit's queue and its thread never see these objects.
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    zwp_idle_inhibit_manager_v1* manager = nullptr;
    wl_registry_add_listener(registry, &kRegistryListener, &manager);
    wl_display_roundtrip_queue(display, queue);
    wl_registry_destroy(registry);
    if (!manager) {
        wl_event_queue_destroy(queue);
        return false;
    }
    wayland = display;
    waylandQueue = queue;
    inhibitManager = manager;
    inhibitor = zwp_idle_inhibit_manager_v1_create_inhibitor(manager, surface);
    wl_display_flush(display);
    return true;
}
