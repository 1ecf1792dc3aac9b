#include "platform/display/childwindowpainter.h"

#include <QBackingStore>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>
#include <QWindow>

void ChildWindowPainter::KeepPainted(QWidget* widget)
{
    if (widget && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        new ChildWindowPainter(widget);
}

ChildWindowPainter::ChildWindowPainter(QWidget* widget)
    : QObject(widget), widget(widget)
{
    widget->installEventFilter(this);
}

ChildWindowPainter::~ChildWindowPainter() = default;

bool ChildWindowPainter::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Paint:
        // The toolkit has just painted the widget into the top-level buffer:
        // show the same in its own window once the event loop is back, so
        // that one pass of hover, press and focus changes makes one buffer.
        if (!rendering && !paintPending) {
            paintPending = true;
            QMetaObject::invokeMethod(this, [this] { Paint(); }, Qt::QueuedConnection);
        }
        break;
    case QEvent::Hide:
        // A hidden window loses its surface; a new one gets a new buffer.
        store.reset();
        break;
    default:
        break;
    }
    return false;
}

void ChildWindowPainter::Paint()
{
    paintPending = false;
    QWindow* window = widget->windowHandle();
    if (!widget->isVisible() || !window || !window->handle())
        return;
    if (!store)
        store = std::make_unique<QBackingStore>(window);
    const QRect area(QPoint(), widget->size());
    store->resize(area.size());
    store->beginPaint(area);
    rendering = true;
    QPainter painter(store->paintDevice());
    widget->render(&painter);
    painter.end();
    rendering = false;
    store->endPaint();
    store->flush(area);
}
