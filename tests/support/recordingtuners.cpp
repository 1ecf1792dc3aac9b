#include "support/recordingtuners.h"

#include "platform/tuner/standin/standintuner.h"

RecordingTuners::RecordingTuners()
{
    qputenv("QT_MULTIMEDIA_PREFERRED_PLUGINS", "standintuner");
    InstallStandInTuner();
    SetStandInControlFactory([this](QObject* parent) {
        auto* control = new RecordingTunerControl(calls, parent);
        controls << control;
        return control;
    });
}

RecordingTuners::~RecordingTuners()
{
    SetStandInControlFactory({});
}

RecordingTunerControl* RecordingTuners::Only() const
{
    return controls.size() == 1 ? controls.first().data() : nullptr;
}
