#ifndef FRAMESINK_H
#define FRAMESINK_H

#include <QString>

class QImage;

// Where captured frames go: PNG files in a folder, or a video encoder. Each
// operation returns false with a one-line reason in error when it fails.
class FrameSink
{
public:
    virtual ~FrameSink() = default;
    // Checks that the frames can be written, before any is drawn.
    virtual bool Open(QString* error) = 0;
    // frame: RGB888, top row first, of the size the sink was made for.
    virtual bool Write(const QImage& frame, QString* error) = 0;
    virtual bool Close(QString* error) = 0;
};

#endif
