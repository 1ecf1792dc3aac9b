#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>

class DemoWidget;
class QGridLayout;
class QPushButton;

// The one window: the show widget with the "Radio" button over it, and the
// two timers that drive the whole show.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow();

    void ready();
    DemoWidget* Show() const { return demoWidget; }

public slots:
    void ready1();
    void ready2();

private:
    QGridLayout* gridLayout;
    DemoWidget* demoWidget;
    QPushButton* radioButton;
};

#endif
