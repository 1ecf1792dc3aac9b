#include "audio/mp3player.h"

#include <QDataStream>
#include <QFile>
#include <QMediaContent>
#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// Waits for the back end, never a measure of speed.
const int backEndPatienceMs = 10000;

// One second of a 440 Hz sine as 16-bit mono PCM in a RIFF/WAVE file.
bool WriteTone(const QString& path)
{
    const quint32 rate = 44100;
    const quint32 samples = rate;
    const quint32 dataBytes = samples * 2;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << quint32(rate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(std::lround(8000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate)));
    return out.status() == QDataStream::Ok;
}

int CountState(const QSignalSpy& spy, QMediaPlayer::State state)
{
    int count = 0;
    for (const QList<QVariant>& arguments : spy)
        if (arguments.at(0).value<QMediaPlayer::State>() == state)
            ++count;
    return count;
}

}

class Mp3PlayerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void repeatedSwitchOnIsIgnored();
    void switchOffOnANewPlayerDoesNothing();
    void loadSetsVolumeAndUnmutes();
    void fileLoadsAndPlays_data();
    void fileLoadsAndPlays();
    void unplayablePathsLeaveTheSwitchAlone_data();
    void unplayablePathsLeaveTheSwitchAlone();

private:
    QTemporaryDir dir;
    QString tonePath;
};

void Mp3PlayerTest::initTestCase()
{
    // This machine may have no audio device at all; a fake sink lets the
    // back end run its whole pipeline all the same. Read when a player is made.
    qputenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK", "fakesink");
    qRegisterMetaType<QMediaPlayer::State>();
    qRegisterMetaType<QMediaPlayer::MediaStatus>();
    tonePath = dir.filePath("tone.wav");
    QVERIFY(WriteTone(tonePath));
    QVERIFY(WriteTone(dir.filePath(QString::fromUtf8("Müsik.wav"))));
}

// A player stopped behind our back shows whether the second request reached
// it: the back end reports every play() at once, before any event is handled.
void Mp3PlayerTest::repeatedSwitchOnIsIgnored()
{
    Mp3Player mp3;
    mp3.Load(tonePath.toStdString());
    QSignalSpy states(mp3.Player(), &QMediaPlayer::stateChanged);
    mp3.Switch(true);
    QCOMPARE(mp3.Player()->state(), QMediaPlayer::PlayingState);
    mp3.Player()->stop();
    mp3.Switch(true);
    QCOMPARE(CountState(states, QMediaPlayer::PlayingState), 1);
    QCOMPARE(mp3.Player()->state(), QMediaPlayer::StoppedState);
    QVERIFY(mp3.IsPlaying());

    mp3.Switch(false);
    QVERIFY(!mp3.IsPlaying());
}

// A player started behind our back shows whether a stop reached it.
void Mp3PlayerTest::switchOffOnANewPlayerDoesNothing()
{
    Mp3Player mp3;
    mp3.Load(tonePath.toStdString());
    mp3.Player()->play();
    QCOMPARE(mp3.Player()->state(), QMediaPlayer::PlayingState);
    QSignalSpy states(mp3.Player(), &QMediaPlayer::stateChanged);
    mp3.Switch(false);
    QCOMPARE(states.count(), 0);
    QCOMPARE(mp3.Player()->state(), QMediaPlayer::PlayingState);
    QVERIFY(!mp3.IsPlaying());
}

void Mp3PlayerTest::loadSetsVolumeAndUnmutes()
{
    Mp3Player mp3;
    mp3.Player()->setVolume(10);
    mp3.Player()->setMuted(true);
    QCOMPARE(mp3.Player()->volume(), 10);
    mp3.Load(tonePath.toStdString());
    QCOMPARE(mp3.Player()->volume(), 60);
    QVERIFY(!mp3.Player()->isMuted());
    QVERIFY(!mp3.IsPlaying());
}

void Mp3PlayerTest::fileLoadsAndPlays_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("ASCII name") << QString::fromUtf8("tone.wav");
    QTest::newRow("non-ASCII name") << QString::fromUtf8("Müsik.wav");
}

void Mp3PlayerTest::fileLoadsAndPlays()
{
    QFETCH(QString, name);
    const QString path = dir.filePath(name);
    Mp3Player mp3;
    QSignalSpy states(mp3.Player(), &QMediaPlayer::stateChanged);
    QSignalSpy statuses(mp3.Player(), &QMediaPlayer::mediaStatusChanged);
    const QByteArray utf8Path = path.toUtf8();
    mp3.Load(utf8Path.toStdString());

    QCOMPARE(mp3.Player()->media().request().url().toLocalFile(), path);
    QTRY_COMPARE_WITH_TIMEOUT(mp3.Player()->mediaStatus(), QMediaPlayer::LoadedMedia, backEndPatienceMs);
    QCOMPARE(mp3.Player()->error(), QMediaPlayer::NoError);

    mp3.Switch(true);
    // The whole second may pass through the sink before the test looks again.
    QTRY_VERIFY_WITH_TIMEOUT(CountState(states, QMediaPlayer::PlayingState) == 1, backEndPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(statuses.contains({ QVariant::fromValue(QMediaPlayer::BufferedMedia) })
                                 || mp3.Player()->mediaStatus() == QMediaPlayer::EndOfMedia,
                             backEndPatienceMs);
    QCOMPARE(mp3.Player()->error(), QMediaPlayer::NoError);
}

void Mp3PlayerTest::unplayablePathsLeaveTheSwitchAlone_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("playing");
    QTest::newRow("missing file, stopped") << dir.filePath("absent.mp3") << false;
    QTest::newRow("missing file, playing") << dir.filePath("absent.mp3") << true;
    QTest::newRow("directory, stopped") << dir.path() << false;
    QTest::newRow("directory, playing") << dir.path() << true;
}

void Mp3PlayerTest::unplayablePathsLeaveTheSwitchAlone()
{
    QFETCH(QString, path);
    QFETCH(bool, playing);
    Mp3Player mp3;
    mp3.Load(tonePath.toStdString());
    mp3.Switch(playing);
    mp3.Load(path.toStdString());
    QTRY_VERIFY_WITH_TIMEOUT(mp3.Player()->mediaStatus() == QMediaPlayer::InvalidMedia
                                 || mp3.Player()->error() != QMediaPlayer::NoError,
                             backEndPatienceMs);
    QCOMPARE(mp3.IsPlaying(), playing);
    QCOMPARE(mp3.Player()->volume(), 60);
    mp3.Switch(!playing);
    QCOMPARE(mp3.IsPlaying(), !playing);
}

QTEST_GUILESS_MAIN(Mp3PlayerTest)
#include "tst_mp3player.moc"
