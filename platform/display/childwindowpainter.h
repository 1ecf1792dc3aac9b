#ifndef CHILDWINDOWPAINTER_H
#define CHILDWINDOWPAINTER_H

#include <QObject>

#include <memory>

class QBackingStore;
class QWidget;

// Qt's Wayland platform paints a widget with a window of its own (a native
// child) only into its top-level window's buffer, never into the child's own
// surface. Where such a widget lies over a GL child window, as the start
// button over the show's view, the compositor stacks the GL surface above
// that buffer and the widget is neither seen nor reachable by the pointer.
// The painter keeps the widget's own surface painted: after each paint of the
// widget it renders the widget into a buffer of the widget's window and shows
// it there. Other platforms paint child windows themselves: there it does
// nothing.
class ChildWindowPainter : public QObject
{
public:
    // Lives as long as the widget; nothing on platforms that need no help.
    static void KeepPainted(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ChildWindowPainter(QWidget* widget);
    ~ChildWindowPainter() override;
    void Paint();

    QWidget* widget;
    std::unique_ptr<QBackingStore> store;
    bool paintPending = false;
    bool rendering = false;
};

#endif
