#ifndef PNGFOLDERSINK_H
#define PNGFOLDERSINK_H

#include "tools/capture/framesink.h"

#include <QString>

// Numbered PNG files, frame-000000.png on, in a folder made if missing.
// Files of an earlier capture with the same numbers are replaced.
class PngFolderSink : public FrameSink
{
public:
    explicit PngFolderSink(const QString& folder);

    bool Open(QString* error) override;
    bool Write(const QImage& frame, QString* error) override;
    bool Close(QString* error) override;

    static QString FileName(int index);

private:
    QString folder;
    int written = 0;
};

#endif
