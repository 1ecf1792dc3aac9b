#include "tools/capture/sensorscript.h"

#include <QBuffer>
#include <QtTest>

#include <cmath>

class SensorScriptTest : public QObject
{
    Q_OBJECT
private slots:
    void holdsEachReadingUntilTheNextRow();
    void refusesBadRowsNamingTheLine_data();
    void refusesBadRowsNamingTheLine();
    void gentleTiltStaysInsideTheCameraLimits();
};

namespace {

SensorScript Read(const QByteArray& text, QString* error)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return SensorScript::FromCsv(buffer, error);
}

}

void SensorScriptTest::holdsEachReadingUntilTheNextRow()
{
    QString error;
    const SensorScript script = Read("seconds,ax,ay,az,rx,ry,rz\n"
                                     "-1, 0, 0, 9.8, 60, 0, 0\n"
                                     "\n"
                                     "2.5,1,2,3,70,-5,1\n"
                                     "2.5,4,5,6,80,5,2\n",
                                     &error);
    QVERIFY2(!script.IsEmpty(), qPrintable(error));
    QCOMPARE(script.At(-5000).rotation, QVector3D(60, 0, 0));
    QCOMPARE(script.At(2499).acceleration, QVector3D(0, 0, 9.8f));
    QCOMPARE(script.At(2500).rotation, QVector3D(80, 5, 2));
    QCOMPARE(script.At(100000).acceleration, QVector3D(4, 5, 6));
}

void SensorScriptTest::refusesBadRowsNamingTheLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("nothing") << QByteArray("t,ax,ay,az,rx,ry,rz\n") << "no readings";
    QTest::newRow("too few values") << QByteArray("0,1,2,3,4,5,6\n1,1,2,3\n") << "line 2:";
    QTest::newRow("a word among numbers") << QByteArray("0,1,2,3,4,5,six\n") << "line 1:";
    QTest::newRow("header not first") << QByteArray("0,1,2,3,4,5,6\nt,ax,ay,az,rx,ry,rz\n") << "line 2:";
    QTest::newRow("not finite") << QByteArray("h\n0,nan,2,3,4,5,6\n") << "line 2:";
    QTest::newRow("time going back") << QByteArray("1,1,2,3,4,5,6\n\n0.5,1,2,3,4,5,6\n") << "line 3:";
    QTest::newRow("time out of range") << QByteArray("1e300,1,2,3,4,5,6\n") << "line 1:";
}

void SensorScriptTest::refusesBadRowsNamingTheLine()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    QString message;
    QVERIFY(Read(text, &message).IsEmpty());
    QVERIFY2(message.startsWith(error), qPrintable(message));
}

// The camera holds its pitch within -60..8 degrees (pitch target: rotation x
// minus 90) and its roll within -22..22: a gentle tilt never pins it there.
void SensorScriptTest::gentleTiltStaysInsideTheCameraLimits()
{
    const SensorScript script = SensorScript::GentleTilt();
    for (qint64 ms = -10000; ms <= 150000; ms += 10) {
        const SensorScript::Attitude attitude = script.At(ms);
        QVERIFY(attitude.rotation.x() - 90 > -60 && attitude.rotation.x() - 90 < 8);
        QVERIFY(std::fabs(attitude.rotation.y()) < 22);
        QVERIFY(std::fabs(attitude.acceleration.length() - 9.80665f) < 1e-3f);
    }
}

QTEST_GUILESS_MAIN(SensorScriptTest)
#include "tst_sensorscript.moc"
