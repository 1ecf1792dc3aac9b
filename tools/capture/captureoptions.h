#ifndef CAPTUREOPTIONS_H
#define CAPTUREOPTIONS_H

#include <QSize>
#include <QString>
#include <QStringList>

// What to capture and where to, from the command line. Times are
// milliseconds of show time on the 10 ms frame grid; 0 is the press of the
// button, negative times show the waiting screen.
struct CaptureOptions
{
    enum class Output { PngFolder, Mp4, Gif, Wav };
    enum class Verdict { Run, Help, Error };

    static const int frameMs = 10;
    static const int serviceMs = 100;
    static const int showEndMs = 150000;
    static const int largestSide = 7680;
    static const int longestWaitMs = 600000;

    QSize size = QSize(1280, 720);
    qint64 fromMs = 0;
    qint64 toMs = showEndMs;
    qint64 pressAtMs = 1000;  // after the program's start, which shows the waiting screen
    int every = 4;
    QString out;
    Output output = Output::PngFolder;
    QString sensorsCsv;
    bool sound = true;  // an MP4's radio track; a WAV is nothing else

    // arguments include the program's name first. On Help, message is the
    // help text; on Error, a one-line reason.
    static Verdict Parse(const QStringList& arguments, CaptureOptions* options, QString* message);

    // Frames per second of the written video.
    QString FrameRate() const;

    bool WritesFrames() const { return output != Output::Wav; }
    bool WritesSound() const { return output == Output::Wav || (output == Output::Mp4 && sound); }
};

#endif
