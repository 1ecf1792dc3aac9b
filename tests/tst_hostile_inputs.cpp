#include "audio/mp3player.h"
#include "audio/radio.h"
#include "scenes/wavescene.h"
#include "sensing/sensorarray.h"
#include "support/coutcapture.h"
#include "support/recordingtuners.h"

#include <QMediaContent>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <cmath>
#include <limits>

namespace {

const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();
// Waits for the media back end, never a measure of speed.
const int backEndPatienceMs = 10000;

QVector3D Upright(float y) { return QVector3D(0.3f, y, -0.2f); }

}

// Inputs from outside at and beyond the edges of their types: each must give
// the outcome the arithmetic defines, not merely fail to crash.
class HostileInputsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void nonFiniteAccelerationLeavesTheSwingAsItWas_data();
    void nonFiniteAccelerationLeavesTheSwingAsItWas();
    void hugeAccelerationSwingsAndDiesOut();

    void tunerReportsGiveTheSumHalved_data();
    void tunerReportsGiveTheSumHalved();
    void aFloodOfReportsKeepsTheLast();

    void mediaPathsThatCannotPlay_data();
    void mediaPathsThatCannotPlay();
    void emptyMediaPathLeavesNoMedia();

private:
    RecordingTuners tuners;
};

void HostileInputsTest::initTestCase()
{
    qputenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK", "fakesink");
}

void HostileInputsTest::nonFiniteAccelerationLeavesTheSwingAsItWas_data()
{
    QTest::addColumn<QVector3D>("acceleration");
    QTest::addColumn<float>("dt");
    QTest::newRow("NaN") << Upright(notANumber) << 0.02f;
    QTest::newRow("+infinity") << Upright(infinity) << 0.02f;
    QTest::newRow("-infinity") << Upright(-infinity) << 0.02f;
    QTest::newRow("NaN step") << Upright(9.8f) << notANumber;
}

// The hostile step is dropped whole, its reading included: afterwards the
// scene moves exactly as a twin that never saw it.
void HostileInputsTest::nonFiniteAccelerationLeavesTheSwingAsItWas()
{
    QFETCH(QVector3D, acceleration);
    QFETCH(float, dt);
    WaveScene hit;
    WaveScene twin;
    SensorArray sensors;
    const float before[] = { 9.8f, 9.1f, 10.4f };
    for (float y : before) {
        sensors.acceleration = Upright(y);
        hit.UpdateFromReadings(sensors, 0.02f);
        twin.UpdateFromReadings(sensors, 0.02f);
    }
    const float level = hit.Level();
    const float velocity = hit.Velocity();
    QVERIFY(level != 0.0f);

    sensors.acceleration = acceleration;
    hit.UpdateFromReadings(sensors, dt);
    QCOMPARE(hit.Level(), level);
    QCOMPARE(hit.Velocity(), velocity);

    const float after[] = { 8.0f, 9.8f, 9.8f, 12.5f };
    for (float y : after) {
        sensors.acceleration = Upright(y);
        hit.UpdateFromReadings(sensors, 0.02f);
        twin.UpdateFromReadings(sensors, 0.02f);
        QCOMPARE(hit.Level(), twin.Level());
        QCOMPARE(hit.Velocity(), twin.Velocity());
    }
}

// A finite but absurd reading is taken like any other: the level jumps by
// the spring's formula and then dies out under steady readings.
void HostileInputsTest::hugeAccelerationSwingsAndDiesOut()
{
    WaveScene scene;
    SensorArray sensors;
    sensors.acceleration = Upright(1e30f);
    scene.UpdateFromReadings(sensors, 0.01f);
    // (0 + 50 * 1e30 * 0.01) * 0.95, then 0.01 of that.
    QVERIFY(qFuzzyCompare(scene.Velocity(), 4.75e29f));
    QVERIFY(qFuzzyCompare(scene.Level(), 4.75e27f));

    sensors.acceleration = Upright(9.8f);
    for (int frame = 0; frame < 3000; ++frame) {
        scene.UpdateFromReadings(sensors, 0.02f);
        QVERIFY2(std::isfinite(scene.Level()) && std::isfinite(scene.Velocity()),
                 qPrintable(QString("frame %1").arg(frame)));
    }
    QVERIFY(std::fabs(scene.Level()) < 1e-3f);
}

void HostileInputsTest::tunerReportsGiveTheSumHalved_data()
{
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("shuffles");
    QTest::addColumn<int>("noise");
    // Channel 1 adds 90, channel 0 adds nothing; the sum is halved towards zero.
    QTest::newRow("0 on channel 1") << 0 << 0 << 45;
    QTest::newRow("100 on channel 1") << 100 << 0 << 95;
    QTest::newRow("3 on channel 0") << 3 << 19 << 1;
    QTest::newRow("-1 on channel 1") << -1 << 0 << 44;
    QTest::newRow("-1 on channel 0") << -1 << 19 << 0;
    QTest::newRow("101 on channel 1") << 101 << 0 << 95;
    QTest::newRow("101 on channel 0") << 101 << 19 << 50;
    QTest::newRow("INT_MIN on channel 1") << INT_MIN << 0 << -1073741779;
    QTest::newRow("INT_MIN on channel 0") << INT_MIN << 19 << -1073741824;
    QTest::newRow("INT_MAX on channel 1") << INT_MAX << 0 << 1073741868;
    QTest::newRow("INT_MAX on channel 0") << INT_MAX << 19 << 1073741823;
}

void HostileInputsTest::tunerReportsGiveTheSumHalved()
{
    QFETCH(int, strength);
    QFETCH(int, shuffles);
    QFETCH(int, noise);
    tuners.controls.clear();
    CoutCapture output;
    Radio radio;
    radio.Switch(true);
    for (int shuffle = 0; shuffle < shuffles; ++shuffle)
        radio.Shuffle();
    RecordingTunerControl* control = tuners.Only();
    QVERIFY(control);

    control->ReportStrength(strength);
    QCOMPARE(radio.GetNoise(), noise);
}

void HostileInputsTest::aFloodOfReportsKeepsTheLast()
{
    tuners.controls.clear();
    CoutCapture output;
    Radio radio;
    radio.Switch(true);
    RecordingTunerControl* control = tuners.Only();
    QVERIFY(control);
    const int extremes[] = { INT_MIN, -1, 101, INT_MAX };
    for (int report = 0; report < 10000; ++report)
        control->ReportStrength(extremes[report % 4]);
    QCOMPARE(radio.GetNoise(), 1073741868);
    control->ReportStrength(64);
    QCOMPARE(radio.GetNoise(), 77);
}

void HostileInputsTest::mediaPathsThatCannotPlay_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QString>("localFile");
    static QTemporaryDir folder;
    const QString missing = folder.filePath(QString::fromUtf8("Lieder/Stürme — 嵐.mp3"));
    QTest::newRow("missing") << folder.filePath("absent.mp3").toUtf8() << folder.filePath("absent.mp3");
    QTest::newRow("directory") << folder.path().toUtf8() << folder.path();
    QTest::newRow("missing, non-ASCII") << missing.toUtf8() << missing;
    // Bytes that are no UTF-8 at all name the file through replacement characters.
    const QByteArray broken = folder.path().toUtf8() + "/\xff\xfe.mp3";
    QTest::newRow("not UTF-8") << broken << QString::fromUtf8(broken);
}

void HostileInputsTest::mediaPathsThatCannotPlay()
{
    QFETCH(QByteArray, path);
    QFETCH(QString, localFile);
    Mp3Player mp3;
    mp3.Load(path.toStdString());
    QCOMPARE(mp3.Player()->media().request().url().toLocalFile(), localFile);
    QCOMPARE(mp3.Player()->volume(), 60);
    QVERIFY(!mp3.Player()->isMuted());

    mp3.Switch(true);
    QVERIFY(mp3.IsPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(mp3.Player()->mediaStatus() == QMediaPlayer::InvalidMedia
                                 || mp3.Player()->error() != QMediaPlayer::NoError,
                             backEndPatienceMs);
    mp3.Switch(false);
    QVERIFY(!mp3.IsPlaying());
    QCOMPARE(mp3.Player()->state(), QMediaPlayer::StoppedState);
}

void HostileInputsTest::emptyMediaPathLeavesNoMedia()
{
    Mp3Player mp3;
    mp3.Load(std::string());
    QVERIFY(mp3.Player()->media().request().url().isEmpty());
    QCOMPARE(mp3.Player()->mediaStatus(), QMediaPlayer::NoMedia);
    QCOMPARE(mp3.Player()->volume(), 60);
    // Playing nothing is asked for and recorded; the player has nothing to play.
    mp3.Switch(true);
    QVERIFY(mp3.IsPlaying());
    QCoreApplication::processEvents();
    QVERIFY(mp3.Player()->mediaStatus() == QMediaPlayer::NoMedia
            || mp3.Player()->error() != QMediaPlayer::NoError);
    mp3.Switch(false);
    QVERIFY(!mp3.IsPlaying());
}

QTEST_GUILESS_MAIN(HostileInputsTest)
#include "tst_hostile_inputs.moc"
