#ifndef FFMPEGSINK_H
#define FFMPEGSINK_H

#include "tools/capture/framesink.h"

#include <QProcess>
#include <QSize>
#include <QString>

// Frames piped as raw RGB into ffmpeg, which writes an H.264 MP4 (yuv420p)
// or an animated GIF with a palette made from all its frames. Both are
// written bit-exact, without time stamps or encoder versions, so that equal
// frames give equal files.
class FfmpegSink : public FrameSink
{
public:
    enum class Format { Mp4, Gif };

    FfmpegSink(const QString& path, Format format, const QSize& size, const QString& frameRate);
    ~FfmpegSink() override;

    bool Open(QString* error) override;
    bool Write(const QImage& frame, QString* error) override;
    bool Close(QString* error) override;

    QStringList Arguments() const;

private:
    QString path;
    Format format;
    QSize size;
    QString frameRate;
    QProcess encoder;
};

#endif
