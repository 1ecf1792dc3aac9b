#include "support/showundertest.h"

#include <QtTest>

ShowUnderTest::ShowUnderTest(QSize size)
    : widget(new DemoWidget(nullptr))
{
    widget->SetTimeSource(clock);
    widget->resize(size);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
}

void ShowUnderTest::Frames(int n, int stepMs)
{
    for (int i = 0; i < n; ++i) {
        clock.now += stepMs;
        widget->updateGL();
    }
}

QImage ShowUnderTest::Picture()
{
    return widget->grabFrameBuffer().convertToFormat(QImage::Format_RGB32);
}
