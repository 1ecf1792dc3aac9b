#include "app/mainwindow.h"
#include "audio/radio.h"
#include "platform/standins.h"
#include "show/demowidget.h"
#include "show/timeline.h"
#include "support/coutcapture.h"
#include "support/recordingtuners.h"
#include "support/showundertest.h"

#include <QLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

int qInitResources_texture();

namespace {

int Count(const std::string& text, const std::string& line)
{
    int count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++count;
    return count;
}

}

class ShowWidgetTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void announcesReadinessOnceAfterLoading();
    void uploadsTheSevenPictures();
    void aMissingOrBrokenPictureUploadsAsTextureZero();

    void noStatisticsWithoutAStart();
    void statisticsRightAfterTheStart();
    void statisticsAfterAWholeShow();
    void theRadioStopsWhenTheWidgetGoes();

    void nothingCountsBeforeTheStart();
    void scenesAndTheRadioFollowTheTicks();
    void tick1500QuitsWithoutReadingTheClock();
    void theClockEndsTheShowPast155000msOnEveryTick();
    void withoutTheRadioTheShowStaysInSceneZero();

    void waitingFramesHoldThePhaseAt1_1();
    void theFirstRunningFrameStartsFromTheWaitingPhase();

    void theWindowsTimersAndButtonDriveTheShow();
};

void ShowWidgetTest::initTestCase()
{
    qInitResources_texture();
    InstallStandIns();
}

void ShowWidgetTest::announcesReadinessOnceAfterLoading()
{
    CoutCapture output;
    {
        ShowUnderTest show;
        show.Frames(3);
    }
    QCOMPARE(Count(output.Text(), "loaded everything: waiting for user action\n"), 1);
}

void ShowWidgetTest::uploadsTheSevenPictures()
{
    ShowUnderTest show;
    show.widget->makeCurrent();
    QSet<unsigned int> names;
    for (int entry = 0; entry < 7; ++entry) {
        const unsigned int name = show.widget->Texture(entry);
        QVERIFY2(glIsTexture(name), qPrintable(QString("entry %1").arg(entry)));
        names.insert(name);
    }
    QCOMPARE(names.size(), 7);
}

void ShowWidgetTest::aMissingOrBrokenPictureUploadsAsTextureZero()
{
    ShowUnderTest show;
    show.widget->makeCurrent();
    QCOMPARE(UploadPicture(*show.widget, ":/no-such-picture.png"), GLuint(0));

    QTemporaryDir folder;
    const QString broken = folder.filePath("broken.png");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\n but nothing of a picture follows");
    file.close();
    QCOMPARE(UploadPicture(*show.widget, broken), GLuint(0));

    // The show goes on: frames still draw.
    const int framesBefore = show.widget->FrameCount();
    show.Frames(2);
    QCOMPARE(show.widget->FrameCount(), framesBefore + 2);
}

void ShowWidgetTest::noStatisticsWithoutAStart()
{
    CoutCapture output;
    {
        ShowUnderTest show;
        show.Frames(4);
    }
    QVERIFY(output.Text().find("time elapsed") == std::string::npos);
}

void ShowWidgetTest::statisticsRightAfterTheStart()
{
    CoutCapture output;
    {
        ShowUnderTest show;
        show.widget->SetReady(1, true);
        show.Frames(3, 0);
    }
    QCOMPARE(Count(output.Text(), "time elapsed: 0, fps: 3000\n"), 1);
}

void ShowWidgetTest::statisticsAfterAWholeShow()
{
    CoutCapture output;
    {
        ShowUnderTest show;
        show.widget->SetReady(1, true);
        show.Frames(40);
        show.clock.now += 150123 - 400;
    }
    QCOMPARE(Count(output.Text(), StatisticsLine(150123, 40)), 1);
    QCOMPARE(Count(output.Text(), "time elapsed: 150, fps: 0\n"), 1);
}

void ShowWidgetTest::theRadioStopsWhenTheWidgetGoes()
{
    RecordingTuners tuners;
    CoutCapture output;
    {
        ShowUnderTest show;
        show.widget->SetReady(1, true);
        tuners.calls.clear();
    }
    // Deleting a tuner does not stop it: the widget must, or the radio plays on after the show.
    QCOMPARE(tuners.calls, QStringList({"stop", "gone"}));
}

void ShowWidgetTest::nothingCountsBeforeTheStart()
{
    ShowUnderTest show;
    QSignalSpy quit(show.widget.get(), SIGNAL(Quit()));
    show.clock.now = 1000000;
    for (int tick = 0; tick < 1600; ++tick)
        show.widget->Service();
    QCOMPARE(show.widget->TickCount(), 0);
    QCOMPARE(show.widget->SceneIndex(), 0);
    QCOMPARE(quit.count(), 0);
    QVERIFY(!show.widget->RadioDevice()->IsOn());
}

void ShowWidgetTest::scenesAndTheRadioFollowTheTicks()
{
    CoutCapture output;
    ShowUnderTest show;
    QSignalSpy quit(show.widget.get(), SIGNAL(Quit()));
    show.widget->SetReady(1, true);
    Radio& radio = *show.widget->RadioDevice();
    QCOMPARE(radio.Channel(), 1);

    for (int tick = 0; tick <= 1499; ++tick) {
        const int sceneBefore = show.widget->SceneIndex();
        show.widget->Service();
        const bool shuffled = show.widget->SceneIndex() != sceneBefore;
        QCOMPARE(shuffled, tick > 0 && tick <= 1440 && tick % 60 == 0);
        QCOMPARE(radio.Channel(), (show.widget->SceneIndex() + 1) % 20);
        QCOMPARE(radio.IsOn(), tick < 1498);
        QCOMPARE(show.widget->TickCount(), tick + 1);
    }
    QCOMPARE(show.widget->SceneIndex(), 24);
    QCOMPARE(quit.count(), 0);
    QCOMPARE(Count(output.Text(), "activating radio\n"), 1);
    QCOMPARE(Count(output.Text(), "stopping radio\n"), 1);
}

void ShowWidgetTest::tick1500QuitsWithoutReadingTheClock()
{
    ShowUnderTest show;
    QSignalSpy quit(show.widget.get(), SIGNAL(Quit()));
    show.widget->SetReady(1, true);
    for (int tick = 0; tick < 1500; ++tick)
        show.widget->Service();
    QCOMPARE(quit.count(), 0);

    const int readsBefore = show.clock.reads;
    show.widget->Service();
    QCOMPARE(quit.count(), 1);
    QCOMPARE(show.clock.reads, readsBefore);
    QCOMPARE(show.widget->TickCount(), 1501);

    // Tick 1501 reads the clock again, and at 0 ms it does not quit.
    show.widget->Service();
    QCOMPARE(quit.count(), 1);
    QCOMPARE(show.clock.reads, readsBefore + 1);
}

void ShowWidgetTest::theClockEndsTheShowPast155000msOnEveryTick()
{
    ShowUnderTest show;
    QSignalSpy quit(show.widget.get(), SIGNAL(Quit()));
    show.widget->SetReady(1, true);
    show.clock.now += 155000;
    show.widget->Service();
    QCOMPARE(quit.count(), 0);
    show.clock.now += 1;
    show.widget->Service();
    QCOMPARE(quit.count(), 1);
    show.widget->Service();
    show.widget->Service();
    QCOMPARE(quit.count(), 3);
}

void ShowWidgetTest::withoutTheRadioTheShowStaysInSceneZero()
{
    CoutCapture output;
    ShowUnderTest show;
    QSignalSpy quit(show.widget.get(), SIGNAL(Quit()));
    show.widget->SetReady(1, false);
    for (int tick = 0; tick <= 1500; ++tick)
        show.widget->Service();
    QCOMPARE(show.widget->SceneIndex(), 0);
    QCOMPARE(quit.count(), 1);
    QVERIFY(!show.widget->RadioDevice()->IsOn());
    QVERIFY(output.Text().find("radio") == std::string::npos);
}

void ShowWidgetTest::waitingFramesHoldThePhaseAt1_1()
{
    ShowUnderTest show;
    show.Frames(5, 37);
    QCOMPARE(show.widget->Phase(), kWaitingPhase);
}

void ShowWidgetTest::theFirstRunningFrameStartsFromTheWaitingPhase()
{
    ShowUnderTest show;
    show.Frames(2);
    show.widget->SetReady(1, true);
    show.Frames(1, 30);
    QCOMPARE(show.widget->Phase(), AdvancePhase(kWaitingPhase, 0.03f));
    QVERIFY(std::abs(show.widget->Phase() - (0.1f + 0.03f / 0.44f)) < 1e-5f);
}

// Each timer's timeout, the button's click and the end signal are fired by
// hand and must reach exactly their one slot.
void ShowWidgetTest::theWindowsTimersAndButtonDriveTheShow()
{
    RecordingTuners tuners;
    CoutCapture output;
    MainWindow window;
    window.resize(320, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DemoWidget& show = *window.Show();

    QMap<int, QTimer*> timers;
    for (QTimer* timer : window.findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
        QVERIFY(timer->isActive() && !timer->isSingleShot());
        timers.insert(timer->interval(), timer);
    }
    QCOMPARE(timers.keys(), (QList<int>{10, 100}));

    QPushButton* button = window.findChild<QPushButton*>();
    QLayout* layout = window.centralWidget()->layout();
    QVERIFY(button->isVisible() && layout->indexOf(button) >= 0);
    button->click();
    QVERIFY(!button->isVisible());
    QCOMPARE(layout->indexOf(button), -1);
    QVERIFY(show.IsStarted() && show.RadioDevice()->IsOn());

    const int frames = show.FrameCount();
    QVERIFY(QMetaObject::invokeMethod(timers[10], "timeout"));
    QCOMPARE(show.FrameCount(), frames + 1);
    QCOMPARE(show.TickCount(), 0);
    QVERIFY(QMetaObject::invokeMethod(timers[100], "timeout"));
    QCOMPARE(show.TickCount(), 1);
    QCOMPARE(show.FrameCount(), frames + 1);

    emit show.Quit();
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(ShowWidgetTest)
#include "tst_gl_showwidget.moc"
