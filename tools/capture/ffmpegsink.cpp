#include "tools/capture/ffmpegsink.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>

namespace {

const int startTimeoutMs = 30000;

}

FfmpegSink::FfmpegSink(const QString& path, Format format, const QSize& size, const QString& frameRate,
                       const QString& soundtrack)
    : path(path), format(format), size(size), frameRate(frameRate), soundtrack(soundtrack)
{
}

QString FfmpegSink::VideoPath() const
{
    return QDir::toNativeSeparators(
        soundtrack.isEmpty() ? QFileInfo(path).absoluteFilePath() : QFileInfo(silentVideo.fileName()).absoluteFilePath());
}

FfmpegSink::~FfmpegSink()
{
    if (encoder.state() != QProcess::NotRunning) {
        encoder.kill();
        encoder.waitForFinished();
    }
}

QStringList FfmpegSink::Arguments() const
{
    QStringList arguments = {
        QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
        QStringLiteral("-y"),
        QStringLiteral("-f"), QStringLiteral("rawvideo"),
        QStringLiteral("-pix_fmt"), QStringLiteral("rgb24"),
        QStringLiteral("-video_size"), QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
        QStringLiteral("-framerate"), frameRate,
        QStringLiteral("-i"), QStringLiteral("pipe:0"),
        QStringLiteral("-an"),
    };
    if (format == Format::Mp4) {
        // A fixed thread count: x264's output depends on it.
        arguments << QStringLiteral("-c:v") << QStringLiteral("libx264")
                  << QStringLiteral("-preset") << QStringLiteral("veryfast")
                  << QStringLiteral("-crf") << QStringLiteral("18")
                  << QStringLiteral("-threads") << QStringLiteral("2")
                  << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p")
                  << QStringLiteral("-movflags") << QStringLiteral("+faststart");
    } else {
        arguments << QStringLiteral("-filter_complex")
                  << QStringLiteral("[0:v]split[frames][sample];[sample]palettegen=stats_mode=full[palette];"
                                    "[frames][palette]paletteuse")
                  << QStringLiteral("-loop") << QStringLiteral("0");
    }
    arguments << QStringLiteral("-fflags") << QStringLiteral("+bitexact")
              << QStringLiteral("-flags:v") << QStringLiteral("+bitexact")
              << QStringLiteral("-map_metadata") << QStringLiteral("-1")
              << VideoPath();
    return arguments;
}

QStringList FfmpegSink::JoiningArguments() const
{
    return {
        QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
        QStringLiteral("-y"),
        QStringLiteral("-i"), VideoPath(),
        QStringLiteral("-i"), QDir::toNativeSeparators(QFileInfo(soundtrack).absoluteFilePath()),
        QStringLiteral("-map"), QStringLiteral("0:v"), QStringLiteral("-map"), QStringLiteral("1:a"),
        QStringLiteral("-c:v"), QStringLiteral("copy"),
        QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-b:a"), QStringLiteral("192k"),
        QStringLiteral("-movflags"), QStringLiteral("+faststart"),
        QStringLiteral("-fflags"), QStringLiteral("+bitexact"),
        QStringLiteral("-flags:a"), QStringLiteral("+bitexact"),
        QStringLiteral("-map_metadata"), QStringLiteral("-1"),
        QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
    };
}

bool FfmpegSink::Open(QString* error)
{
    const QFileInfo target(path);
    if (target.isDir()) {
        *error = QStringLiteral("--out %1 is a folder, not a video file").arg(path);
        return false;
    }
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir() || !folder.isWritable() || (target.exists() && !target.isWritable())) {
        *error = QStringLiteral("cannot write %1: its folder is missing or not writable").arg(path);
        return false;
    }
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        *error = QStringLiteral("ffmpeg is not installed (Debian: apt-get install ffmpeg); "
                                "a folder name for --out writes PNG files without it");
        return false;
    }
    if (!soundtrack.isEmpty()) {
        silentVideo.setFileTemplate(
            QDir(folder.absoluteFilePath()).filePath(QStringLiteral(".radioshow-capture-XXXXXX.mp4")));
        if (!silentVideo.open()) {
            *error = QStringLiteral("cannot write a video beside %1: %2").arg(path, silentVideo.errorString());
            return false;
        }
    }
    encoder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    encoder.setStandardOutputFile(QProcess::nullDevice());
    encoder.start(ffmpeg, Arguments());
    if (!encoder.waitForStarted(startTimeoutMs)) {
        *error = QStringLiteral("cannot start ffmpeg: %1").arg(encoder.errorString());
        return false;
    }
    return true;
}

bool FfmpegSink::Write(const QImage& frame, QString* error)
{
    const int rowBytes = size.width() * 3;
    for (int row = 0; row < frame.height(); ++row) {
        const char* line = reinterpret_cast<const char*>(frame.constScanLine(row));
        if (encoder.write(line, rowBytes) != rowBytes) {
            *error = QStringLiteral("ffmpeg stopped taking frames");
            return false;
        }
    }
    // Bounded memory: the frame is handed over before the next is drawn.
    while (encoder.bytesToWrite() > 0) {
        if (!encoder.waitForBytesWritten(-1)) {
            *error = QStringLiteral("ffmpeg stopped taking frames (exit status %1)").arg(encoder.exitCode());
            return false;
        }
    }
    return true;
}

bool FfmpegSink::Finish(const QString& what, QString* error)
{
    if (!encoder.waitForFinished(-1) || encoder.exitStatus() != QProcess::NormalExit
        || encoder.exitCode() != 0) {
        *error = QStringLiteral("ffmpeg failed to write %1 (exit status %2)").arg(what).arg(encoder.exitCode());
        return false;
    }
    return true;
}

bool FfmpegSink::Close(QString* error)
{
    encoder.closeWriteChannel();
    if (!Finish(soundtrack.isEmpty() ? path : QStringLiteral("the video of %1").arg(path), error))
        return false;
    if (soundtrack.isEmpty())
        return true;
    encoder.setStandardInputFile(QProcess::nullDevice());
    encoder.start(QStandardPaths::findExecutable(QStringLiteral("ffmpeg")), JoiningArguments());
    if (!encoder.waitForStarted(startTimeoutMs)) {
        *error = QStringLiteral("cannot start ffmpeg: %1").arg(encoder.errorString());
        return false;
    }
    return Finish(path, error);
}
