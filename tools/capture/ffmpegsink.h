#ifndef FFMPEGSINK_H
#define FFMPEGSINK_H

#include "tools/capture/framesink.h"

#include <QProcess>
#include <QSize>
#include <QString>
#include <QTemporaryFile>

// Frames piped as raw RGB into ffmpeg, which writes an H.264 MP4 (yuv420p)
// or an animated GIF with a palette made from all its frames. An MP4 may get
// a sound track from a WAV file complete by Close(): the frames then go to a
// silent video beside the target, and Close() joins the two with the sound
// encoded as AAC. Everything is written bit-exact, without time stamps or
// encoder versions, so that equal frames and sound give equal files.
class FfmpegSink : public FrameSink
{
public:
    enum class Format { Mp4, Gif };

    FfmpegSink(const QString& path, Format format, const QSize& size, const QString& frameRate,
               const QString& soundtrack = QString());
    ~FfmpegSink() override;

    bool Open(QString* error) override;
    bool Write(const QImage& frame, QString* error) override;
    bool Close(QString* error) override;

    QStringList Arguments() const;
    QStringList JoiningArguments() const;

private:
    QString VideoPath() const;
    bool Finish(const QString& what, QString* error);

    QString path;
    Format format;
    QSize size;
    QString frameRate;
    QString soundtrack;
    QTemporaryFile silentVideo;
    QProcess encoder;
};

#endif
