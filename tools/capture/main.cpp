// radioshow-capture: plays the show on a virtual clock and writes its frames
// as PNG files or, through ffmpeg, as an MP4 (with the radio) or GIF, or the
// radio alone as a WAV file. See --help.

#include "tools/capture/capturesession.h"
#include "tools/capture/captureoptions.h"
#include "tools/capture/ffmpegsink.h"
#include "tools/capture/pngfoldersink.h"
#include "tools/capture/sensorscript.h"
#include "tools/capture/wavfilesink.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>
#include <iostream>
#include <memory>
#include <unistd.h>
#include <vector>

int qInitResources_texture();

namespace {

const char relaunchedMark[] = "RADIOSHOW_CAPTURE_ON_XVFB";

int Fail(const QString& message)
{
    std::fprintf(stderr, "radioshow-capture: %s\n", qPrintable(message));
    return 2;
}

// GL needs an X display: without one, run again on a private virtual X
// server of the frame size. Returns only when that cannot be done.
int RelaunchOnVirtualServer(int argc, char** argv, const QSize& size)
{
    if (qEnvironmentVariableIsSet(relaunchedMark))
        return Fail(QStringLiteral("xvfb-run started no X display"));
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty())
        return Fail(QStringLiteral("no X display (DISPLAY is unset) and no xvfb-run to make one (Debian: apt-get install xvfb xauth)"));
    qputenv(relaunchedMark, "1");
    const QByteArray server = QStringLiteral("-screen 0 %1x%2x24 -nolisten tcp")
                                  .arg(size.width())
                                  .arg(size.height())
                                  .toLocal8Bit();
    const QByteArray program = xvfbRun.toLocal8Bit();
    std::vector<char*> arguments = {const_cast<char*>(program.constData()), const_cast<char*>("-a"),
                                    const_cast<char*>("-s"), const_cast<char*>(server.constData()),
                                    const_cast<char*>("/proc/self/exe")};
    // /proc/self/exe names this program even when it was found through PATH;
    // xvfb-run resolves it before it starts anything else.
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (length > 0) {
        self[length] = '\0';
        arguments.back() = self;
    }
    for (int argument = 1; argument < argc; ++argument)
        arguments.push_back(argv[argument]);
    arguments.push_back(nullptr);
    std::fflush(stdout);
    execv(arguments.front(), arguments.data());
    return Fail(QStringLiteral("cannot run xvfb-run"));
}

}

int main(int argc, char** argv)
{
    CaptureOptions options;
    QString message;
    CaptureOptions::Verdict verdict;
    {
        // The parser's help names the program through the application object.
        QCoreApplication parsing(argc, argv);
        verdict = CaptureOptions::Parse(parsing.arguments(), &options, &message);
    }
    if (verdict == CaptureOptions::Verdict::Help) {
        std::cout << qPrintable(message);
        return 0;
    }
    if (verdict == CaptureOptions::Verdict::Error)
        return Fail(message);

    SensorScript script = SensorScript::GentleTilt();
    if (!options.sensorsCsv.isEmpty()) {
        QFile csv(options.sensorsCsv);
        if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
            return Fail(QStringLiteral("cannot read %1: %2").arg(options.sensorsCsv, csv.errorString()));
        QString why;
        script = SensorScript::FromCsv(csv, &why);
        if (script.IsEmpty())
            return Fail(QStringLiteral("%1: %2").arg(options.sensorsCsv, why));
    }

    // Said before a virtual X server is started for nothing.
    if ((options.output == CaptureOptions::Output::Mp4 || options.output == CaptureOptions::Output::Gif)
        && QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        return Fail(QStringLiteral("ffmpeg is not installed (Debian: apt-get install ffmpeg); "
                                   "a folder name for --out writes PNG files without it"));

    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return RelaunchOnVirtualServer(argc, argv, options.size);

    qInitResources_texture();
    CaptureSession::PrepareEnvironment();
    QApplication application(argc, argv);

    std::unique_ptr<FrameSink> frames;
    std::unique_ptr<SoundSink> sound;
    // An MP4's sound is gathered in a WAV file beside it, joined to the
    // video at the end and then removed.
    QTemporaryFile soundtrack(
        QDir(QFileInfo(options.out).absolutePath()).filePath(QStringLiteral(".radioshow-capture-XXXXXX.wav")));
    switch (options.output) {
    case CaptureOptions::Output::PngFolder:
        frames.reset(new PngFolderSink(options.out));
        break;
    case CaptureOptions::Output::Gif:
        frames.reset(new FfmpegSink(options.out, FfmpegSink::Format::Gif, options.size, options.FrameRate()));
        break;
    case CaptureOptions::Output::Mp4:
        if (options.WritesSound()) {
            if (!soundtrack.open())
                return Fail(QStringLiteral("cannot write the sound beside %1: %2").arg(options.out, soundtrack.errorString()));
            sound.reset(new WavFileSink(soundtrack.fileName()));
        }
        frames.reset(new FfmpegSink(options.out, FfmpegSink::Format::Mp4, options.size, options.FrameRate(),
                                    options.WritesSound() ? soundtrack.fileName() : QString()));
        break;
    case CaptureOptions::Output::Wav:
        sound.reset(new WavFileSink(options.out));
        break;
    }
    CaptureSession session(options, script, frames.get(), sound.get());
    QString error;
    if (!session.Run(&error)) {
        std::cout.flush();
        return Fail(error);
    }
    return 0;
}
