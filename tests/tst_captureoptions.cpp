#include "tools/capture/captureoptions.h"

#include <QtTest>

class CaptureOptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void readsTheOptions_data();
    void readsTheOptions();
    void refusesBadValuesWithOneLine_data();
    void refusesBadValuesWithOneLine();
    void helpSaysWhereTimeStarts();
};

namespace {

CaptureOptions::Verdict Parse(const QStringList& arguments, CaptureOptions* options, QString* message)
{
    return CaptureOptions::Parse(QStringList{QStringLiteral("radioshow-capture")} + arguments, options, message);
}

}

void CaptureOptionsTest::readsTheOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qint64>("fromMs");
    QTest::addColumn<qint64>("toMs");
    QTest::addColumn<qint64>("pressAtMs");
    QTest::addColumn<int>("every");
    QTest::addColumn<int>("output");
    QTest::addColumn<QString>("frameRate");
    QTest::addColumn<bool>("writesFrames");
    QTest::addColumn<bool>("writesSound");

    const int png = int(CaptureOptions::Output::PngFolder);
    const int mp4 = int(CaptureOptions::Output::Mp4);
    const int gif = int(CaptureOptions::Output::Gif);
    const int wav = int(CaptureOptions::Output::Wav);
    QTest::newRow("defaults: the whole show, 25 frames per second")
        << QStringList{"--out", "show.mp4"} << QSize(1280, 720) << qint64(0) << qint64(150000)
        << qint64(1000) << 4 << mp4 << "100/4" << true << true;
    QTest::newRow("waiting screen before the press")
        << QStringList{"--out", "f", "--press-at", "3", "--from", "-3", "--to", "2.5", "--size", "161x91", "--every", "1"}
        << QSize(161, 91) << qint64(-3000) << qint64(2500) << qint64(3000) << 1 << png << "100/1" << true << false;
    QTest::newRow("times snap to the 10 ms frame grid")
        << QStringList{"--out", "a.GIF", "--from", "0.014", "--to", "0.016"} << QSize(1280, 720)
        << qint64(10) << qint64(20) << qint64(1000) << 4 << gif << "100/4" << true << false;
    QTest::newRow("an MP4 without its sound track")
        << QStringList{"--out", "show.mp4", "--no-sound"} << QSize(1280, 720) << qint64(0) << qint64(150000)
        << qint64(1000) << 4 << mp4 << "100/4" << true << false;
    QTest::newRow("the radio alone")
        << QStringList{"--out", "radio.WAV", "--to", "12"} << QSize(1280, 720) << qint64(0) << qint64(12000)
        << qint64(1000) << 4 << wav << "100/4" << false << true;
}

void CaptureOptionsTest::readsTheOptions()
{
    QFETCH(QStringList, arguments);
    CaptureOptions options;
    QString message;
    QCOMPARE(Parse(arguments, &options, &message), CaptureOptions::Verdict::Run);
    QTEST(options.size, "size");
    QTEST(options.fromMs, "fromMs");
    QTEST(options.toMs, "toMs");
    QTEST(options.pressAtMs, "pressAtMs");
    QTEST(options.every, "every");
    QTEST(int(options.output), "output");
    QTEST(options.FrameRate(), "frameRate");
    QTEST(options.WritesFrames(), "writesFrames");
    QTEST(options.WritesSound(), "writesSound");
}

void CaptureOptionsTest::refusesBadValuesWithOneLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("no output") << QStringList{} << "--out";
    QTest::newRow("size not WxH") << QStringList{"--out", "f", "--size", "1280*720"} << "sides from 1 to 7680";
    QTest::newRow("size zero") << QStringList{"--out", "f", "--size", "0x720"} << "--size";
    QTest::newRow("size huge") << QStringList{"--out", "f", "--size", "100000x720"} << "--size";
    QTest::newRow("size overflowing") << QStringList{"--out", "f", "--size", "99999999999x1"} << "--size";
    QTest::newRow("odd size for mp4") << QStringList{"--out", "v.mp4", "--size", "161x90"} << "even";
    QTest::newRow("from after to") << QStringList{"--out", "f", "--from", "20", "--to", "10"} << "--from";
    QTest::newRow("empty range") << QStringList{"--out", "f", "--from", "10", "--to", "10"} << "--from";
    QTest::newRow("from before the program") << QStringList{"--out", "f", "--from", "-2"} << "--press-at";
    QTest::newRow("to after the show") << QStringList{"--out", "f", "--to", "151"} << "--to";
    QTest::newRow("time not a number") << QStringList{"--out", "f", "--from", "soon"} << "--from \"soon\" is not a number of seconds from -600 to 150";
    QTest::newRow("time not finite") << QStringList{"--out", "f", "--to", "inf"} << "--to \"inf\" is not a number of seconds from -600 to 150";
    QTest::newRow("negative press") << QStringList{"--out", "f", "--press-at", "-1"} << "seconds from 0 to 600";
    QTest::newRow("every zero") << QStringList{"--out", "f", "--every", "0"} << "frames from 1 to 60000";
    QTest::newRow("every fractional") << QStringList{"--out", "f", "--every", "1.5"} << "frames from 1 to 60000";
    QTest::newRow("every past the longest wait") << QStringList{"--out", "f", "--every", "100000"} << "frames from 1 to 60000";
    QTest::newRow("unknown option") << QStringList{"--out", "f", "--fast"} << "fast";
    QTest::newRow("a WAV without sound") << QStringList{"--out", "radio.wav", "--no-sound"} << "--no-sound";
    QTest::newRow("stray argument") << QStringList{"--out", "f", "extra"} << "extra";
}

void CaptureOptionsTest::refusesBadValuesWithOneLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    CaptureOptions options;
    QString message;
    QCOMPARE(Parse(arguments, &options, &message), CaptureOptions::Verdict::Error);
    QVERIFY2(message.contains(mentions), qPrintable(message));
    QVERIFY(!message.contains(QLatin1Char('\n')));
}

void CaptureOptionsTest::helpSaysWhereTimeStarts()
{
    CaptureOptions options;
    QString message;
    QCOMPARE(Parse({"--help"}, &options, &message), CaptureOptions::Verdict::Help);
    for (const char* option : {"--size", "--from", "--to", "--press-at", "--every", "--out", "--no-sound", "--sensors", ".wav"})
        QVERIFY2(message.contains(QLatin1String(option)), option);
    QVERIFY(message.contains(QLatin1String("Show time 0 is the press")));
}

QTEST_GUILESS_MAIN(CaptureOptionsTest)
#include "tst_captureoptions.moc"
