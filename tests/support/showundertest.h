#ifndef SHOWUNDERTEST_H
#define SHOWUNDERTEST_H

#include "show/demowidget.h"
#include "support/fakeclock.h"

#include <QImage>

#include <memory>

// A shown show widget whose clocks read a virtual clock that moves only
// when a frame is drawn through Frames().
struct ShowUnderTest
{
    explicit ShowUnderTest(QSize size = QSize(320, 200));

    // Draws n frames, the clock moving stepMs before each.
    void Frames(int n, int stepMs = 10);
    // What the last frame drew.
    QImage Picture();

    FakeClock clock;
    std::unique_ptr<DemoWidget> widget;
};

#endif
