#include "tools/capture/captureoptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace {

const char description[] =
    "Plays the radioshow on a virtual clock and writes the frames it draws.\n"
    "Frames come every 10 ms of show time, service ticks every 100 ms; at an\n"
    "instant shared by both the tick runs first, so the frame shows what the\n"
    "tick did. Show time 0 is the press of the \"Radio\" button: negative\n"
    "times show the waiting screen, down to minus --press-at. The show ends at\n"
    "150 s. The sensors report a gentle tilt unless --sensors gives readings;\n"
    "the FM tuner is the stand-in with its repeatable strengths and broadcast.\n"
    "--out: a name ending in .mp4 (H.264 and the radio in 48 kHz stereo AAC)\n"
    "or .gif is encoded by ffmpeg; a name ending in .wav receives the radio\n"
    "alone (48 kHz stereo, 16 bit); any other name is a folder that receives\n"
    "frame-000000.png, frame-000001.png... GIFs and PNG files are silent.\n"
    "Two runs with the same options write identical files.";

// Seconds on the command line to milliseconds on the frame grid.
bool ParseTime(const QString& text, qint64 limitMs, qint64* ms)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || std::fabs(seconds) * 1000.0 > double(limitMs))
        return false;
    *ms = std::llround(seconds * 1000.0 / CaptureOptions::frameMs) * CaptureOptions::frameMs;
    return true;
}

QString Seconds(qint64 ms)
{
    return QString::number(double(ms) / 1000.0);
}

}

CaptureOptions::Verdict CaptureOptions::Parse(const QStringList& arguments, CaptureOptions* options,
                                              QString* message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(description));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Shows this help."));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Frame size, WIDTHxHEIGHT (default 1280x720)."),
                                        QStringLiteral("WxH"), QStringLiteral("1280x720"));
    const QCommandLineOption fromOption(QStringLiteral("from"),
                                        QStringLiteral("First show second to write (default 0, the press)."),
                                        QStringLiteral("seconds"), QStringLiteral("0"));
    const QCommandLineOption toOption(QStringLiteral("to"),
                                      QStringLiteral("Show second to stop before (default and at most 150)."),
                                      QStringLiteral("seconds"), QStringLiteral("150"));
    const QCommandLineOption pressOption(QStringLiteral("press-at"),
                                         QStringLiteral("Seconds of waiting screen before the press (default 1, at most 600)."),
                                         QStringLiteral("seconds"), QStringLiteral("1"));
    const QCommandLineOption everyOption(QStringLiteral("every"),
                                         QStringLiteral("Write every Nth frame: the video runs at 100/N frames per second (default 4)."),
                                         QStringLiteral("N"), QStringLiteral("4"));
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("Where to write: NAME.mp4, NAME.gif or a folder for PNG files."),
                                       QStringLiteral("path"));
    const QCommandLineOption noSoundOption(QStringLiteral("no-sound"),
                                           QStringLiteral("An MP4 without the radio's sound track."));
    const QCommandLineOption sensorsOption(QStringLiteral("sensors"),
                                           QStringLiteral("CSV file of sensor readings: seconds,ax,ay,az,rx,ry,rz per line."),
                                           QStringLiteral("file"));
    parser.addOptions({helpOption, sizeOption, fromOption, toOption, pressOption, everyOption,
                       outOption, noSoundOption, sensorsOption});

    const auto error = [message](const QString& text) {
        *message = text;
        return Verdict::Error;
    };
    if (!parser.parse(arguments))
        return error(parser.errorText());
    if (parser.isSet(helpOption)) {
        *message = parser.helpText();
        return Verdict::Help;
    }
    if (!parser.positionalArguments().isEmpty())
        return error(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));

    CaptureOptions parsed;
    const QRegularExpressionMatch size
        = QRegularExpression(QStringLiteral("^(\\d{1,9})x(\\d{1,9})$")).match(parser.value(sizeOption));
    if (!size.hasMatch())
        return error(QStringLiteral("--size \"%1\" is not WIDTHxHEIGHT with sides from 1 to %2, e.g. 1280x720")
                         .arg(parser.value(sizeOption))
                         .arg(largestSide));
    parsed.size = QSize(size.captured(1).toInt(), size.captured(2).toInt());
    if (parsed.size.width() < 1 || parsed.size.height() < 1 || parsed.size.width() > largestSide
        || parsed.size.height() > largestSide)
        return error(QStringLiteral("--size %1x%2: each side must be 1 to %3")
                         .arg(parsed.size.width())
                         .arg(parsed.size.height())
                         .arg(largestSide));

    if (!ParseTime(parser.value(pressOption), longestWaitMs, &parsed.pressAtMs) || parsed.pressAtMs < 0)
        return error(QStringLiteral("--press-at \"%1\" is not a number of seconds from 0 to %2")
                         .arg(parser.value(pressOption), Seconds(longestWaitMs)));
    if (!ParseTime(parser.value(fromOption), longestWaitMs, &parsed.fromMs))
        return error(QStringLiteral("--from \"%1\" is not a number of seconds from -%2 to %3")
                         .arg(parser.value(fromOption), Seconds(longestWaitMs), Seconds(showEndMs)));
    if (!ParseTime(parser.value(toOption), longestWaitMs, &parsed.toMs))
        return error(QStringLiteral("--to \"%1\" is not a number of seconds from -%2 to %3")
                         .arg(parser.value(toOption), Seconds(longestWaitMs), Seconds(showEndMs)));
    if (parsed.fromMs < -parsed.pressAtMs)
        return error(QStringLiteral("--from %1 lies before the program starts: the button is pressed %2 s after it (--press-at)")
                         .arg(Seconds(parsed.fromMs), Seconds(parsed.pressAtMs)));
    if (parsed.toMs > showEndMs)
        return error(QStringLiteral("--to %1 lies after the end of the show at %2 s").arg(Seconds(parsed.toMs), Seconds(showEndMs)));
    if (parsed.fromMs >= parsed.toMs)
        return error(QStringLiteral("--from %1 is not before --to %2").arg(Seconds(parsed.fromMs), Seconds(parsed.toMs)));

    bool everyOk = false;
    parsed.every = parser.value(everyOption).toInt(&everyOk);
    if (!everyOk || parsed.every < 1 || parsed.every > longestWaitMs / frameMs)
        return error(QStringLiteral("--every \"%1\" is not a whole number of frames from 1 to %2")
                         .arg(parser.value(everyOption))
                         .arg(longestWaitMs / frameMs));

    if (!parser.isSet(outOption) || parser.value(outOption).isEmpty())
        return error(QStringLiteral("--out is required: NAME.mp4, NAME.gif, NAME.wav or a folder"));
    parsed.out = parser.value(outOption);
    const QString suffix = QFileInfo(parsed.out).suffix().toLower();
    if (suffix == QLatin1String("mp4"))
        parsed.output = Output::Mp4;
    else if (suffix == QLatin1String("gif"))
        parsed.output = Output::Gif;
    else if (suffix == QLatin1String("wav"))
        parsed.output = Output::Wav;
    parsed.sound = !parser.isSet(noSoundOption);
    if (parsed.output == Output::Wav && !parsed.sound)
        return error(QStringLiteral("--no-sound leaves nothing to write into %1").arg(parsed.out));
    if (parsed.output == Output::Mp4 && (parsed.size.width() % 2 || parsed.size.height() % 2))
        return error(QStringLiteral("--size %1x%2: an MP4 needs even sides (its colours are stored per 2x2 block)")
                         .arg(parsed.size.width())
                         .arg(parsed.size.height()));
    parsed.sensorsCsv = parser.value(sensorsOption);

    *options = parsed;
    return Verdict::Run;
}

QString CaptureOptions::FrameRate() const
{
    return QStringLiteral("%1/%2").arg(1000 / frameMs).arg(every);
}
