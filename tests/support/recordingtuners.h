#ifndef RECORDINGTUNERS_H
#define RECORDINGTUNERS_H

#include "support/recordingtunercontrol.h"

#include <QList>
#include <QPointer>
#include <QStringList>

// While it lives, every new QRadioTuner gets a RecordingTunerControl, also
// where the system has a radio plugin of its own; the stand-in tuner comes
// back when it goes. The requests of all controls go into one log.
struct RecordingTuners
{
    RecordingTuners();
    ~RecordingTuners();
    RecordingTuners(const RecordingTuners&) = delete;
    RecordingTuners& operator=(const RecordingTuners&) = delete;

    // The one control made so far, or null when there is none or several.
    RecordingTunerControl* Only() const;

    QStringList calls;
    QList<QPointer<RecordingTunerControl>> controls;
};

#endif
