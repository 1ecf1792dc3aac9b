#ifndef CAPTURESESSION_H
#define CAPTURESESSION_H

#include "tools/capture/captureoptions.h"
#include "tools/capture/sensorscript.h"
#include "tools/capture/virtualclock.h"

#include <QImage>
#include <QObject>
#include <QPointer>

#include <memory>

class DemoWidget;
class FrameSink;
class SoundSink;
class StandInTunerControl;

// Plays the show on a virtual clock and hands the frames and the radio's
// sound in the chosen range to their sinks. Every 10 ms of virtual time is
// one instant; at each, in order: the sensors take the script's reading,
// the button is pressed (at its instant), the service tick runs (every
// 100 ms from the program's start), the tuner reports (every 250 ms from
// the press, as its own timer would), a frame is drawn (from 10 ms on), and
// the tuner renders the 480 sound frames up to the next instant (silence
// while there is no tuner). The toolkit's own repaints are held back, so
// these are the only frames; without a frame sink none is drawn.
//
// Needs the application object, an X display with GL, and runs once.
class CaptureSession : public QObject
{
    Q_OBJECT
public:
    // Either sink may be null; frames need the widget's GL all the same.
    CaptureSession(const CaptureOptions& options, const SensorScript& script, FrameSink* frames,
                   SoundSink* sound);
    ~CaptureSession() override;

    // Call before the application object exists: the stand-in tuner must be
    // the radio even where the system has a radio plugin of its own.
    static void PrepareEnvironment();

    bool Run(QString* error);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ShowWidget(QString* error);
    void SetSensors(qint64 showMs);
    QImage ReadFrame();
    void ShowProgress(int written, int total);
    bool WriteSound(QString* error);

    CaptureOptions options;
    SensorScript script;
    FrameSink* frames;
    SoundSink* sound;
    VirtualClock clock;
    std::unique_ptr<DemoWidget> widget;
    QPointer<StandInTunerControl> tunerControl;
    bool quitEmitted = false;
    int shownPercent = -1;
};

#endif
