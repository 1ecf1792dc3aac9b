#include "show/timeline.h"

#include <QtTest>

class TimelineTest : public QObject
{
    Q_OBJECT
private slots:
    void statisticsLine_data();
    void statisticsLine();
};

void TimelineTest::statisticsLine_data()
{
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("line");
    QTest::newRow("a whole show") << qint64(150123) << 12000 << "time elapsed: 150, fps: 79\n";
    QTest::newRow("closed right after the start") << qint64(0) << 7 << "time elapsed: 0, fps: 7000\n";
    QTest::newRow("one ms short of a second") << qint64(998) << 100 << "time elapsed: 0, fps: 100\n";
    QTest::newRow("frames beyond 32-bit products") << qint64(999999) << 3000000 << "time elapsed: 1000, fps: 3000\n";
}

void TimelineTest::statisticsLine()
{
    QFETCH(qint64, elapsedMs);
    QFETCH(int, frames);
    QFETCH(QString, line);
    QCOMPARE(QString::fromStdString(StatisticsLine(elapsedMs, frames)), line);
}

QTEST_APPLESS_MAIN(TimelineTest)
#include "tst_timeline.moc"
