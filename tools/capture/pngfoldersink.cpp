#include "tools/capture/pngfoldersink.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace {

// Qt maps PNG quality q to zlib level (100 - q) * 9 / 91: 90 is level 1.
const int pngQuality = 90;

}

PngFolderSink::PngFolderSink(const QString& folder) : folder(folder) {}

bool PngFolderSink::Open(QString* error)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("--out %1 is a file, not a folder (name videos NAME.mp4 or NAME.gif)").arg(folder);
        return false;
    }
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    if (!QFileInfo(folder).isWritable()) {
        *error = QStringLiteral("cannot write into the folder %1").arg(folder);
        return false;
    }
    return true;
}

bool PngFolderSink::Write(const QImage& frame, QString* error)
{
    const QString path = QDir(folder).filePath(FileName(written));
    QImageWriter writer(path, "png");
    // The show's noise hardly compresses: zlib's fastest level writes files
    // a third larger than its default, several times faster.
    writer.setQuality(pngQuality);
    if (!writer.write(frame)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, writer.errorString());
        return false;
    }
    ++written;
    return true;
}

bool PngFolderSink::Close(QString*)
{
    return true;
}

QString PngFolderSink::FileName(int index)
{
    return QStringLiteral("frame-%1.png").arg(index, 6, 10, QLatin1Char('0'));
}
