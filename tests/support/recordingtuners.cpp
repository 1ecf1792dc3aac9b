#include "support/recordingtuners.h"

#include "platform/tuner/standin/standintuner.h"
#include "platform/tuner/standin/standintunerservice.h"

RecordingTuners::RecordingTuners()
{
    qputenv("QT_MULTIMEDIA_PREFERRED_PLUGINS", "standintuner");
    InstallStandInTuner();
    StandInTunerService::SetControlFactory([this](QObject* parent) {
        auto* control = new RecordingTunerControl(calls, parent);
        controls << control;
        return control;
    });
}

RecordingTuners::~RecordingTuners()
{
    StandInTunerService::SetControlFactory({});
}

RecordingTunerControl* RecordingTuners::Only() const
{
    return controls.size() == 1 ? controls.first().data() : nullptr;
}
