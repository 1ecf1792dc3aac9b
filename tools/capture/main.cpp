// radioshow-capture: plays the show on a virtual clock and writes its frames
// as PNG files or, through ffmpeg, as an MP4 or GIF. See --help.

#include "tools/capture/capturesession.h"
#include "tools/capture/captureoptions.h"
#include "tools/capture/ffmpegsink.h"
#include "tools/capture/pngfoldersink.h"
#include "tools/capture/sensorscript.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>

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
    if (options.output != CaptureOptions::Output::PngFolder
        && QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        return Fail(QStringLiteral("ffmpeg is not installed (Debian: apt-get install ffmpeg); "
                                   "a folder name for --out writes PNG files without it"));

    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return RelaunchOnVirtualServer(argc, argv, options.size);

    qInitResources_texture();
    CaptureSession::PrepareEnvironment();
    QApplication application(argc, argv);

    std::unique_ptr<FrameSink> sink;
    if (options.output == CaptureOptions::Output::PngFolder)
        sink.reset(new PngFolderSink(options.out));
    else
        sink.reset(new FfmpegSink(options.out,
                                  options.output == CaptureOptions::Output::Mp4 ? FfmpegSink::Format::Mp4
                                                                                 : FfmpegSink::Format::Gif,
                                  options.size, options.FrameRate()));
    CaptureSession session(options, script, *sink);
    QString error;
    if (!session.Run(&error)) {
        std::cout.flush();
        return Fail(error);
    }
    return 0;
}
